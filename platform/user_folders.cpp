#include "platform/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

// The account's home as the password database has it. Never a shared folder
// such as /tmp: another user could plant the data folder there first.
std::string HomeOfAccount() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buf(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    while (getpwuid_r(getuid(), &entry, buf.data(), buf.size(), &found) == ERANGE) buf.resize(buf.size() * 2);
    if (!found || !found->pw_dir || found->pw_dir[0] != '/')
        throw std::runtime_error("no home folder: HOME is not set and the password database has no home for user id " +
                                 std::to_string(getuid()));
    return found->pw_dir;
}

std::string Home() {
    const char* v = std::getenv("HOME");
    return v && *v ? std::string(v) : HomeOfAccount();
}

std::string StripTrailingSlash(std::string s) {
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

// Reads XDG_DOCUMENTS_DIR="$HOME/Documents" from user-dirs.dirs.
std::string FromUserDirsFile() {
    const std::string config = EnvOr("XDG_CONFIG_HOME", Home() + "/.config");
    std::ifstream in(config + "/user-dirs.dirs");
    std::string line;
    const std::string_view key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
        std::string value = line.substr(start + key.size());
        while (!value.empty() && (value.back() == '\r' || value.back() == ' ')) value.pop_back();
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0) value = Home() + value.substr(5);
        if (!value.empty() && value.front() == '/') return value;
    }
    return {};
}

}  // namespace

std::string ProgramFolder() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return "./";
    std::string path(buf, static_cast<size_t>(n));
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

std::string WithTrailingSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string DocumentsFolder() {
    if (const char* v = std::getenv("XDG_DOCUMENTS_DIR"); v && *v) return StripTrailingSlash(v);
    std::string fromFile = FromUserDirsFile();
    if (!fromFile.empty()) return StripTrailingSlash(fromFile);
    return Home() + "/Documents";
}
