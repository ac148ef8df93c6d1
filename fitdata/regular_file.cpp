// A plain open of a named pipe waits for a writer, so the file type is checked on a descriptor
// opened without blocking, before the file is read.
#include "fitdata/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "fitdata/read_reasons.h"

std::FILE* OpenRegularFile(const std::string& path, std::string& reason) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        reason = SystemReason(errno);
        return nullptr;
    }
    struct stat info;
    if (::fstat(descriptor, &info) != 0) {
        reason = SystemReason(errno);
    } else if (S_ISDIR(info.st_mode)) {
        reason = SystemReason(EISDIR);
    } else if (!S_ISREG(info.st_mode)) {
        reason = "ce n'est pas un fichier ordinaire";
    } else {
        const int flags = ::fcntl(descriptor, F_GETFL);
        std::FILE* file = nullptr;
        if (flags == -1 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) == -1 ||
            (file = ::fdopen(descriptor, "rb")) == nullptr) {
            reason = SystemReason(errno);
        } else {
            return file;
        }
    }
    ::close(descriptor);
    return nullptr;
}
