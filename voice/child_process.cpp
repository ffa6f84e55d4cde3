#include "voice/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace {

// Kills the child's whole process group: a wrapper script must not leave its
// own children behind.
void KillGroup(pid_t pid) {
    kill(-pid, SIGKILL);
    kill(pid, SIGKILL);
}

ChildResult Reap(pid_t pid, bool killed) {
    int status = 0;
    pid_t r;
    do {
        r = waitpid(pid, &status, 0);
    } while (r < 0 && errno == EINTR);
    ChildResult result;
    result.outcome = killed ? ChildOutcome::Killed : ChildOutcome::Exited;
    if (!killed && r == pid && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    return result;
}

}  // namespace

ChildResult RunChild(const std::vector<std::string>& argv, const std::string& stdinFile,
                     std::chrono::milliseconds timeout, const std::atomic<bool>& cancel) {
    if (argv.empty()) return {};
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, stdinFile.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t noSignals, defaults;
    sigemptyset(&noSignals);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigmask(&attr, &noSignals);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setpgroup(&attr, 0);  // its own group, so KillGroup reaches all of it
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                        POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    int err = posix_spawn(&pid, args[0], &actions, &attr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (err != 0) return {};

    // Polling keeps this portable and cheap: the engine runs for about 100 ms.
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) {
            ChildResult result;
            result.outcome = ChildOutcome::Exited;
            if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
            return result;
        }
        if (r < 0 && errno != EINTR) {
            // Someone else reaped it (SIGCHLD ignored): its status is lost.
            return {ChildOutcome::Exited, -1};
        }
        if (cancel.load() || std::chrono::steady_clock::now() >= deadline) {
            KillGroup(pid);
            return Reap(pid, true);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}
