#include "platform/single_copy_lock.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

SingleCopyLock::SingleCopyLock(const std::string& folder) {
    if (folder.empty()) return;  // no lock wanted
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::u8path(folder), ec);
    const std::string path = folder + "/" + kFileName;
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        problem_ = true;
        return;
    }
    // Read-only is enough for a lock, and never follows a link planted since;
    // O_NONBLOCK keeps a FIFO swapped in from holding the start up.
    fd_ = open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        problem_ = errno == ELOOP || errno == EISDIR;
        return;
    }
    if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        problem_ = true;
        close(fd_);
        fd_ = -1;
        return;
    }
    if (flock(fd_, LOCK_EX | LOCK_NB) == 0)
        held_ = true;
    else
        otherCopy_ = errno == EWOULDBLOCK;
}

SingleCopyLock::~SingleCopyLock() {
    if (fd_ >= 0) close(fd_);  // closing releases the lock
}

namespace {

// The abstract socket address of a name: a leading NUL, then the name's bytes.
sockaddr_un AbstractAddress(const std::string& name, socklen_t& length) {
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const std::size_t n = std::min(name.size(), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, name.data(), n);
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
    return address;
}

// The process at the other end runs under this account.
bool PeerIsThisAccount(int fd) {
    ucred peer {};
    socklen_t length = sizeof peer;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && length == sizeof peer &&
           peer.uid == getuid();
}

// Reads exactly `word` from the socket within the time given; anything else fails.
bool ReceiveWord(int fd, std::string_view word, std::chrono::milliseconds within) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    std::string got;
    while (got.size() < word.size()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
        char buffer[32];
        const ssize_t n = recv(fd, buffer, std::min(sizeof buffer, word.size() - got.size()), MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return false;
        got.append(buffer, static_cast<std::size_t>(n));
        if (word.substr(0, got.size()) != got) return false;
    }
    return true;
}

void SendWord(int fd, std::string_view word) { (void)!send(fd, word.data(), word.size(), MSG_NOSIGNAL); }

}  // namespace

std::string RaiseChannel::Name(const std::string& dataFolder) {
    // FNV-1a: the same in every build, so every copy finds the same name.
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : dataFolder) hash = (hash ^ c) * 1099511628211ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return "teramon2-" + std::to_string(getuid()) + "-" + hex;
}

RaiseChannel::RaiseChannel(const std::string& dataFolder) {
    fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return;
    socklen_t length = 0;
    const sockaddr_un address = AbstractAddress(Name(dataFolder), length);
    if (bind(fd_, reinterpret_cast<const sockaddr*>(&address), length) != 0 || listen(fd_, 8) != 0) {
        close(fd_);
        fd_ = -1;
    }
}

RaiseChannel::~RaiseChannel() {
    if (fd_ >= 0) close(fd_);
}

bool RaiseChannel::TakeRequest() {
    if (fd_ < 0) return false;
    bool requested = false;
    // A few connections a call: a flood cannot hold up the game for long.
    for (int i = 0; i < 8; ++i) {
        const int peer = accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (peer < 0) break;
        if (PeerIsThisAccount(peer) && ReceiveWord(peer, kRequestWord, std::chrono::milliseconds(200))) {
            SendWord(peer, kAnswerWord);
            requested = true;
        }
        close(peer);
    }
    return requested;
}

bool RaiseChannel::Ask(const std::string& dataFolder) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    // A copy that does not answer must not hold this one up.
    const timeval timeout{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    socklen_t length = 0;
    const sockaddr_un address = AbstractAddress(Name(dataFolder), length);
    bool answered = false;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0 && PeerIsThisAccount(fd)) {
        SendWord(fd, kRequestWord);
        answered = ReceiveWord(fd, kAnswerWord, std::chrono::seconds(1));
    }
    close(fd);
    return answered;
}
