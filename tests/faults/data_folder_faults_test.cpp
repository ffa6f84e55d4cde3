// The per-user data folder cannot be used, the disk fills up, or a write fails
// half-way: the game starts and plays, says that saving failed, and never
// damages a file it saved earlier. (Tests run as root, so a folder is made
// unusable by putting a regular file where it or its parent should be.)
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>

#include "persistence/atomic_file.h"
#include "tests/faults/fault_game.h"

namespace fs = std::filesystem;
using fault_test::FaultGame;
using fault_test::FileBytes;
using fault_test::kSettingsSaveFailed;
using fault_test::kStrokeSaveFailed;

namespace {

enum class Blocked { FolderIsAFile, ParentIsAFile };

class UnusableDataFolder : public testing::TestWithParam<Blocked> {};

TEST_P(UnusableDataFolder, GameStartsPlaysAndReportsEveryFailedSave) {
    FaultGame g;
    fs::remove_all(g.MakerFolder());
    if (GetParam() == Blocked::FolderIsAFile) {
        fs::create_directories(g.MakerFolder());
        std::ofstream(g.MakerFolder() / "TeramonData") << "not a folder";
    } else {
        std::ofstream(g.MakerFolder()) << "not a folder";
    }
    g.Restart();
    EXPECT_EQ(g.Message(), Msg::Start);

    g.PlayABoard();
    EXPECT_FALSE(g.f().Screens().Title);
    EXPECT_TRUE(g.f().GameBoard().MovingBallNo() >= 0 || g.f().GameProgress().GameOver() || g.f().GameProgress().Clear()) << "the first ball was never released";

    g.MinimiseAndSave();
    EXPECT_EQ(g.Message(), Msg::SaveFailed);
    g.ComeBack();
    g.Play(2000);

    g.Set().progress().TakeStrokeRecord(12);
    g.f().WriteStrokeRecord();
    EXPECT_EQ(g.Message(), kStrokeSaveFailed);

    // Closing saves once more and must not crash either; as that save fails too,
    // the game stays until the player chooses to leave without saving.
    g.Key(VK_ESCAPE_KEY);
    if (!g.f().CountdownRuns() && !g.f().ExplosionShows()) {
        EXPECT_FALSE(g.f().IsClosed());
        g.Char(u'q');
    }
    EXPECT_TRUE(g.f().IsClosed() || g.f().CountdownRuns() || g.f().ExplosionShows());
}

INSTANTIATE_TEST_SUITE_P(Faults, UnusableDataFolder, testing::Values(Blocked::FolderIsAFile, Blocked::ParentIsAFile));

// A write that fails at any step leaves every file as the last good save left it.
struct WriteFailureCase {
    const char* file;
    WriteFailurePoint failAt;
    const char* message;
};

class FailedWrite : public testing::TestWithParam<WriteFailureCase> {
protected:
    void TearDown() override { ClearWriteFaultInjection(); }
};

TEST_P(FailedWrite, KeepsTheEarlierFileAndSaysSo) {
    const WriteFailureCase c = GetParam();
    FaultGame g;
    g.PlayABoard();
    g.MinimiseAndSave();
    g.Set().progress().TakeStrokeRecord(20);
    g.f().WriteStrokeRecord();
    const std::string files[] = {"newrecord.dat", "Settei.ini", "record2.dat"};
    std::map<std::string, std::optional<std::string>> before;
    for (const std::string& f : files) {
        before[f] = FileBytes(g.DataFile(f.c_str()));
        ASSERT_TRUE(before[f]) << f << " was not written by the good save";
    }

    g.ComeBack();
    g.Play(3000);
    const std::string target = g.DataFile(c.file);
    SetWriteFaultInjection({[target](const std::string& path) { return path == target; }, c.failAt});
    if (std::string(c.file) == "record2.dat") {
        g.Set().progress().TakeStrokeRecord(11);
        g.f().WriteStrokeRecord();
    } else {
        g.f().Sound().IsMusic = !g.f().Sound().IsMusic;  // something for Settei.ini to change
        g.MinimiseAndSave();
    }
    EXPECT_EQ(g.Message(), c.message);
    EXPECT_EQ(FileBytes(target), before[c.file]) << c.file << " was damaged by the failed write";
    for (const auto& e : fs::directory_iterator(fs::path(target).parent_path()))
        EXPECT_NE(e.path().extension(), ".tmp") << "a failed write left its temporary file behind: " << e.path();

    // Once writing works again the game saves, and the save can be continued.
    ClearWriteFaultInjection();
    g.ComeBack();
    g.Play(1000);
    g.MinimiseAndSave();
    EXPECT_NE(g.Message(), Msg::SaveFailed);
    g.Restart();
    EXPECT_EQ(g.f().GameProgress().Mode1HighScore(), 20);  // the last good stroke record
    if (!g.f().GameProgress().GameClear()) { EXPECT_EQ(g.Message(), Msg::ResumeQuestion); }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FailedWrite,
    testing::Values(WriteFailureCase{"newrecord.dat", WriteFailurePoint::Open, Msg::SaveFailed},
                    WriteFailureCase{"newrecord.dat", WriteFailurePoint::Write, Msg::SaveFailed},
                    WriteFailureCase{"newrecord.dat", WriteFailurePoint::Rename, Msg::SaveFailed},
                    WriteFailureCase{"Settei.ini", WriteFailurePoint::Write, kSettingsSaveFailed},
                    WriteFailureCase{"Settei.ini", WriteFailurePoint::Rename, kSettingsSaveFailed},
                    WriteFailureCase{"record2.dat", WriteFailurePoint::Open, kStrokeSaveFailed},
                    WriteFailureCase{"record2.dat", WriteFailurePoint::Write, kStrokeSaveFailed}));

// A real full disk: the data folder on a 64 KiB tmpfs, filled up after a good save.
TEST(FullDisk, SaveOnAFullTmpfsFailsAndKeepsTheEarlierFiles) {
    FaultGame g;
    const fs::path docs = g.documentsFolder;
    fs::remove_all(docs);
    fs::create_directories(docs);
    if (mount("tmpfs", docs.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here (" << std::strerror(errno) << "); the injected failures cover it";
    struct Unmount {
        fs::path at;
        ~Unmount() { umount2(at.c_str(), MNT_DETACH); }
    } unmount{docs};

    g.Restart();
    g.PlayABoard();
    g.MinimiseAndSave();
    ASSERT_NE(g.Message(), Msg::SaveFailed);
    const auto record = FileBytes(g.DataFile("newrecord.dat"));
    const auto settings = FileBytes(g.DataFile("Settei.ini"));
    ASSERT_TRUE(record && settings);

    {  // fill the disk
        std::ofstream filler(docs / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        for (int i = 0; i < 64 && filler.write(block.data(), block.size()); ++i) filler.flush();
    }
    g.ComeBack();
    g.Play(3000);
    g.MinimiseAndSave();
    EXPECT_EQ(g.Message(), Msg::SaveFailed);
    EXPECT_EQ(FileBytes(g.DataFile("newrecord.dat")), record);
    EXPECT_EQ(FileBytes(g.DataFile("Settei.ini")), settings);

    // Space again: the next save works and can be continued.
    fs::remove(docs / "filler");
    g.ComeBack();
    g.Play(1000);
    g.MinimiseAndSave();
    EXPECT_NE(g.Message(), Msg::SaveFailed);
    g.Restart();
    EXPECT_EQ(g.Message(), Msg::ResumeQuestion);
}

}  // namespace
