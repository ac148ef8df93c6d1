// Writing through a temporary file renamed over the target.
#include "fitdata/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace {

// A symbolic link is replaced by nothing: its target is the file the user saves.
std::string ResolveTarget(const std::string& path) {
    struct stat linkStatus;
    if (lstat(path.c_str(), &linkStatus) != 0 || !S_ISLNK(linkStatus.st_mode)) return path;
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr) return path;
    return resolved;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t NewFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

int WriteInPlace(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return 1;
    bool ok = write(file);
    ok = std::fclose(file) == 0 && ok;
    return ok ? 0 : 1;
}

}  // namespace

int WriteFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    if (path.empty()) return 1;
    std::string target = ResolveTarget(path);
    struct stat old;
    bool exists = stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) return WriteInPlace(target, write);

    std::string temporary = FolderOf(target) + "/." + NameOf(target) + ".XXXXXX";
    int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) return WriteInPlace(target, write);

    if (exists) {
        // Only a privileged user may give the file away; others own it already. The owner goes
        // first because a change of owner may clear the set-id bits.
        [[maybe_unused]] int ignored = fchown(descriptor, old.st_uid, old.st_gid);
    }
    bool ok = fchmod(descriptor, exists ? (old.st_mode & 07777) : NewFileMode()) == 0;
    std::FILE* file = ok ? fdopen(descriptor, "wb") : nullptr;
    if (file == nullptr) {
        close(descriptor);
        unlink(temporary.c_str());
        return 1;
    }
    ok = write(file);
    ok = std::fflush(file) == 0 && ok;
    ok = fsync(fileno(file)) == 0 && ok;  // the data must be on disk before the name moves to it
    ok = std::fclose(file) == 0 && ok;
    if (!ok || std::rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        return 1;
    }
    return 0;
}
