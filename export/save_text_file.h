// Saving a program as a file: where the user's desktop is, and writing a file whole.
#pragma once

#include <cstddef>
#include <vector>

#include "gcode/numeric_text.h"

namespace textfile {

// The user's desktop folder followed by "/", looked up without creating it (on Linux the XDG
// desktop directory of user-dirs.dirs). The empty Text when the platform names none, which
// makes a bare file name land in the current directory.
gcode::Text DesktopFolderPath();

// Replaces the file at `path` (GB18030, as every Text) with exactly `bytes`. The bytes go to a
// temporary file in the same folder, which takes the name only once every byte is written and
// flushed: a reader sees the old file or the new one, and a failure leaves an existing file as
// it was and no partial file behind. A read-only file is not replaced. False when the path is
// empty or anything fails.
bool WriteWholeFile(const gcode::Text& path, const std::vector<std::byte>& bytes);

}  // namespace textfile
