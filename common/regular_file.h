// Opening a file for reading without waiting on it, and only when it is a regular file.
#pragma once

#include <string>

// Opens `path` read-only, close-on-exec and never as a controlling terminal, without waiting (a
// named pipe would wait for a writer for good), and keeps it only when it names a regular file.
// Answers the descriptor, or -1 with `reason`: the system's text ("No such file or directory",
// "Is a directory" for a folder), or "ce n'est pas un fichier ordinaire" for a pipe, a device or
// a socket.
int OpenRegularFile(const std::string& path, std::string& reason);
