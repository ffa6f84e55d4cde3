#include "platform/user_folders.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

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

TEST(ProgramFolderTest, IsTheFolderOfTheRunningBinary) {
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(folder));
}

}  // namespace
