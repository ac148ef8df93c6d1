// The desktop's launcher run as a child whose early end is waited for, then left to run.
#include "framework/qt/desktop_launch.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <string>
#include <vector>

extern char** environ;

namespace qtbackend {
namespace {

// Launchers left running; each is reaped once it ends, so none stays a zombie for long.
std::vector<pid_t>& Running() {
    static std::vector<pid_t> running;
    return running;
}

void ReapEnded() {
    auto& running = Running();
    for (auto it = running.begin(); it != running.end();) {
        int status = 0;
        it = waitpid(*it, &status, WNOHANG) == 0 ? it + 1 : running.erase(it);
    }
}

}  // namespace

bool OpenWithDesktop(const QString& path, int waitMs) {
    ReapEnded();
    const QString launcher = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (launcher.isEmpty()) return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    std::string program = QFile::encodeName(launcher).toStdString();
    std::string file = QFile::encodeName(path).toStdString();
    char* argv[] = {program.data(), file.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) return false;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < waitMs) {
        int status = 0;
        const pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (ended < 0) return true;  // reaped elsewhere: its answer is lost
        // The windows keep painting meanwhile; a person's input waits.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(10);
    }
    Running().push_back(pid);
    return true;
}

}  // namespace qtbackend
