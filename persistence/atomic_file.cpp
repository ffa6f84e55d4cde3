#include "persistence/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

WriteFaultInjection g_fault;

bool FaultAt(const std::string& path, WriteFailurePoint point) {
    return g_fault.matches && g_fault.failAt == point && g_fault.matches(path);
}

std::string FolderOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// After the rename, make the new directory entry durable too. Failure here does
// not undo a completed rename, so it is not reported.
void SyncFolder(const std::string& folder) {
    int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0) return;
    ::fsync(dfd);
    ::close(dfd);
}

}  // namespace

void SetWriteFaultInjection(WriteFaultInjection fault) { g_fault = std::move(fault); }
void ClearWriteFaultInjection() { g_fault = {}; }

bool PathExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

FileRead ReadFileBytes(const std::string& path, std::size_t maxBytes) {
    FileRead result;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.status = (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Failed;
        return result;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        result.status = ReadStatus::Failed;
        return result;
    }
    char buffer[4096];
    while (result.bytes.size() < maxBytes) {
        std::size_t want = std::min(sizeof buffer, maxBytes - result.bytes.size());
        ssize_t n = ::read(fd, buffer, want);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            result.bytes.clear();
            result.status = ReadStatus::Failed;
            return result;
        }
        if (n == 0) break;
        result.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    result.status = ReadStatus::Ok;
    return result;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    const std::string temp = path + ".tmp";
    if (FaultAt(path, WriteFailurePoint::Open)) return false;
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok;
    if (FaultAt(path, WriteFailurePoint::Write)) {
        WriteAll(fd, bytes.substr(0, bytes.size() / 2));  // a write cut off half-way
        ok = false;
    } else {
        ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    }
    if (::close(fd) != 0) ok = false;
    if (ok && !FaultAt(path, WriteFailurePoint::Rename)) {
        ok = ::rename(temp.c_str(), path.c_str()) == 0;
    } else {
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(FolderOf(path));
    return true;
}
