#pragma once
// One copy of the game per account: a lock on a file in the data folder. The
// kernel drops it when the copy ends, however it ends, so a crash leaves no
// stale lock behind. Nothing is ever written into the lock file, and a name
// taken by a link, a folder or anything else that is not a regular file is
// never opened through: the game then runs without the check.
//
// A second copy asks the running one to come to the front through a
// RaiseChannel, never through a process id read from a file (which anyone can
// write, naming any process).
#include <string>

class SingleCopyLock {
public:
    // Creates the folder when missing and tries the lock without waiting; an
    // empty folder name takes no lock.
    explicit SingleCopyLock(const std::string& folder);
    ~SingleCopyLock();
    SingleCopyLock(const SingleCopyLock&) = delete;
    SingleCopyLock& operator=(const SingleCopyLock&) = delete;

    // This copy holds the lock: it alone may tidy the data folder.
    bool Held() const { return held_; }
    // Another process holds it. (Neither is true when the folder cannot take a
    // lock file at all, e.g. read-only: the game runs, its saves will tell.)
    bool OtherCopyRuns() const { return otherCopy_; }
    // The lock's name is taken by something that is not a regular file (a
    // symbolic link, even a dangling one, a folder, a FIFO): no lock was taken
    // and nothing was opened through it.
    bool LockProblem() const { return problem_; }

    static constexpr const char* kFileName = "teramon2.lock";
    // For the title screen when LockProblem().
    static constexpr const char* kLockProblemText =
        "teramon2.lock がファイルではないため、二重起動の確認なしで始めます。";

private:
    int fd_ = -1;
    bool held_ = false;
    bool otherCopy_ = false;
    bool problem_ = false;
};

// How a second copy reaches the running one: an abstract Unix socket (no file
// anywhere) named after the account and the data folder. The listener takes a
// request only from a process of the same account that sends the request word;
// the asker talks only to a listener of its own account.
class RaiseChannel {
public:
    // Listens for requests (the lock holder does). Listening() is false when the
    // name is taken or sockets are unavailable; the game then simply is not raised.
    explicit RaiseChannel(const std::string& dataFolder);
    ~RaiseChannel();
    RaiseChannel(const RaiseChannel&) = delete;
    RaiseChannel& operator=(const RaiseChannel&) = delete;

    bool Listening() const { return fd_ >= 0; }
    // True when at least one valid request arrived since the last call; never
    // waits for a connection, and at most briefly for a connected peer's word.
    bool TakeRequest();

    // Asks the copy listening for this data folder to come to the front; true
    // when it answered that it will.
    static bool Ask(const std::string& dataFolder);
    // The socket's name in the abstract namespace (without the leading NUL).
    static std::string Name(const std::string& dataFolder);

    // What the asker sends, and what the listener answers.
    static constexpr char kRequestWord[] = "teramon2 raise\n";
    static constexpr char kAnswerWord[] = "ok\n";

private:
    int fd_ = -1;
};
