// Writing through a temporary file renamed over the target.
#include "fitdata/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

// Keeps the reason of the first failure: the clean-up after it may change errno.
class FirstError {
  public:
    // Notes errno when `ok` is false and nothing was noted yet; answers `ok`.
    bool Note(bool ok) {
        if (!ok && error_ == 0) error_ = errno != 0 ? errno : EIO;
        return ok;
    }
    // Sets errno to the noted reason and answers 1, the writers' failure.
    int Fail() const {
        errno = error_ != 0 ? error_ : EIO;
        return 1;
    }

  private:
    int error_ = 0;
};

// Runs `write` with errno cleared, so that a failure of the callback is told by what failed in it.
bool RunWrite(const std::function<bool(std::FILE*)>& write, std::FILE* file, FirstError& first) {
    errno = 0;
    return first.Note(write(file));
}

int WriteInPlace(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    FirstError first;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!first.Note(file != nullptr)) return first.Fail();
    bool ok = RunWrite(write, file, first);
    ok = first.Note(std::fclose(file) == 0) && ok;
    return ok ? 0 : first.Fail();
}

// After a rename the folder holds the new name; syncing it keeps that name through a power cut.
// A file system that cannot sync folders (EINVAL) has nothing more to do.
bool SyncFolder(const std::string& folder) {
    int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return false;
    bool ok = fsync(descriptor) == 0 || errno == EINVAL;
    int error = errno;
    close(descriptor);
    errno = error;
    return ok;
}

}  // namespace

int WriteFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    if (path.empty()) {
        errno = ENOENT;
        return 1;
    }
    std::string target = ResolveTarget(path);
    struct stat old;
    bool exists = stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) return WriteInPlace(target, write);

    const std::string folder = FolderOf(target);
    std::string temporary = folder + "/." + NameOf(target) + ".XXXXXX";
    int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) return WriteInPlace(target, write);

    if (exists) {
        // Only a privileged user may give the file away; others own it already. The owner goes
        // first because a change of owner may clear the set-id bits.
        [[maybe_unused]] int ignored = fchown(descriptor, old.st_uid, old.st_gid);
    }
    FirstError first;
    bool ok = first.Note(fchmod(descriptor, exists ? (old.st_mode & 07777) : NewFileMode()) == 0);
    std::FILE* file = ok ? fdopen(descriptor, "wb") : nullptr;
    if (!first.Note(file != nullptr)) {
        close(descriptor);
        unlink(temporary.c_str());
        return first.Fail();
    }
    ok = RunWrite(write, file, first);
    ok = first.Note(std::fflush(file) == 0) && ok;
    // The data must be on disk before the name moves to it.
    ok = first.Note(fsync(fileno(file)) == 0) && ok;
    ok = first.Note(std::fclose(file) == 0) && ok;
    if (!ok || !first.Note(std::rename(temporary.c_str(), target.c_str()) == 0)) {
        unlink(temporary.c_str());
        return first.Fail();
    }
    return first.Note(SyncFolder(folder)) ? 0 : first.Fail();
}
