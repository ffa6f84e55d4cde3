#pragma once
// Runs an outside program that must never hold up the game: it gets a deadline
// and is killed (with everything it started) when it overruns it.
#include <atomic>
#include <chrono>
#include <string>
#include <vector>

enum class ChildOutcome {
    Exited,      // ran to its end; exitCode holds its status
    Killed,      // overran its deadline or was cancelled, and was killed
    NotStarted,  // could not be started
};

struct ChildResult {
    ChildOutcome outcome = ChildOutcome::NotStarted;
    int exitCode = -1;  // -1 unless it exited normally
};

// Runs argv[0] (a path; PATH is not searched) with stdin read from stdinFd (from
// its start) and stdout/stderr discarded; passedFd, unless -1, becomes the
// child's descriptor 3, which argv names as MemoryFile::kChildPath. Waits until
// it ends, the timeout passes or `cancel` becomes true.
ChildResult RunChild(const std::vector<std::string>& argv, int stdinFd, int passedFd,
                     std::chrono::milliseconds timeout, const std::atomic<bool>& cancel);

// A file that lives in memory only and goes with its last descriptor: what the
// game hands to and takes from a child leaves nothing on disk, however the game
// ends (even killed).
class MemoryFile {
public:
    explicit MemoryFile(const char* name);
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    bool Ok() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    // Replaces the contents.
    bool Write(const std::string& bytes);
    // The whole contents, as the child left them.
    std::string Read() const;

    // The passed file as the child opens it by name.
    static constexpr const char* kChildPath = "/dev/fd/3";

private:
    int fd_ = -1;
};
