// The desktop's program for a file, started with an answer whether one took the file.
#pragma once

#include <QString>

namespace qtbackend {

// Opens `path` with the program the desktop has for its type. False when nothing took it: no
// launcher, or the desktop's launcher (xdg-open) ended with a failure within `waitMs` (no program
// for the type, a file it cannot read). A launcher still running after `waitMs` has handed the
// file over, or runs the program itself until it ends: that counts as opened, and the launcher is
// left to run.
bool OpenWithDesktop(const QString& path, int waitMs);

}  // namespace qtbackend
