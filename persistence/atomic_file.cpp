#include "persistence/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <cstdio>
#include <random>

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

// Opens a data file for reading without ever waiting: a FIFO without a writer
// would otherwise hold start-up for good. Only regular files are accepted.
// Returns the descriptor, or -1 with status set.
int OpenRegularFile(const std::string& path, ReadStatus& status, struct stat& st) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        status = (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Failed;
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        status = ReadStatus::Failed;
        errno = 0;  // not a matter of permission: no regular file is there
        return -1;
    }
    status = ReadStatus::Ok;
    return fd;
}

FileRead ReadBounded(const std::string& path, std::size_t maxBytes, bool longerFails) {
    FileRead result;
    struct stat st;
    int fd = OpenRegularFile(path, result.status, st);
    if (fd < 0) return result;
    if (longerFails && static_cast<unsigned long long>(st.st_size) > maxBytes) {
        ::close(fd);
        result.status = ReadStatus::Failed;
        return result;
    }
    // One byte more than allowed tells a file that grew since fstat.
    const std::size_t want = longerFails && maxBytes != static_cast<std::size_t>(-1) ? maxBytes + 1 : maxBytes;
    result.bytes.reserve(std::min<std::size_t>(want, static_cast<std::size_t>(st.st_size)));
    char buffer[65536];
    while (result.bytes.size() < want) {
        const std::size_t chunk = std::min(sizeof buffer, want - result.bytes.size());
        ssize_t n = ::read(fd, buffer, chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return {ReadStatus::Failed, {}};
        }
        if (n == 0) break;
        result.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (longerFails && result.bytes.size() > maxBytes) return {ReadStatus::Failed, {}};
    result.status = ReadStatus::Ok;
    return result;
}

// What is at the target now. A file that exists but cannot be read must not be
// replaced; a readable regular file lends its permission bits to the new one.
struct Target {
    bool replaceable = false;
    bool exists = false;
    mode_t mode = 0;
    WriteError error = WriteError::None;  // why it may not be replaced
};

Target InspectTarget(const std::string& path) {
    Target target;
    struct stat st;
    ReadStatus status;
    int fd = OpenRegularFile(path, status, st);
    if (fd >= 0) {
        ::close(fd);
        target.replaceable = target.exists = true;
        target.mode = st.st_mode & 07777;
    } else {
        const int openError = errno;
        target.replaceable = status == ReadStatus::Missing;
        // A file kept from us by its permission bits is a matter of permission;
        // anything else there (a folder, a FIFO, a broken file) is kept as it is.
        if (!target.replaceable)
            target.error = openError == EACCES || openError == EPERM ? WriteError::NoPermission
                                                                      : WriteError::KeptUnreadable;
    }
    return target;
}

std::string RandomSuffix() {
    static std::mt19937 generator{std::random_device{}()};
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kChars) - 2);
    std::string s(6, 'x');
    for (char& c : s) c = kChars[pick(generator)];
    return s;
}

// A temporary file that did not exist before: nothing planted at its name (a
// link, a file) is ever followed, truncated or written.
int CreateTemporaryFile(const std::string& path, std::string& temp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = path + "." + RandomSuffix() + ".tmp";
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) return fd;
        if (errno != EEXIST) return -1;
    }
    return -1;
}

bool IsTemporaryNameOf(const std::string& entry, const std::string& file) {
    if (entry == file + ".tmp") return true;  // the fixed name of earlier versions
    const std::string prefix = file + ".";
    if (entry.size() != prefix.size() + 6 + 4 || entry.compare(0, prefix.size(), prefix) != 0) return false;
    if (entry.compare(entry.size() - 4, 4, ".tmp") != 0) return false;
    return std::all_of(entry.begin() + static_cast<long>(prefix.size()), entry.end() - 4,
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

}  // namespace

void SetWriteFaultInjection(WriteFaultInjection fault) { g_fault = std::move(fault); }
void ClearWriteFaultInjection() { g_fault = {}; }

bool PathExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

FileRead ReadFileBytes(const std::string& path, std::size_t maxBytes) { return ReadBounded(path, maxBytes, false); }

FileRead ReadWholeFile(const std::string& path, std::size_t limit) { return ReadBounded(path, limit, true); }

WriteError WriteErrorOf(int errorNumber) {
    switch (errorNumber) {
        case 0: return WriteError::None;
        case ENOSPC: case EDQUOT: return WriteError::NoSpace;
        case EACCES: case EPERM: case EROFS: return WriteError::NoPermission;
        case ENOENT: case ENOTDIR: return WriteError::NoFolder;
        default: return WriteError::Other;
    }
}

namespace {

bool Failed(WriteError* why, WriteError reason) {
    if (why) *why = reason;
    return false;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, WriteError* why) {
    if (why) *why = WriteError::None;
    if (FaultAt(path, WriteFailurePoint::Open)) return Failed(why, WriteErrorOf(g_fault.errorNumber));
    const Target target = InspectTarget(path);
    if (!target.replaceable) return Failed(why, target.error);
    std::string temp;
    int fd = CreateTemporaryFile(path, temp);
    if (fd < 0) return Failed(why, WriteErrorOf(errno));
    int error = 0;
    if (FaultAt(path, WriteFailurePoint::Write)) {
        WriteAll(fd, bytes.substr(0, bytes.size() / 2));  // a write cut off half-way
        error = g_fault.errorNumber;
    } else {
        if (!WriteAll(fd, bytes)) error = errno;
        // A player who keeps a file private (0600) keeps it so.
        if (!error && target.exists && ::fchmod(fd, target.mode) != 0) error = errno;
        if (!error && ::fsync(fd) != 0) error = errno;
    }
    if (::close(fd) != 0 && !error) error = errno;
    if (!error) {
        if (FaultAt(path, WriteFailurePoint::Rename))
            error = g_fault.errorNumber;
        else if (::rename(temp.c_str(), path.c_str()) != 0)
            error = errno;
    }
    if (error) {
        ::unlink(temp.c_str());
        return Failed(why, WriteErrorOf(error));
    }
    SyncFolder(FolderOf(path));
    return true;
}

void RemoveStaleTemporaryFiles(const std::string& folder, const std::vector<std::string>& fileNames) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    std::vector<std::string> stale;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        for (const std::string& file : fileNames)
            if (IsTemporaryNameOf(name, file)) stale.push_back(name);
    }
    ::closedir(dir);
    for (const std::string& name : stale) {
        const std::string path = folder + "/" + name;
        struct stat st;
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(path.c_str());
    }
}
