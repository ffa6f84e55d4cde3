#pragma once
// One copy of the game per account: a lock on a file in the data folder. The
// kernel drops it when the copy ends, however it ends, so a crash leaves no
// stale lock behind. The holder writes its process id into the file so that a
// second copy can ask it to come to the front.
#include <sys/types.h>

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
    // Another copy holds it. (Neither is true when the folder cannot take a
    // lock file at all, e.g. read-only: the game runs, its saves will tell.)
    bool OtherCopyRuns() const { return otherCopy_; }
    // The process id the holder wrote, or 0.
    pid_t Holder() const { return holder_; }

    static constexpr const char* kFileName = "teramon2.lock";

private:
    int fd_ = -1;
    bool held_ = false;
    bool otherCopy_ = false;
    pid_t holder_ = 0;
};
