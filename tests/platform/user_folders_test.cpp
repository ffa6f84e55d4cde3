#include "platform/user_folders.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class DocumentsFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DOCUMENTS_DIR"}) {
            const char* v = getenv(name);
            saved.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
        }
        dir = std::filesystem::temp_directory_path() / ("docs_test_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir / "config");
        setenv("HOME", dir.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        unsetenv("XDG_DOCUMENTS_DIR");
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        for (auto& [name, value] : saved) {
            if (value) setenv(name.c_str(), value->c_str(), 1);
            else unsetenv(name.c_str());
        }
    }
    std::filesystem::path dir;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

TEST_F(DocumentsFolderTest, FallsBackFromEnvironmentToUserDirsToHome) {
    EXPECT_EQ(DocumentsFolder(), dir.string() + "/Documents");

    std::ofstream(dir / "config/user-dirs.dirs") << "# comment\nXDG_DOCUMENTS_DIR=\"$HOME/ドキュメント\"\n";
    EXPECT_EQ(DocumentsFolder(), dir.string() + "/ドキュメント");

    setenv("XDG_DOCUMENTS_DIR", "/somewhere/docs/", 1);
    EXPECT_EQ(DocumentsFolder(), "/somewhere/docs");
}

TEST_F(DocumentsFolderTest, WithoutHomeTheAccountsHomeFromThePasswordDatabase) {
    unsetenv("HOME");
    const passwd* account = getpwuid(getuid());
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(DocumentsFolder(), std::string(account->pw_dir) + "/Documents");
}

// An account the password database does not know (a container started with a
// bare user id): no folder can be trusted, so the caller is told rather than
// handed /tmp. Run in a child under such an id; root only.
TEST_F(DocumentsFolderTest, WithoutHomeOrAccountEntryThereIsNoFolder) {
    if (getuid() != 0) GTEST_SKIP() << "needs root to take on a user id without an account";
    uid_t unknown = 54321;
    while (getpwuid(unknown)) ++unknown;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setuid(unknown) != 0) _exit(3);
        unsetenv("HOME");
        try {
            const std::string folder = DocumentsFolder();
            _exit(folder.rfind("/tmp", 0) == 0 ? 2 : 4);
        } catch (const std::runtime_error&) {
            _exit(0);
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: a folder under /tmp, 4: some other folder, 3: setuid failed";
}

TEST(ProgramFolderTest, IsTheFolderOfTheRunningBinary) {
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(folder));
}

}  // namespace
