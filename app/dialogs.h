// The two modal dialogs through which handlers talk to the user.
#pragma once

#include "gcode/numeric_text.h"

namespace app {

// A message box captioned "信息：" with the text and one OK button, modal for the whole
// application. OK, Enter, Esc and the close box all just end it.
void ShowMessage(const gcode::Text& message);

// Asks for one line of text. The box starts with `initial`, all selected. Accepting writes the
// text exactly as typed (possibly empty) to `target` and returns true; cancelling leaves
// `target` alone and returns false. An empty title gives the caption "请输入：".
bool AskText(const gcode::Text& title, const gcode::Text& initial, gcode::Text& target);

}  // namespace app
