// Tests that every writer replaces a file only with a complete one and keeps its permissions.
#include "fitdata/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fitdata/fit_data.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

std::unique_ptr<FitData> LargeDocument() {
    auto data = std::make_unique<FitData>();
    data->Reset();
    std::vector<double> x(MAX_POINTS), y(MAX_POINTS);
    for (int i = 0; i < MAX_POINTS; ++i) {
        x[i] = i * 0.001;
        y[i] = -i * 1e-7;
    }
    data->SetPoints(MAX_POINTS, x.data(), y.data());
    data->function.SetTextA("A*X+B");
    return data;
}

// Each writer of the library, writing a file large enough to overflow a small device.
struct Writer {
    const char* name;
    std::function<int(FitData&, const std::string&)> write;
};

std::vector<Writer> AllWriters() {
    return {
        {"WriteGen", [](FitData& d, const std::string& p) { return d.WriteGen(p); }},
        {"WritePointsText", [](FitData& d, const std::string& p) { return d.WritePointsText(p); }},
        {"WriteCoef", [](FitData& d, const std::string& p) { return d.function.WriteCoef(p); }},
        {"WriteFon", [](FitData& d, const std::string& p) { return d.function.WriteFon(p); }},
    };
}

std::vector<uint8_t> OldContent(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    return bytes;
}

// A tmpfs of 128 KiB holding a 60000-byte old file: the large writers cannot fit beside it.
class FullDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.ok());
        mountPoint_ = dir_.File("device");
        ASSERT_EQ(mkdir(mountPoint_.c_str(), 0755), 0);
        if (mount("tmpfs", mountPoint_.c_str(), "tmpfs", 0, "size=128k") != 0) {
            GTEST_SKIP()
                << "cannot mount a tmpfs here (needs root); the file-size limit test covers it";
        }
        mounted_ = true;
    }
    void TearDown() override {
        if (mounted_) umount(mountPoint_.c_str());
    }

    TempDir dir_;
    std::string mountPoint_;
    bool mounted_ = false;
};

TEST_F(FullDeviceTest, FailedWriteKeepsTheOldFileByteForByte) {
    auto data = LargeDocument();
    std::string path = mountPoint_ + "/doc";
    std::vector<uint8_t> old = OldContent(60000);
    for (const char* name : {"WriteGen", "WritePointsText"}) {
        WriteBytes(path, old);
        ASSERT_EQ(chmod(path.c_str(), 0640), 0);
        for (const Writer& writer : AllWriters()) {
            if (std::string(writer.name) != name) continue;
            EXPECT_EQ(writer.write(*data, path), 1) << name;
        }
        EXPECT_EQ(ReadBytes(path), old) << name;
        struct stat status;
        ASSERT_EQ(stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0640u) << name;
        // Only the old file is left: the temporary was removed.
        std::vector<std::string> entries;
        for (const auto& entry : std::filesystem::directory_iterator(mountPoint_)) {
            entries.push_back(entry.path().filename().string());
        }
        EXPECT_EQ(entries, std::vector<std::string>{"doc"}) << name;
    }
    // With room again the same writers succeed over the old file.
    WriteBytes(path, {1, 2, 3});
    EXPECT_EQ(data->WriteGen(path), 0);
    EXPECT_EQ(ReadBytes(path).size(), 80602u);
}

// Without a tmpfs: a file-size limit makes every write past 1000 bytes fail (EFBIG).
TEST(AtomicFileTest, FileSizeLimitKeepsTheOldFile) {
    TempDir dir;
    std::string path = dir.File("doc");
    std::vector<uint8_t> old = OldContent(500);
    auto data = LargeDocument();
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    for (const char* name : {"WriteGen", "WritePointsText"}) {
        WriteBytes(path, old);
        struct rlimit small = saved;
        small.rlim_cur = 1000;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        int answer = -1;
        for (const Writer& writer : AllWriters()) {
            if (std::string(writer.name) == name) answer = writer.write(*data, path);
        }
        setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_EQ(answer, 1) << name;
        EXPECT_EQ(ReadBytes(path), old) << name;
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"doc"}) << name;
    }
    std::signal(SIGXFSZ, previousHandler);
}

TEST(AtomicFileTest, SuccessKeepsPermissionsAndFollowsLinks) {
    TempDir dir;
    auto data = LargeDocument();
    for (const Writer& writer : AllWriters()) {
        std::string path = dir.File(std::string(writer.name) + ".out");
        WriteBytes(path, OldContent(200000));
        ASSERT_EQ(chmod(path.c_str(), 0604), 0);
        EXPECT_EQ(writer.write(*data, path), 0) << writer.name;
        struct stat status;
        ASSERT_EQ(stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0604u) << writer.name;
        EXPECT_LT(status.st_size, 200000) << writer.name << ": the old content is gone";
    }

    // A new file gets 0666 less the umask.
    mode_t previousMask = umask(027);
    ASSERT_EQ(data->WriteGen(dir.File("new.gen")), 0);
    umask(previousMask);
    struct stat status;
    ASSERT_EQ(stat(dir.File("new.gen").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);

    // Saving through a symbolic link replaces its target and keeps the link.
    std::string target = dir.File("target.gen");
    std::string link = dir.File("link.gen");
    WriteBytes(target, {1, 2, 3});
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    ASSERT_EQ(data->WriteGen(link), 0);
    struct stat linkStatus;
    ASSERT_EQ(lstat(link.c_str(), &linkStatus), 0);
    EXPECT_TRUE(S_ISLNK(linkStatus.st_mode));
    EXPECT_EQ(ReadBytes(target).size(), 80602u);
}

TEST(AtomicFileTest, WriteCallbackFailureAndMissingFolder) {
    TempDir dir;
    std::string path = dir.File("doc");
    WriteBytes(path, {9, 8, 7});
    EXPECT_EQ(WriteFileAtomically(path,
                                  [](std::FILE* f) {
                                      std::fputs("partial", f);
                                      return false;
                                  }),
              1);
    EXPECT_EQ(ReadBytes(path), (std::vector<uint8_t>{9, 8, 7}));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"doc"});
    EXPECT_EQ(errno, EIO) << "a callback failing without a reason";
    EXPECT_EQ(WriteFileAtomically(dir.File("no/such/folder"), [](std::FILE*) { return true; }), 1);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(WriteFileAtomically("", [](std::FILE*) { return true; }), 1);
    EXPECT_EQ(WriteFileAtomically(dir.path() + "/", [](std::FILE*) { return true; }), 1);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"doc"});
}

TEST(AtomicFileTest, DeviceIsWrittenInPlaceAndItsFailureReported) {
    TempDir dir;
    std::string link = dir.File("full");
    ASSERT_EQ(symlink("/dev/full", link.c_str()), 0);
    auto data = LargeDocument();
    for (const Writer& writer : AllWriters()) {
        EXPECT_EQ(writer.write(*data, link), 1) << writer.name;
        EXPECT_EQ(errno, ENOSPC) << writer.name << ": the reason stays for the caller";
    }
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"full"});
}

// A folder the user may not write, holding a file the user may: the file is written in place.
TEST(AtomicFileTest, UnwritableFolderWritesInPlace) {
    TempDir dir;
    std::string folder = dir.File("locked");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    std::string path = folder + "/doc.coe";
    WriteBytes(path, {1, 2, 3});
    ASSERT_EQ(chmod(path.c_str(), 0666), 0);
    auto data = LargeDocument();
    auto writeAsOtherUser = [&]() -> int {
        if (geteuid() != 0) {
            chmod(folder.c_str(), 0555);
            int answer = data->function.WriteCoef(path);
            chmod(folder.c_str(), 0755);
            return answer;
        }
        // Root may write any folder: drop to another user in a child to lose that right.
        if (chmod(dir.path().c_str(), 0755) != 0) return -1;
        pid_t child = fork();
        if (child == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0) _exit(90);
            _exit(data->function.WriteCoef(path));
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(writeAsOtherUser(), 0);
    EXPECT_EQ(ReadBytes(path).size(), 76u);
    std::vector<std::string> entries;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        entries.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(entries, std::vector<std::string>{"doc.coe"});
}

}  // namespace
