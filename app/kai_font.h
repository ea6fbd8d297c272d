// The one font of the program's windows: "楷体" (a Kai face), 21-pixel characters, normal
// weight. Linux has no font of that name; it is mapped to the AR PL UKai CN face, and where
// that is missing too Qt falls back to its default CJK font.
#pragma once

#include <QFont>

namespace app {

QFont KaiFont();

}  // namespace app
