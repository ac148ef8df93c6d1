// Opening a file for reading without ever waiting: a named pipe or a device is refused at once.
#pragma once

#include <cstdio>
#include <string>

// Opens path for reading when it names a regular file. Otherwise nullptr, `reason` telling why:
// the system's reason, "Is a directory" for a folder, "ce n'est pas un fichier ordinaire" for
// anything else (a named pipe, a device).
std::FILE* OpenRegularFile(const std::string& path, std::string& reason);
