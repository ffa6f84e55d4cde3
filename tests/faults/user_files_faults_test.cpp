// The player's own files in every state the game cannot use as they are: a
// question file it cannot read, one saved by a Linux editor, a suspended game with
// one bad field, files without read permission, files too large, FIFOs and
// devices in place of files, links planted where a save puts its temporary file,
// private permission bits, temporary files left by a killed save. The game
// starts, plays, and leaves each file as it was or says why it could not save.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <deque>
#include <limits>

#include "game/question_table.h"
#include "persistence/atomic_file.h"
#include "persistence/ini_file.h"
#include "persistence/record_files.h"
#include "settings_dialog/settings_dialog_logic.h"
#include "tests/faults/fault_game.h"
#include "tests/test_support/unprivileged_files.h"

namespace fs = std::filesystem;
using fault_test::FaultGame;
using fault_test::FileBytes;
using fault_test::kSettingsSaveFailed;
using fault_test::kStrokeSaveFailed;

namespace {

std::string Sjis(const std::string& utf8) { return Utf8ToCp932(utf8).value(); }

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The questions of a player's file: 17 header lines, then two questions.
std::string QuestionText(const std::string& lineEnd) {
    std::string text;
    for (int i = 0; i < kAdditionalHeaderLines; ++i) text += "見出し" + std::to_string(i) + lineEnd;
    for (const char* line : {"一攫千金", "いっかくせんきん", "一度に大もうけすること", "花鳥風月", "かちょうふうげつ",
                             "自然の美しい風景"})
        text += line + lineEnd;
    return text;
}

// What is at a path, to tell "left as it was" for things that are no regular file.
std::string KindOf(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return "missing";
    if (S_ISLNK(st.st_mode)) return "link to " + fs::read_symlink(path).string();
    if (S_ISFIFO(st.st_mode)) return "FIFO";
    if (S_ISDIR(st.st_mode)) return "folder";
    return "file of " + std::to_string(st.st_size) + " bytes, mode " + std::to_string(st.st_mode & 07777);
}

std::vector<std::string> TemporaryFilesIn(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().extension() == ".tmp") found.push_back(e.path().filename().string());
    return found;
}

struct ScriptedBoxes : MessageBoxes {
    std::vector<std::string> shown;
    std::deque<Answer> answers;
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
    Answer AskYesNo(const std::string&) override {
        if (answers.empty()) return Answer::No;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
};

// The settings dialog of the current main window, opened with [S] and driven by
// a script while it is open.
struct Dialog : SettingsDialog {
    ScriptedBoxes boxes;
    std::unique_ptr<SettingsDialogLogic> logic;
    std::function<void(SettingsDialogLogic&)> whileOpen;
    void ShowModal() override {
        logic->Reopen();
        logic->FormShow();
        if (whileOpen) whileOpen(*logic);
    }
    void Open(FaultGame& g, std::function<void(SettingsDialogLogic&)> actions) {
        logic = std::make_unique<SettingsDialogLogic>(g.f(), boxes);
        g.f().SetSettingsDialog(this);
        whileOpen = std::move(actions);
        g.Char(u's');
        g.f().SetSettingsDialog(nullptr);
    }
};

// Start-up over the folders as they are now; it must not take long whatever
// they hold (a FIFO once held it for good, a 20 MB settings file for seconds).
void TimedRestart(FaultGame& g) {
    const auto start = std::chrono::steady_clock::now();
    g.Restart();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << "start-up took too long";
}

// ---- 1, 5: a question file the game cannot read ----

struct UnreadableQuestionFile {
    const char* what;
    std::function<void(const std::string& path)> make;
};

const UnreadableQuestionFile kUnreadableQuestionFiles[] = {
    {"one byte that is no code page 932",
     [](const std::string& p) { Write(p, Sjis(QuestionText("\r\n")) + "\x81\x20" + "\r\n"); }},
    {"UTF-8 mark over code page 932", [](const std::string& p) { Write(p, "\xEF\xBB\xBF" + Sjis(QuestionText("\r\n"))); }},
    {"larger than 16 MiB",
     [](const std::string& p) {
         Write(p, Sjis(QuestionText("\r\n")));
         fs::resize_file(p, kLargestQuestionFile + 1);
     }},
    {"no read permission",
     [](const std::string& p) {
         Write(p, Sjis(QuestionText("\r\n")));
         ::chmod(p.c_str(), 0200);
     }},
    {"FIFO", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }},
    {"link to /dev/zero", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }},
};

// OK, or an edit and the answer Yes to the save question, after the dialog could
// not read the question file: the voice is saved, the question file is kept byte
// for byte, and the player is told so.
TEST(UserFiles, AQuestionFileTheDialogCouldNotReadIsNeverWrittenOver) {
    ::alarm(60);  // a read that blocks on the FIFO ends the run instead of hanging it
    for (const UnreadableQuestionFile& c : kUnreadableQuestionFiles) {
        for (const bool viaSaveQuestion : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (viaSaveQuestion ? ", Yes to the save question" : ", OK"));
            FaultGame g;
            const std::string path = g.DataFile("NewTuikamondai.txt");
            c.make(path);
            const std::string kindBefore = KindOf(path);
            std::optional<std::string> bytesBefore;
            if (kindBefore.rfind("file", 0) == 0) bytesBefore = FileBytes(path);

            Dialog dialog;
            {
                WithoutFileAccessOverride asPlayer;
                TimedRestart(g);
                EXPECT_EQ(g.f().Questions().TuikaJukugos(), 0);
                EXPECT_EQ(g.Message(), Msg::Start);
                dialog.Open(g, [&](SettingsDialogLogic& d) {
                    EXPECT_EQ(dialog.boxes.shown, std::vector<std::string>{SettingsDialogText::CannotRead});
                    d.CheckRadioButtonM();
                    d.EditText("四字熟語\nよじじゅくご\n");
                    if (viaSaveQuestion) {
                        dialog.boxes.answers = {MessageBoxes::Answer::Yes};
                        d.Close();
                    } else {
                        d.BtnOKClick();
                    }
                });
                EXPECT_TRUE(dialog.logic->IsClosed());
            }
            EXPECT_EQ(dialog.boxes.shown.back(), SettingsDialogText::UnreadFileKept);
            EXPECT_EQ(KindOf(path), kindBefore);
            if (bytesBefore) {
                EXPECT_EQ(FileBytes(path), bytesBefore) << "the question file was written over";
            }
            EXPECT_EQ(LoadIniFile(g.DataFile("Settei.ini")).ini.ReadInteger("VoiceMode", "Value", -1), 1);
            EXPECT_EQ(g.f().Sound().VoiceMode, 1);
            EXPECT_TRUE(TemporaryFilesIn(g.DataFile("")).empty());
            g.PlayABoard();  // and the game goes on
            EXPECT_FALSE(g.f().Screens().Title);
        }
    }
    ::alarm(0);
}

// ---- 2: question files in the encodings editors save ----

TEST(UserFiles, QuestionFilesInUtf8OrCodePage932GiveTheSameQuestions) {
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"code page 932, CR LF", Sjis(QuestionText("\r\n"))},
        {"UTF-8, LF", QuestionText("\n")},
        {"UTF-8 with a byte-order mark, CR LF", "\xEF\xBB\xBF" + QuestionText("\r\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FaultGame g;
        Write(g.DataFile("NewTuikamondai.txt"), c.bytes);
        g.Restart();
        const QuestionBank& questions = g.f().Questions();
        ASSERT_EQ(questions.TuikaJukugos(), 2);
        EXPECT_EQ(questions.At(170).Jukugo, "一攫千金");
        EXPECT_EQ(questions.At(171).Jukugo, "花鳥風月");
        EXPECT_EQ(questions.At(170).Yomi, "いっかくせんきん");
        EXPECT_EQ(questions.At(171).Yomi, "かちょうふうげつ");
        EXPECT_EQ(questions.At(171).SpeakMoji, Sjis("かちょうふうげつ"));

        // The dialog shows the same text and writes code page 932 with CR LF.
        Dialog dialog;
        dialog.Open(g, [&](SettingsDialogLogic& d) {
            EXPECT_EQ(d.Lines()[17], "一攫千金");
            EXPECT_EQ(d.Lines().size(), 23u);
            d.BtnOKClick();
        });
        EXPECT_TRUE(dialog.boxes.shown.empty());
        EXPECT_EQ(FileBytes(g.DataFile("NewTuikamondai.txt")), Sjis(QuestionText("\r\n")));
    }

    // A UTF-8 file may hold what code page 932 cannot: read, but not written back.
    FaultGame g;
    const std::string withHokke = QuestionText("\n") + "𩸽料理\nほっけりょうり\n𩸽を使った料理\n";
    Write(g.DataFile("NewTuikamondai.txt"), withHokke);
    g.Restart();
    EXPECT_EQ(g.f().Questions().TuikaJukugos(), 3);
    Dialog dialog;
    dialog.Open(g, [&](SettingsDialogLogic& d) {
        d.EditText(d.EditorText() + "\n");
        d.BtnOKClick();
        EXPECT_FALSE(d.IsClosed());
        d.BtnCancelClick();
    });
    EXPECT_EQ(dialog.boxes.shown, std::vector<std::string>{"「𩸽」は保存できない文字です。"});
    EXPECT_EQ(FileBytes(g.DataFile("NewTuikamondai.txt")), withHokke);
}

// ---- 3: one bad field of the suspended game ----

// A completed game's record with best score 54321 and used-question marks, then
// one field spoilt: the board is not offered, but the best score and the marks
// are taken, shown and written back by the next save.
TEST(UserFiles, OneBadFieldCostsOnlyTheBoard) {
    FaultGame g;
    g.PlayABoard();
    g.Set().progress().TakeHighScore(54321);
    g.Set().Record([](TDataRec& r) { r.GameClear = 1; });
    g.MinimiseAndSave();
    std::string good = *FileBytes(g.DataFile("newrecord.dat"));
    TDataRec rec;
    std::memcpy(&rec, good.data(), sizeof rec);
    const int marks = static_cast<int>(std::count(std::begin(rec.ShutudaiSumi), std::end(rec.ShutudaiSumi), 1));
    ASSERT_EQ(marks, 4);

    struct Case {
        const char* what;
        std::function<void(TDataRec&)> spoil;
    };
    const Case cases[] = {
        {"a stone duration NaN", [](TDataRec& r) { r.Stone[5].Duration = std::numeric_limits<float>::quiet_NaN(); }},
        {"stage 9", [](TDataRec& r) { r.Stage = 9; }},
        {"block kind 99", [](TDataRec& r) { r.Block[20].BlockKind = 99; }},
        {"question number 5000", [](TDataRec& r) { r.MondaiNo[1] = 5000; }},
        {"screen width 0", [](TDataRec& r) { r.ScreenX = 0; }},
        {"ball duration infinite", [](TDataRec& r) { r.Ball[0].Duration = std::numeric_limits<float>::infinity(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TDataRec spoilt = rec;
        spoilt.GameClear = 0;  // would be offered, were the board usable
        c.spoil(spoilt);
        Write(g.DataFile("newrecord.dat"), std::string(reinterpret_cast<const char*>(&spoilt), sizeof spoilt));
        g.Restart();
        EXPECT_EQ(g.f().Scene().LblHighScore->Text, "HIGHSCORE:054321");
        EXPECT_FALSE(g.f().Screens().GameLoading) << "an unusable board is not offered";
        EXPECT_EQ(g.Message(), Msg::Start);
        EXPECT_EQ(g.f().GameProgress().BuiltInDealtCount(), marks);

        g.PlayABoard();
        g.MinimiseAndSave();
        TDataRec saved;
        const std::string after = *FileBytes(g.DataFile("newrecord.dat"));
        ASSERT_EQ(after.size(), sizeof saved);
        std::memcpy(&saved, after.data(), sizeof saved);
        EXPECT_EQ(saved.HighScore, 54321) << "the best score was lost for good";
        for (int q = 0; q < 170; ++q)
            if (rec.ShutudaiSumi[q]) {
                EXPECT_EQ(saved.ShutudaiSumi[q], 1) << "question " << q << " may be dealt again";
            }
    }
}

// ---- 4, 5: files the game cannot read are never replaced ----

TEST(UserFiles, FilesThatCannotBeReadAreNeverReplaced) {
    ::alarm(60);
    struct Case {
        const char* what;
        const char* file;
        std::function<void(const std::string& path)> make;
        const char* message;
    };
    const auto noReadPermission = [](const std::string& p) {
        Write(p, std::string(3428, '\x01'));
        ::chmod(p.c_str(), 0200);
    };
    const auto fifo = [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); };
    const Case cases[] = {
        {"no read permission", "newrecord.dat", noReadPermission, Msg::SaveFailed},
        {"FIFO", "newrecord.dat", fifo, Msg::SaveFailed},
        {"link to /dev/zero", "newrecord.dat", [](const std::string& p) { fs::create_symlink("/dev/zero", p); },
         Msg::SaveFailed},
        {"no read permission", "Settei.ini", noReadPermission, kSettingsSaveFailed},
        {"FIFO", "Settei.ini", fifo, kSettingsSaveFailed},
        {"a byte that is no code page 932", "Settei.ini",
         [](const std::string& p) { Write(p, "[IsMusic]\r\nValue=0\r\n; " + Sjis("メモ") + "\x81\x20\r\n"); },
         kSettingsSaveFailed},
        {"20 MB", "Settei.ini",
         [](const std::string& p) {
             Write(p, "[IsMusic]\r\nValue=0\r\n");
             fs::resize_file(p, 20 * 1000 * 1000);
         },
         kSettingsSaveFailed},
        {"no read permission", "record2.dat", noReadPermission, kStrokeSaveFailed},
        {"FIFO", "record2.dat", fifo, kStrokeSaveFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + ": " + c.what);
        FaultGame g;
        const std::string path = g.DataFile(c.file);
        c.make(path);
        const std::string kindBefore = KindOf(path);
        std::optional<std::string> bytesBefore;
        if (kindBefore.rfind("file", 0) == 0) bytesBefore = FileBytes(path);
        {
            WithoutFileAccessOverride asPlayer;
            TimedRestart(g);
            EXPECT_EQ(g.f().Scene().LblHighScore->Text, "HIGHSCORE:015000");
            EXPECT_TRUE(g.f().Sound().IsMusic) << "an unreadable settings file gives the defaults";
            g.PlayABoard();
            if (std::string(c.file) == "record2.dat") {
                g.Set().progress().TakeStrokeRecord(12);
                g.f().WriteStrokeRecord();
            } else {
                g.MinimiseAndSave();
            }
            EXPECT_EQ(g.Message(), c.message);
        }
        EXPECT_EQ(KindOf(path), kindBefore);
        if (bytesBefore) {
            EXPECT_EQ(FileBytes(path), bytesBefore) << "replaced";
        }
        EXPECT_TRUE(TemporaryFilesIn(g.DataFile("")).empty());
    }
    ::alarm(0);
}

// Settei.ini as a player or another editor left it: a save changes the lines of
// the values it changes and adds what is missing; every other line stays byte
// for byte, in the file's own encoding.
TEST(UserFiles, SettingsLinesTheGameDoesNotChangeStayByteForByte) {
    const std::string body = "; my notes ∵纊\n[Window]\n  Left = 10 \n[IsSound]\nvalue = 1\n[IsMusic]\nValue=1\n";
    const auto utf16le = [](const std::string& utf8) {
        std::string out;
        for (const std::string& ch : SplitUtf8Characters(utf8)) {
            if (ch == "∵") out += "\x35\x22";
            else if (ch == "纊") out += "\x8A\x7E";
            else out += std::string(1, ch[0]) + '\0';
        }
        return out;
    };
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"code page 932 with NEC-row bytes", Sjis("; my notes ") + "\x87\x9A\xED\x40" + Sjis(body.substr(body.find('\n')))},
        {"UTF-8", body},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + body},
        {"UTF-16LE", "\xFF\xFE" + utf16le(body)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FaultGame g;
        Write(g.DataFile("Settei.ini"), c.bytes);
        g.Restart();
        g.PlayABoard();
        g.MinimiseAndSave();
        EXPECT_NE(g.Message(), kSettingsSaveFailed);
        const std::string after = *FileBytes(g.DataFile("Settei.ini"));
        EXPECT_EQ(after.substr(0, c.bytes.size()), c.bytes) << "a line the game did not change was rewritten";
        const IniLoad reread = LoadIniFile(g.DataFile("Settei.ini"));
        ASSERT_EQ(reread.status, ReadStatus::Ok);
        EXPECT_TRUE(reread.ini.HasSection("Mondai3"));
        EXPECT_EQ(reread.ini.ReadInteger("VoiceMode", "Value", -1), 0);
        EXPECT_EQ(reread.ini.ReadString("Window", "Left", ""), "10");
    }
}

// The largest settings file the game still reads, a player's notes in one
// section: read and saved in moments, everything kept.
TEST(UserFiles, ALargestSettingsFileIsReadAndSavedQuickly) {
    FaultGame g;
    std::string bytes = "[IsMusic]\r\nValue=0\r\n[Notes]\r\n";
    while (bytes.size() + 64 <= kLargestSettingsFile - 4096)  // room left for the board's texts
        bytes += "Note" + std::to_string(bytes.size()) + "=a line of the player's notes\r\n";
    Write(g.DataFile("Settei.ini"), bytes);
    TimedRestart(g);
    EXPECT_FALSE(g.f().Sound().IsMusic);
    g.PlayABoard();
    const auto start = std::chrono::steady_clock::now();
    g.MinimiseAndSave();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_NE(g.Message(), kSettingsSaveFailed);
    EXPECT_EQ(FileBytes(g.DataFile("Settei.ini"))->substr(0, bytes.size()), bytes);
}

// ---- 5: temporary files ----

TEST(UserFiles, TemporaryFilesFollowNothingKeepPermissionsAndDoNotOutliveACrash) {
    FaultGame g;
    const std::string folder = g.DataFile("");
    const std::string victim = (g.root / "victim").string();
    Write(victim, "not the game's");
    // Left by a save that was killed, and planted by someone else.
    Write(g.DataFile("newrecord.dat.tmp"), "half a record");
    Write(g.DataFile("Settei.ini.x7Yz9Q.tmp"), "[IsSou");
    Write(g.DataFile("notes.tmp"), "the player's");
    fs::create_symlink(victim, g.DataFile("Settei.ini.tmp"));
    fs::create_symlink(victim, g.DataFile("record2.dat.tmp"));
    g.Restart();
    EXPECT_FALSE(fs::exists(g.DataFile("newrecord.dat.tmp")));
    EXPECT_FALSE(fs::exists(g.DataFile("Settei.ini.x7Yz9Q.tmp")));
    EXPECT_TRUE(fs::exists(g.DataFile("notes.tmp")));
    EXPECT_TRUE(fs::is_symlink(g.DataFile("Settei.ini.tmp"))) << "a link is not the game's to remove";
    fs::create_symlink(victim, g.DataFile("newrecord.dat.tmp"));

    g.PlayABoard();
    g.MinimiseAndSave();
    g.Set().progress().TakeStrokeRecord(12);
    g.f().WriteStrokeRecord();
    ASSERT_NE(g.Message(), Msg::SaveFailed);
    EXPECT_EQ(FileBytes(victim), "not the game's");

    // Files kept private stay private through later saves.
    for (const char* f : {"newrecord.dat", "Settei.ini", "record2.dat"}) ::chmod(g.DataFile(f).c_str(), 0600);
    g.ComeBack();
    g.Play(1000);
    g.MinimiseAndSave();
    g.Set().progress().TakeStrokeRecord(11);
    g.f().WriteStrokeRecord();
    for (const char* f : {"newrecord.dat", "Settei.ini", "record2.dat"})
        EXPECT_EQ(KindOf(g.DataFile(f)).substr(KindOf(g.DataFile(f)).find("mode")), "mode 384") << f;  // 0600
    EXPECT_EQ(FileBytes(victim), "not the game's");
    std::vector<std::string> temps = TemporaryFilesIn(folder);
    std::sort(temps.begin(), temps.end());
    EXPECT_EQ(temps, (std::vector<std::string>{"Settei.ini.tmp", "newrecord.dat.tmp", "notes.tmp", "record2.dat.tmp"}))
        << "only the planted links and the player's file";
}

}  // namespace
