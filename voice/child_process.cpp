#include "voice/child_process.h"

#include <fcntl.h>
#include <sys/mman.h>
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

MemoryFile::MemoryFile(const char* name) : fd_(memfd_create(name, MFD_CLOEXEC)) {}

MemoryFile::~MemoryFile() {
    if (fd_ >= 0) close(fd_);
}

bool MemoryFile::Write(const std::string& bytes) {
    if (fd_ < 0 || ftruncate(fd_, 0) != 0) return false;
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string MemoryFile::Read() const {
    std::string bytes;
    if (fd_ < 0) return bytes;
    char buffer[16384];
    for (off_t at = 0;;) {
        const ssize_t n = pread(fd_, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(n));
        at += n;
    }
}

ChildResult RunChild(const std::vector<std::string>& argv, int stdinFd, int passedFd,
                     std::chrono::milliseconds timeout, const std::atomic<bool>& cancel) {
    if (argv.empty() || stdinFd < 0) return {};
    // The child shares the descriptor's offset: it reads from the start.
    if (lseek(stdinFd, 0, SEEK_SET) != 0) return {};
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, stdinFd, 0);
    if (passedFd >= 0) posix_spawn_file_actions_adddup2(&actions, passedFd, 3);
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
