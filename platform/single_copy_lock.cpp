#include "platform/single_copy_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

SingleCopyLock::SingleCopyLock(const std::string& folder) {
    if (folder.empty()) return;  // no lock wanted
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::u8path(folder), ec);
    const std::string path = folder + "/" + kFileName;
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);  // a lock needs no write access
    if (fd_ < 0) return;
    if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        held_ = true;
        holder_ = getpid();
        const std::string pid = std::to_string(holder_) + "\n";
        if (ftruncate(fd_, 0) == 0) (void)!pwrite(fd_, pid.data(), pid.size(), 0);
        return;
    }
    if (errno != EWOULDBLOCK) return;
    otherCopy_ = true;
    char buf[32] = {};
    const ssize_t n = pread(fd_, buf, sizeof buf - 1, 0);
    if (n > 0) holder_ = static_cast<pid_t>(std::strtol(buf, nullptr, 10));
}

SingleCopyLock::~SingleCopyLock() {
    if (fd_ >= 0) close(fd_);  // closing releases the lock
}
