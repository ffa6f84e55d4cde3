// The learning files' failures told like the other files': a refused
// Gakushu.tsv or Rireki.tsv named on the title, a record that could not be
// saved named in the failed-save box with the [Q]/[B] choice on the way out,
// a data folder that cannot be entered told as the folder, and the way past a
// refused file that keeps it under a new name.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "persistence/atomic_file.h"
#include "persistence/learning_file.h"
#include "platform/calendar.h"
#include "tests/faults/fault_game.h"
#include "tests/test_support/unprivileged_files.h"

namespace fs = std::filesystem;
using fault_test::FaultGame;
using fault_test::FileBytes;

namespace {

std::string NoticeOf(FaultGame& g) { return g.f().Scene().RectNotice->Visible ? g.f().Scene().LblNotice->Text : std::string(); }

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

const char* const kQuitChoice = "保存せずに終了...[Q]キー\u3000ゲームに戻る...[B]キー";

// The whole game with a calendar, so that it keeps the learning record.
struct RecordingGame : FaultGame {
    FixedCalendar calendar{"2026-12-10"};
    RecordingGame() {
        services->calendar = &calendar;
        Restart();
    }
    // Question 1 lost: the miss is recorded and its write tried at once.
    void LoseAQuestion() {
        StartAt(0, 1);
        form->Scene().ImgPad->Position.X = 2000;
        ASSERT_TRUE(RunUntil([&] { return form->GameProgress().GameOver(); }, 20000));
    }
};

struct FailingLearningSave {
    const char* name;
    std::function<bool(const std::string& path)> fails;
    WriteFailurePoint failAt;
    int errorNumber;
    const char* message;
    const char* detail;
};

TEST(LearningSaveFailure, OnTheWayOutTheBoxNamesTheFileAndTheChoiceHolds) {
    const auto endsWith = [](const char* name) {
        return [name](const std::string& p) { return p.size() >= std::strlen(name) && p.ends_with(name); };
    };
    const FailingLearningSave cases[] = {
        {"immutable Gakushu.tsv", endsWith("/Gakushu.tsv"), WriteFailurePoint::Rename, EPERM,
         "学習記録の保存に失敗しました。", "Gakushu.tsv を保存できませんでした（書き込む権限がありません）。"},
        {"disk full", [](const std::string&) { return true; }, WriteFailurePoint::Write, ENOSPC, Msg::SaveFailed,
         "newrecord.dat と Settei.ini と Gakushu.tsv を保存できませんでした（空き容量が足りません）。"},
    };
    for (const FailingLearningSave& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingGame g;
        SetWriteFaultInjection({c.fails, c.failAt, c.errorNumber});
        g.LoseAQuestion();
        const std::string lostMessage = g.Message();
        g.Key(VK_ESCAPE_KEY);
        EXPECT_FALSE(g.f().IsClosed()) << "the lost miss would go unsaved";
        EXPECT_EQ(g.Message(), c.message);
        EXPECT_EQ(NoticeOf(g), std::string(c.detail) + "\n" + kQuitChoice);

        g.Char(u'b');
        EXPECT_FALSE(g.f().IsClosed());
        EXPECT_FALSE(g.f().Scene().RectNotice->Visible);
        EXPECT_EQ(g.Message(), lostMessage);

        g.Key(VK_ESCAPE_KEY);
        EXPECT_FALSE(g.f().IsClosed());
        g.Char(u'q');
        EXPECT_TRUE(g.f().IsClosed());
        ClearWriteFaultInjection();
        EXPECT_FALSE(fs::exists(g.DataFile("Gakushu.tsv"))) << "nothing was written";
    }
}

// Different reasons get a line each; the other files' line stays as it was.
TEST(LearningSaveFailure, EachReasonHasItsLineAndTheOtherFilesLineStays) {
    RecordingGame g;
    const std::string record = g.DataFile("Gakushu.tsv");
    SetWriteFaultInjection({[record](const std::string& p) { return p == record; }, WriteFailurePoint::Rename, EPERM});
    g.LoseAQuestion();
    fs::create_directory(g.DataFile("newrecord.dat"));  // kept: never written over
    g.Key(VK_ESCAPE_KEY);
    ClearWriteFaultInjection();
    EXPECT_EQ(g.Message(), Msg::SaveFailed);
    EXPECT_EQ(NoticeOf(g),
              std::string("newrecord.dat を保存できませんでした（読めないファイルなので上書きしません）。\n"
                          "Gakushu.tsv を保存できませんでした（書き込む権限がありません）。\n") +
                  kQuitChoice);
}

TEST(LearningSaveFailure, WithTheLearningFilesFineTheBoxIsAsBefore) {
    RecordingGame g;
    g.LoseAQuestion();
    const std::string saved = g.DataFile("newrecord.dat");
    SetWriteFaultInjection({[saved](const std::string& p) { return p == saved; }, WriteFailurePoint::Write, ENOSPC});
    g.Key(VK_ESCAPE_KEY);
    ClearWriteFaultInjection();
    EXPECT_EQ(NoticeOf(g), std::string("newrecord.dat を保存できませんでした（空き容量が足りません）。\n") + kQuitChoice);
}

// Room made, [Esc] again: the miss the question's end could not write is written.
TEST(LearningSaveFailure, TryingAgainWritesTheRecordAndCloses) {
    RecordingGame g;
    const std::string record = g.DataFile("Gakushu.tsv");
    SetWriteFaultInjection({[record](const std::string& p) { return p == record; }, WriteFailurePoint::Write, ENOSPC});
    g.LoseAQuestion();
    g.Char(u'd');
    EXPECT_EQ(g.host.minimizeCount, 0) << "[D] asks as [Esc] does";
    g.Char(u'b');
    ClearWriteFaultInjection();
    g.Key(VK_ESCAPE_KEY);
    EXPECT_TRUE(g.f().IsClosed());
    const LearningLoad load = ReadLearningFile(record);
    ASSERT_EQ(load.status, LearningFileStatus::Ok);
    int missed = 0;
    for (const LearningRow& r : load.table.rows) missed += r.missed;
    EXPECT_EQ(missed, 1);
}

// ---- Start-up ----

struct RefusedAtStartup {
    const char* what;
    const char* file;
    std::function<void(const std::string& path)> make;
    const char* notice;
};

TEST(LearningFilesAtStartup, ARefusedFileIsNamedOnTheTitleUntilShift) {
    const RefusedAtStartup cases[] = {
        {"mode 000", "Gakushu.tsv",
         [](const std::string& p) {
             Write(p, "idiom\treading\tdealt\tright\tmissed\thints\tbox\tlast\tdue\n");
             ::chmod(p.c_str(), 0);
         },
         "Gakushu.tsv を読めないので、学習を記録せずに始めます（上書きしません）。"},
        {"not valid", "Gakushu.tsv", [](const std::string& p) { Write(p, "\xff\xfe\x00\x01"); },
         "Gakushu.tsv の形式が正しくないので、学習を記録せずに始めます（上書きしません）。"},
        {"too large", "Gakushu.tsv", [](const std::string& p) { Write(p, std::string(kLearningFileLimit + 1, 'x')); },
         "Gakushu.tsv が大きすぎるので、学習を記録せずに始めます（上書きしません）。"},
        {"not valid", "Rireki.tsv", [](const std::string& p) { Write(p, "when\n\xff\n"); },
         "Rireki.tsv の形式が正しくないので、ゲームの結果を記録せずに始めます（上書きしません）。"},
    };
    for (const RefusedAtStartup& c : cases) {
        SCOPED_TRACE(std::string(c.file) + ": " + c.what);
        RecordingGame g;
        c.make(g.DataFile(c.file));
        WithoutFileAccessOverride asPlayer;
        g.Restart();
        EXPECT_EQ(NoticeOf(g), c.notice);
        EXPECT_EQ(g.Message(), Msg::Start);
        g.Key(VK_SHIFT_KEY);
        EXPECT_FALSE(g.f().Scene().RectNotice->Visible);
    }
}

// With other files: one line each, the learning files last.
TEST(LearningFilesAtStartup, NamedWithTheOtherFiles) {
    RecordingGame g;
    Write(g.DataFile("Settei.ini"), "; \x81\x20\r\n");
    Write(g.DataFile("Gakushu.tsv"), "\xff");
    Write(g.DataFile("Rireki.tsv"), "\xff");
    g.Restart();
    EXPECT_EQ(NoticeOf(g),
              "Settei.ini を読めないので、初めの設定で始めます（上書きしません）。\n"
              "Gakushu.tsv の形式が正しくないので、学習を記録せずに始めます（上書きしません）。\n"
              "Rireki.tsv の形式が正しくないので、ゲームの結果を記録せずに始めます（上書きしません）。");
}

// The learning window's way past a refused file: kept under a new name, the
// title no longer names it, and recording goes on at once.
TEST(LearningFilesAtStartup, StartingAfreshKeepsTheFileAndRecordingResumes) {
    RecordingGame g;
    Write(g.DataFile("Settei.ini"), "; \x81\x20\r\n");
    Write(g.DataFile("Gakushu.tsv"), "\xff");
    g.Restart();
    ASSERT_NE(NoticeOf(g).find("Gakushu.tsv"), std::string::npos);

    const FreshStart result = g.f().StartFreshLearningRecord();
    EXPECT_TRUE(result.started) << result.told;
    EXPECT_EQ(FileBytes(g.DataFile("Gakushu.tsv.20261210-120000.bad")), "\xff");
    EXPECT_EQ(NoticeOf(g), "Settei.ini を読めないので、初めの設定で始めます（上書きしません）。");

    g.LoseAQuestion();
    EXPECT_EQ(ReadLearningFile(g.DataFile("Gakushu.tsv")).status, LearningFileStatus::Ok);
}

// A data folder that cannot be entered hides every file in it, those that are
// there (newrecord.dat) and those that are not: the folder is what is named.
TEST(LearningFilesAtStartup, ADataFolderThatCannotBeEnteredIsToldAsTheFolder) {
    const char* const kFolderLine =
        "データフォルダー TeramonData を読めないので、中断したゲーム・記録・設定・追加問題なしで始めます。";
    for (const fs::perms mode : {fs::perms::none, fs::perms::owner_read}) {
        SCOPED_TRACE(static_cast<int>(mode));
        RecordingGame g;
        g.PlayABoard();
        g.MinimiseAndSave();
        ASSERT_TRUE(fs::exists(g.DataFile("newrecord.dat")));
        fs::permissions(g.DataFile(""), mode);
        {
            WithoutFileAccessOverride asPlayer;
            g.Restart();
            EXPECT_EQ(NoticeOf(g), kFolderLine);
        }
        fs::permissions(g.DataFile(""), fs::perms::owner_all);
    }
    // A folder that may be entered but not listed hides nothing.
    RecordingGame g;
    fs::permissions(g.DataFile(""), fs::perms::owner_write | fs::perms::owner_exec);
    {
        WithoutFileAccessOverride asPlayer;
        g.Restart();
        EXPECT_EQ(NoticeOf(g), "");
    }
    fs::permissions(g.DataFile(""), fs::perms::owner_all);
}

}  // namespace
