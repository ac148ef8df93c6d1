// Writing a file so that a failed write never destroys the file it was meant to replace.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

// Writes `path` through a temporary file in the same folder. `write` gets the open stream and
// answers true when every write it made succeeded. The temporary is flushed, synced and closed and
// then renamed over `path` only when all of that succeeded; otherwise it is removed and `path` is
// left exactly as it was. A replaced file keeps its permission bits (and, where allowed, its
// owner); a new file gets the usual 0666 less the umask. A symbolic link is followed, so its target
// is replaced. When no temporary can be made in the folder (a folder the user may not write), or
// the path names something other than a regular file (a device, a pipe), the stream writes `path`
// in place and a failure may leave it incomplete. After the rename the folder is synced too, so the
// new name survives a power cut. Answers 0 when the file was written, 1 when it was not, with errno
// then telling the first failure's reason.
int WriteFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write);
