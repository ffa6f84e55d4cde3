// What the player is told when a file fails: a save on the way out ([Esc],
// closing the window, [D]) that could not be written keeps the game on screen,
// says which file and why, and waits for [B] (back to the game) or [Q] (leave
// without saving); the 30th answer's failed save says the same; a data file the
// start-up could not read is named on the title screen until [Shift].
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "persistence/atomic_file.h"
#include "persistence/record_files.h"
#include "tests/faults/fault_game.h"
#include "tests/test_support/unprivileged_files.h"

namespace fs = std::filesystem;
using fault_test::FaultGame;
using fault_test::FileBytes;

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string NoticeOf(FaultGame& g) { return g.f().Scene().RectNotice->Visible ? g.f().Scene().LblNotice->Text : std::string(); }

// A board with the ball in play, where [Esc] and [D] act (not in the countdown).
void PlayUntilLeavingWorks(FaultGame& g) {
    g.PlayABoard();
    ASSERT_TRUE(g.PlayUntil([&] { return !g.f().CountdownRuns() && !g.f().ExplosionShows(); }, 10000));
}

std::map<std::string, std::optional<std::string>> SavedFiles(FaultGame& g) {
    std::map<std::string, std::optional<std::string>> files;
    for (const char* f : {"newrecord.dat", "Settei.ini"}) files[f] = FileBytes(g.DataFile(f));
    return files;
}

struct FailingSave {
    const char* name;
    const char* file;  // the file whose write fails
    WriteFailurePoint failAt;
    int errorNumber;
    const char* reason;       // what the notice says of it
    const char* message;      // LblMsg, as before
};

const FailingSave kFailingSaves[] = {
    {"disk full", "newrecord.dat", WriteFailurePoint::Write, ENOSPC, "空き容量が足りません", Msg::SaveFailed},
    {"quota", "newrecord.dat", WriteFailurePoint::Write, EDQUOT, "空き容量が足りません", Msg::SaveFailed},
    {"read-only file system", "newrecord.dat", WriteFailurePoint::Open, EROFS, "書き込む権限がありません",
     Msg::SaveFailed},
    {"immutable file", "newrecord.dat", WriteFailurePoint::Rename, EPERM, "書き込む権限がありません", Msg::SaveFailed},
    {"lost device", "newrecord.dat", WriteFailurePoint::Write, EIO, "書き込みでエラーが起きました", Msg::SaveFailed},
    {"settings, no permission", "Settei.ini", WriteFailurePoint::Open, EACCES, "書き込む権限がありません",
     "設定の保存に失敗しました。"},
};

enum class Leave { Escape, Minimise };

class FailedSaveOnTheWayOut : public testing::TestWithParam<std::tuple<FailingSave, Leave>> {
protected:
    void TearDown() override { ClearWriteFaultInjection(); }
};

TEST_P(FailedSaveOnTheWayOut, KeepsTheGameSaysWhichFileAndWhyAndLetsThePlayerChoose) {
    const auto [c, leave] = GetParam();
    FaultGame g;
    PlayUntilLeavingWorks(g);
    g.MinimiseAndSave();  // a good save to keep
    g.ComeBack();
    ASSERT_TRUE(g.PlayUntil([&] { return !g.f().CountdownRuns() && !g.f().ExplosionShows(); }, 10000));
    const auto before = SavedFiles(g);
    const bool playing = !g.f().Screens().Pause && !g.f().GameProgress().Clear() && !g.f().GameProgress().GameOver();
    const std::string messageBefore = playing ? std::string(Msg::Paused) : g.Message();
    const int minimisedBefore = g.host.minimizeCount;

    const std::string target = g.DataFile(c.file);
    SetWriteFaultInjection({[target](const std::string& p) { return p == target; }, c.failAt, c.errorNumber});
    const auto leaveKey = [&] { leave == Leave::Escape ? g.Key(VK_ESCAPE_KEY) : g.Char(u'd'); };
    leaveKey();

    // Still here, paused, saying so: the message as before, and under it the file,
    // the reason and the two keys.
    EXPECT_FALSE(g.f().IsClosed());
    EXPECT_EQ(g.host.minimizeCount, minimisedBefore);
    EXPECT_EQ(g.Message(), c.message);
    const std::string notice = NoticeOf(g);
    EXPECT_TRUE(Contains(notice, std::string(c.file) + " を保存できませんでした（" + c.reason + "）。")) << notice;
    EXPECT_TRUE(Contains(notice, leave == Leave::Escape ? "保存せずに終了...[Q]キー" : "保存せずに最小化...[Q]キー"))
        << notice;
    EXPECT_TRUE(Contains(notice, "ゲームに戻る...[B]キー")) << notice;
    if (playing) {
        EXPECT_TRUE(g.f().Screens().Pause);
    }
    g.Run(3000);  // nothing closes or goes on by itself
    EXPECT_FALSE(g.f().IsClosed());
    EXPECT_TRUE(g.f().Scene().RectNotice->Visible);

    // [B]: back where the player was, the notice gone.
    g.Char(u'b');
    EXPECT_FALSE(g.f().IsClosed());
    EXPECT_FALSE(g.f().Scene().RectNotice->Visible);
    EXPECT_EQ(g.Message(), messageBefore);

    // Trying again while it still fails asks again; [Q] leaves without saving.
    leaveKey();
    EXPECT_FALSE(g.f().IsClosed());
    EXPECT_TRUE(g.f().Scene().RectNotice->Visible);
    g.Char(u'q');
    if (leave == Leave::Escape) {
        EXPECT_TRUE(g.f().IsClosed());
    } else {
        EXPECT_EQ(g.host.minimizeCount, minimisedBefore + 1);
        EXPECT_TRUE(g.f().Screens().IsMinimized);
        EXPECT_FALSE(g.f().IsClosed());
    }
    EXPECT_EQ(SavedFiles(g), before) << "a failed save changed a file";
}

INSTANTIATE_TEST_SUITE_P(Faults, FailedSaveOnTheWayOut,
                         testing::Combine(testing::ValuesIn(kFailingSaves),
                                          testing::Values(Leave::Escape, Leave::Minimise)),
                         [](const auto& info) {
                             std::string name = std::string(std::get<0>(info.param).name) +
                                                (std::get<1>(info.param) == Leave::Escape ? "_Esc" : "_D");
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

// Back to the game, room made, [Esc] again: the game is saved and the program ends.
TEST(FailedSaveOnTheWayOut, TryingAgainLaterSavesAndCloses) {
    FaultGame g;
    PlayUntilLeavingWorks(g);
    const std::string record = g.DataFile("newrecord.dat");
    SetWriteFaultInjection({[record](const std::string& p) { return p == record; }, WriteFailurePoint::Write, ENOSPC});
    g.Key(VK_ESCAPE_KEY);
    ASSERT_FALSE(g.f().IsClosed());
    g.Char(u'b');
    ClearWriteFaultInjection();
    g.Set().Record([](TDataRec& r) { r.TotalScore = 4321; });  // something only this save can have written
    g.Key(VK_ESCAPE_KEY);
    EXPECT_TRUE(g.f().IsClosed());
    TDataRec rec{};
    ASSERT_EQ(ReadDataRecFile(record, rec), ReadStatus::Ok);
    EXPECT_EQ(rec.TotalScore, 4321);
}

// Another key than [Q] or [B] goes back to the game and does what it does.
TEST(FailedSaveOnTheWayOut, AnyOtherKeyGoesBackAndActs) {
    FaultGame g;
    PlayUntilLeavingWorks(g);
    SetWriteFaultInjection({[](const std::string&) { return true; }, WriteFailurePoint::Open, EACCES});
    g.Key(VK_ESCAPE_KEY);
    ASSERT_TRUE(g.f().Screens().Pause);
    g.Char(u'a');  // resume
    ClearWriteFaultInjection();
    EXPECT_FALSE(g.f().Screens().Pause);
    EXPECT_FALSE(g.f().Scene().RectNotice->Visible);
    EXPECT_FALSE(g.f().IsClosed());
    g.Char(u'q');  // no question is open: nothing happens
    EXPECT_FALSE(g.f().IsClosed());
}

// Real failures, not injected ones: a full tmpfs, a read-only data folder, an
// unreadable newrecord.dat, and HOME's documents folder being a file.
TEST(FailedSaveOnTheWayOut, RealFailuresNameTheirReason) {
    {
        SCOPED_TRACE("read-only data folder");
        FaultGame g;
        PlayUntilLeavingWorks(g);
        WithoutFileAccessOverride asPlayer;
        ::chmod(g.DataFile("").c_str(), 0555);
        g.Key(VK_ESCAPE_KEY);
        ::chmod(g.DataFile("").c_str(), 0755);
        EXPECT_FALSE(g.f().IsClosed());
        EXPECT_TRUE(Contains(NoticeOf(g), "newrecord.dat と Settei.ini を保存できませんでした（書き込む権限がありません）"))
            << NoticeOf(g);
    }
    {
        SCOPED_TRACE("newrecord.dat at mode 000");
        FaultGame g;
        PlayUntilLeavingWorks(g);
        std::ofstream(g.DataFile("newrecord.dat")) << "kept";
        ::chmod(g.DataFile("newrecord.dat").c_str(), 0);
        WithoutFileAccessOverride asPlayer;
        g.Char(u'd');
        EXPECT_EQ(g.host.minimizeCount, 0);
        EXPECT_TRUE(Contains(NoticeOf(g), "newrecord.dat を保存できませんでした（書き込む権限がありません）"))
            << NoticeOf(g);
    }
    {
        SCOPED_TRACE("the data folder's parent is a file");
        FaultGame g;
        fs::remove_all(g.MakerFolder());
        std::ofstream(g.MakerFolder()) << "not a folder";
        g.Restart();
        PlayUntilLeavingWorks(g);
        g.Key(VK_ESCAPE_KEY);
        EXPECT_FALSE(g.f().IsClosed());
        EXPECT_TRUE(Contains(NoticeOf(g), "（保存先のフォルダーがありません）")) << NoticeOf(g);
    }
    {
        SCOPED_TRACE("full disk");
        FaultGame g;
        const fs::path docs = g.documentsFolder;
        fs::remove_all(docs);
        fs::create_directories(docs);
        if (mount("tmpfs", docs.c_str(), "tmpfs", 0, "size=64k") != 0) {
            std::cerr << "cannot mount a tmpfs here (" << std::strerror(errno) << "): full disk not tried\n";
            return;
        }
        struct Unmount {
            fs::path at;
            ~Unmount() { umount2(at.c_str(), MNT_DETACH); }
        } unmount{docs};
        g.Restart();
        PlayUntilLeavingWorks(g);
        {
            std::ofstream filler(docs / "filler", std::ios::binary);
            const std::string block(4096, 'x');
            for (int i = 0; i < 64 && filler.write(block.data(), block.size()); ++i) filler.flush();
        }
        g.Key(VK_ESCAPE_KEY);
        EXPECT_FALSE(g.f().IsClosed());
        EXPECT_TRUE(Contains(NoticeOf(g), "newrecord.dat と Settei.ini を保存できませんでした（空き容量が足りません）"))
            << NoticeOf(g);
        g.Char(u'q');
        EXPECT_TRUE(g.f().IsClosed());
    }
}

// The save at the 30th answer: the message as before, the file and the reason under it.
TEST(FailedSaveAtTheLastAnswer, SaysWhichFileAndWhy) {
    FaultGame g;
    const std::string record = g.DataFile("newrecord.dat");
    SetWriteFaultInjection({[record](const std::string& p) { return p == record; }, WriteFailurePoint::Write, ENOSPC});
    g.StartAt(0, 30);
    g.HitBlockFromBelow(g.GapColumn(g.f().GameBoard().BallSeikaiMojiNo()));
    ClearWriteFaultInjection();
    ASSERT_TRUE(g.f().GameProgress().GameClear());
    EXPECT_EQ(g.Message(), Msg::SaveFailed);
    EXPECT_EQ(NoticeOf(g), "newrecord.dat を保存できませんでした（空き容量が足りません）。");
    g.Run(5000);  // the ending runs its course; the notice stays until [Shift]
    EXPECT_EQ(g.Message(), std::string(Msg::SaveFailed) + Msg::GameClearRestart);
    EXPECT_TRUE(g.f().Scene().RectNotice->Visible);
    EXPECT_FALSE(g.f().IsClosed());
    g.Key(VK_SHIFT_KEY);
    EXPECT_FALSE(g.f().Scene().RectNotice->Visible);
}

// ---- Start-up ----

std::string Sjis(const std::string& utf8) { return Utf8ToCp932(utf8).value(); }

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Everything in the data folder: names, modes and bytes.
std::map<std::string, std::string> FolderState(const std::string& folder) {
    std::map<std::string, std::string> state;
    for (const auto& e : fs::directory_iterator(folder)) {
        struct stat st;
        ::lstat(e.path().c_str(), &st);
        state[e.path().filename().string()] =
            std::to_string(st.st_mode) + ":" + FileBytes(e.path().string()).value_or("<unreadable>");
    }
    return state;
}

struct UnreadableAtStartup {
    const char* what;
    const char* file;
    std::function<void(const std::string& path)> make;
    const char* notice;
};

TEST(UnreadableAtStartup, TheTitleNamesTheFileAndWhatTheGameDoesUntilShift) {
    const auto mode000 = [](const std::string& bytes) {
        return [bytes](const std::string& p) {
            Write(p, bytes);
            ::chmod(p.c_str(), 0);
        };
    };
    std::string questions;
    for (int i = 0; i < 17; ++i) questions += "見出し\r\n";
    questions += "一攫千金\r\nいっかくせんきん\r\n一度に大もうけすること\r\n";
    const UnreadableAtStartup cases[] = {
        {"an undecodable byte", "NewTuikamondai.txt",
         [&](const std::string& p) { Write(p, Sjis(questions) + "\x81\x20\r\n"); },
         "NewTuikamondai.txt を読めないので、追加問題なしで始めます。"},
        {"mode 000", "NewTuikamondai.txt", mode000(Sjis(questions)),
         "NewTuikamondai.txt を読めないので、追加問題なしで始めます。"},
        {"mode 000", "newrecord.dat", mode000(std::string(3428, '\0')),
         "newrecord.dat を読めないので、中断したゲームとハイスコアなしで始めます（上書きしません）。"},
        {"a game with a bad field", "newrecord.dat",
         [](const std::string& p) { Write(p, std::string(3428, '\x7F')); },
         "newrecord.dat の中断したゲームが正しくないので、続きからは始められません。"},
        {"mode 000", "Settei.ini", mode000("[IsMusic]\r\nValue=0\r\n"),
         "Settei.ini を読めないので、初めの設定で始めます（上書きしません）。"},
        {"an undecodable byte", "Settei.ini",
         [](const std::string& p) { Write(p, "[IsMusic]\r\nValue=0\r\n; \x81\x20\r\n"); },
         "Settei.ini を読めないので、初めの設定で始めます（上書きしません）。"},
        {"mode 000", "record2.dat", mode000(std::string("\x0C\0\0\0", 4)),
         "record2.dat を読めないので、最小打数は030から始めます。"},
    };
    for (const UnreadableAtStartup& c : cases) {
        SCOPED_TRACE(std::string(c.file) + ": " + c.what);
        FaultGame g;
        c.make(g.DataFile(c.file));
        const auto folderBefore = FolderState(g.DataFile(""));
        {
            WithoutFileAccessOverride asPlayer;
            g.Restart();
            EXPECT_EQ(NoticeOf(g), c.notice);
            EXPECT_EQ(g.Message(), Msg::Start) << "the title's own message stays";
            // Music and sound are not touched: the title writes nothing.
            g.Run(2000);
            g.Key(VK_ESCAPE_KEY);
            EXPECT_TRUE(g.f().IsClosed());
        }
        EXPECT_EQ(FolderState(g.DataFile("")), folderBefore) << "the title screen wrote something";

        WithoutFileAccessOverride asPlayer;
        g.Restart();
        g.Key(VK_SHIFT_KEY);
        EXPECT_FALSE(g.f().Scene().RectNotice->Visible) << "[Shift] takes the notice away";
    }
}

// Files that are fine, or missing, are nothing to tell; several that are not
// are all named, one line each.
TEST(UnreadableAtStartup, NothingToTellAndSeveralToTell) {
    {
        FaultGame g;
        g.Restart();
        EXPECT_FALSE(g.f().Scene().RectNotice->Visible) << NoticeOf(g);
        PlayUntilLeavingWorks(g);
        g.MinimiseAndSave();
        g.Restart();
        EXPECT_FALSE(g.f().Scene().RectNotice->Visible) << NoticeOf(g);
        EXPECT_EQ(g.Message(), Msg::ResumeQuestion);
    }
    {
        FaultGame g;
        Write(g.DataFile("Settei.ini"), "; \x81\x20\r\n");
        Write(g.DataFile("NewTuikamondai.txt"), "\x81\x20");
        g.Restart();
        const std::string notice = NoticeOf(g);
        EXPECT_TRUE(Contains(notice, "NewTuikamondai.txt")) << notice;
        EXPECT_TRUE(Contains(notice, "\nSettei.ini")) << notice;
    }
}

}  // namespace
