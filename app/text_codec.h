// Conversions at the boundary between the program's Text (GB18030 bytes) and Qt's strings.
#pragma once

#include <QString>
#include <QStringView>
#include <string_view>

#include "gcode/numeric_text.h"

namespace app {

// GB18030 agrees byte for byte with code page 936 wherever that has a character, and it can
// hold every other character too, so nothing typed is ever lost.
QString ToQString(std::string_view text);
gcode::Text ToText(QStringView text);

// The multi-line box keeps paragraphs; a program's lines end with CR LF. Both conversions run
// in one pass over the text.
QString ToBoxText(std::string_view text);
gcode::Text FromBoxText(QStringView boxText);

}  // namespace app
