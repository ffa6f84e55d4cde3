// The main window's side of the saved files: a game suspended in one run and
// continued in the next, the start-up reads, and saves that fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>

#include "game/services.h"
#include "game/tform1.h"
#include "persistence/record_files.h"
#include "platform/text_codec.h"
#include "tests/test_support/game_state_set_up.h"
#include "tests/test_support/headless_window_host.h"
#include "tests/test_support/recording_audio.h"
#include "tests/test_support/program_run.h"

namespace {

using game_test::Folders;
using game_test::ProgramRun;

// Question 11 (stage 2) dealt and its countdown over: ball 0 has been released.
void StartStageTwoQuestion(ProgramRun& run) {
    TForm1& g = run.f();
    GameStateSetUp(g).NextQuestion(11);
    run.Shift();
    run.app.RunFor(5050);
    ASSERT_EQ(g.GameBoard().MovingBallNo(), 0);
    ASSERT_EQ(g.GameProgress().Stage(), 2);
}

TDataRec RecordOnDisk(const Folders& folders) {
    TDataRec rec{};
    EXPECT_EQ(ReadDataRecFile(folders.Data("newrecord.dat"), rec), ReadStatus::Ok);
    return rec;
}

}  // namespace

// Saved mid-question at 800 x 600, continued at 1600 x 900: every position and
// stop value scaled, durations as they were, the ball and the falling stone
// held until [A] and then moving on from where they stood.
TEST(SaveGame, SuspendedAtOneSizeContinuedAtAnother) {
    Folders folders;
    struct Held { float x, y; };
    Held ball{}, stone{};
    std::array<float, kBlocks> blockX{};
    std::array<bool, kBlocks> blockVisible{};
    int mondai[4];
    {
        ProgramRun a(folders.program, folders.documents, 800, 600);
        StartStageTwoQuestion(a);
        TForm1& g = a.f();
        // The ball on an upward leg, a stone falling from block 20.
        g.Scene().FloatAniBallX[0]->StopValue = 700;
        g.Scene().FloatAniBallX[0]->Duration = 1.0f;
        g.Scene().FloatAniBallY[0]->StopValue = 100;
        g.Scene().FloatAniBallY[0]->Duration = 1.0f;
        g.Scene().FloatAniBallX[0]->Start();
        g.Scene().FloatAniBallY[0]->Start();
        g.Scene().ImgStone[20]->Visible = true;
        g.Scene().ImgStone[20]->Bitmap.LoadFromFile(g.AssetPath("Data/Png/stone.png"));
        g.Scene().FloatAniStoneY[20]->StopValue = 600;
        g.Scene().FloatAniStoneY[20]->Duration = 2.0f;
        g.Scene().FloatAniStoneY[20]->Start();
        a.app.RunFor(300);
        a.Char(u'd');  // minimise: pauses, then saves
        ASSERT_TRUE(g.Screens().Pause);
        ball = {g.Scene().ImgBall[0]->Position.X, g.Scene().ImgBall[0]->Position.Y};
        stone = {g.Scene().ImgStone[20]->Position.X, g.Scene().ImgStone[20]->Position.Y};
        ASSERT_GT(stone.y, g.Scene().ImgBlock[20]->Position.Y) << "the stone had begun to fall";
        for (int i = 0; i < kBlocks; ++i) {
            blockX[i] = g.Scene().ImgBlock[i]->Position.X;
            blockVisible[i] = g.Scene().ImgBlock[i]->Visible;
        }
        for (int k = 0; k < 4; ++k) mondai[k] = g.GameBoard().MondaiNo()[k];
        const TDataRec rec = RecordOnDisk(folders);
        EXPECT_EQ(rec.ScreenX, 800);
        EXPECT_EQ(rec.ScreenY, 600);
        EXPECT_EQ(rec.MovingBallNo, 0);
        EXPECT_FLOAT_EQ(rec.Ball[0].X, ball.x);
        EXPECT_FLOAT_EQ(rec.Stone[20].Y, stone.y);
        EXPECT_EQ(rec.GameClear, 0);
    }

    ProgramRun b(folders.program, folders.documents, 1600, 900);
    TForm1& g = b.f();
    EXPECT_TRUE(g.Screens().GameLoading);
    EXPECT_EQ(g.Scene().LblMsg->Text, Msg::ResumeQuestion);
    const std::array<float, kBlocks> createdBlockY = [&] {
        std::array<float, kBlocks> y{};
        for (int i = 0; i < kBlocks; ++i) y[i] = g.Scene().ImgBlock[i]->Position.Y;
        return y;
    }();
    b.Char(u'y');

    EXPECT_FALSE(g.Screens().Title);
    EXPECT_TRUE(g.Screens().Pause);
    EXPECT_EQ(g.Scene().LblMsg->Text, Msg::ContinuedPaused);
    EXPECT_EQ(g.GameProgress().Stage(), 2);
    EXPECT_EQ(g.GameProgress().MondaiCount(), 11);
    EXPECT_EQ(g.Scene().LblMondaiCount->Text, "第11問");
    for (int k = 0; k < 4; ++k) EXPECT_EQ(g.GameBoard().MondaiNo()[k], mondai[k]);
    for (int i = 0; i < kBlocks; ++i) {
        EXPECT_FLOAT_EQ(g.Scene().ImgBlock[i]->Position.X, blockX[i] * 2) << "block " << i;
        EXPECT_FLOAT_EQ(g.Scene().ImgBlock[i]->Position.Y, createdBlockY[i]) << "block " << i;
        EXPECT_EQ(g.Scene().ImgBlock[i]->Visible, blockVisible[i]) << "block " << i;
    }
    EXPECT_FLOAT_EQ(g.Scene().ImgBall[0]->Position.X, ball.x * 2);
    EXPECT_FLOAT_EQ(g.Scene().ImgBall[0]->Position.Y, ball.y * 1.5f);
    EXPECT_FLOAT_EQ(g.Scene().FloatAniBallX[0]->StopValue, 1400);
    EXPECT_FLOAT_EQ(g.Scene().FloatAniBallY[0]->StopValue, 150);
    EXPECT_FLOAT_EQ(g.Scene().FloatAniBallX[0]->Duration, 1.0f);
    EXPECT_FLOAT_EQ(g.Scene().FloatAniBallY[0]->Duration, 1.0f);
    EXPECT_FLOAT_EQ(g.Scene().FloatAniBallX[1]->StopValue, 0);
    EXPECT_FLOAT_EQ(g.Scene().FloatAniBallY[2]->StopValue, 0);
    EXPECT_TRUE(g.Scene().ImgStone[20]->Visible);
    EXPECT_FLOAT_EQ(g.Scene().ImgStone[20]->Position.X, stone.x * 2);
    EXPECT_FLOAT_EQ(g.Scene().ImgStone[20]->Position.Y, stone.y * 1.5f);
    EXPECT_FLOAT_EQ(g.Scene().FloatAniStoneY[20]->StopValue, 900);
    EXPECT_FLOAT_EQ(g.Scene().FloatAniStoneY[20]->Duration, 2.0f);
    EXPECT_FALSE(g.Scene().ImgStone[5]->Visible);
    EXPECT_FLOAT_EQ(g.Scene().ImgStone[5]->Position.X, g.Scene().ImgBlock[5]->Position.X);
    EXPECT_FLOAT_EQ(g.Scene().ImgStone[5]->Position.Y, g.Scene().ImgBlock[5]->Position.Y);
    // The top row shows the idioms with the gaps empty.
    for (int c = 0; c < 16; ++c) {
        const bool gap = g.GameBoard().UnVisibleMojiNo()[c / 4] == c % 4;
        EXPECT_EQ(g.Scene().TextBlockMoji[c]->Text.empty(), gap) << "column " << c;
    }
    EXPECT_FALSE(g.Scene().TextBallMoji[0]->Text.empty());
    EXPECT_EQ(g.Scene().LblKaitoMoji->Text, g.Scene().TextBallMoji[0]->Text);

    // Nothing moves until [A]; then the ball and the stone go on from their places.
    b.app.RunFor(200);
    EXPECT_FLOAT_EQ(g.Scene().ImgBall[0]->Position.X, ball.x * 2);
    EXPECT_FLOAT_EQ(g.Scene().ImgStone[20]->Position.Y, stone.y * 1.5f);
    b.Char(u'a');
    EXPECT_FALSE(g.Screens().Pause);
    b.app.RunFor(100);
    EXPECT_GT(g.Scene().ImgBall[0]->Position.X, ball.x * 2);
    EXPECT_LT(g.Scene().ImgBall[0]->Position.Y, ball.y * 1.5f);
    EXPECT_GT(g.Scene().ImgStone[20]->Position.Y, stone.y * 1.5f);
    EXPECT_LT(g.Scene().ImgStone[20]->Position.Y, stone.y * 1.5f + 900.0f * 0.2f) << "a 2 s fall, not a restart";
}

// Additional questions travel with the saved board: a slot whose question is no
// longer in the list comes back under the next free number from the saved
// texts. A save in the stroke challenge leaves both the record and those texts.
TEST(SaveGame, AdditionalQuestionComesBackFromTheSettingsFile) {
    Folders folders;
    const std::string speak = *Utf8ToCp932("イチゴ/イチエ");
    auto addQuestion = [](TForm1& g, const std::string& idiom, const std::string& speech) {
        g.Questions().Append({idiom, "よみ", "意味", speech});
        GameStateSetUp(g).progress().AddAdditionalQuestion(false);
    };
    std::string recordBytes, settingsBytes;
    {
        ProgramRun a(folders.program, folders.documents, 800, 600);
        StartStageTwoQuestion(a);
        TForm1& g = a.f();
        addQuestion(g, "温故知新", "");
        addQuestion(g, "日進月歩", "");
        addQuestion(g, "一期一会", speak);
        GameStateSetUp(g).board().DealSlot(1, 172);
        g.SaveGame();
        recordBytes = ReadBytes(folders.Data("newrecord.dat"));
        settingsBytes = ReadBytes(folders.Data("Settei.ini"));
        EXPECT_NE(settingsBytes.find("[Mondai1]\r\nJukugo=" + *Utf8ToCp932("一期一会")), std::string::npos);

        // The stroke challenge changes the settings only.
        GameStateSetUp(g).progress().StartStrokeChallenge();
        g.Sound().IsMusic = false;
        g.SaveGame();
        EXPECT_EQ(ReadBytes(folders.Data("newrecord.dat")), recordBytes);
        const std::string after = ReadBytes(folders.Data("Settei.ini"));
        EXPECT_EQ(after.substr(0, after.find("[IsSound]")), settingsBytes.substr(0, settingsBytes.find("[IsSound]")));
        EXPECT_NE(after.find("[IsMusic]\r\nValue=0\r\n"), std::string::npos);
    }

    // The next run has only two additional questions.
    ProgramRun b(folders.program, folders.documents, 800, 600, [&](TForm1& g) {
        addQuestion(g, "温故知新", "");
        addQuestion(g, "日進月歩", "");
    });
    TForm1& g = b.f();
    ASSERT_TRUE(g.Screens().GameLoading);
    const int dealtBefore = g.GameProgress().DealtCount();
    b.Char(u'y');
    EXPECT_EQ(g.GameBoard().MondaiNo()[1], 172);
    ASSERT_EQ(g.Questions().TuikaJukugos(), 3);
    EXPECT_EQ(g.Questions().At(172).Jukugo, "一期一会");
    EXPECT_EQ(g.Questions().At(172).SpeakMoji, speak);
    EXPECT_TRUE(g.GameProgress().IsDealt(172));
    EXPECT_EQ(g.GameProgress().DealtCount(), dealtBefore + 1);
    for (int p = 0; p < 4; ++p) {
        if (g.GameBoard().UnVisibleMojiNo()[1] == p) continue;
        EXPECT_EQ(g.Scene().TextBlockMoji[4 + p]->Text, Utf16UnitCharacter("一期一会", p)) << "position " << p;
    }
}

// Start-up with saved files of every kind: what the title shows and what [Y]
// then does. Unusable records count as unreadable; none of them crashes.
TEST(SaveGame, StartupReadsAndUnusableRecords) {
    // A record of a game in the middle of a question, as a save writes it.
    Folders source;
    TDataRec good{};
    {
        ProgramRun a(source.program, source.documents, 800, 600);
        StartStageTwoQuestion(a);
        GameStateSetUp(a.f()).progress().TakeHighScore(23450);
        a.f().SaveGame();
        good = RecordOnDisk(source);
    }
    const std::string goodBytes(reinterpret_cast<const char*>(&good), sizeof good);
    auto withRecord = [&](const std::function<void(TDataRec&)>& change) {
        TDataRec r = good;
        change(r);
        return std::string(reinterpret_cast<const char*>(&r), sizeof r);
    };

    struct Case {
        const char* name;
        std::string record;   // newrecord.dat; "<dir>" puts a folder there
        std::string stroke;   // record2.dat; empty: none
        std::string settings; // Settei.ini; empty: none
        bool resumable;
        int highScore;
        const char* strokeLabel;
        bool musicStopShown;
        bool boardUsable;  // [Y] on the title continues it
        int marks;         // used-question marks taken from the record
    };
    // A broken board costs only the board: the best score and the marks are
    // still taken when they are present and in range.
    const Case cases[] = {
        {"middle of a question", goodBytes, Hex("0C 00 00 00"), "", true, 23450, "最小打数:012", false, true, 4},
        {"count of used questions disagrees with the marks",
         withRecord([](TDataRec& r) { r.ShutudaiSumiCount = 0; }), "", "", true, 23450, "最小打数:030", false, true, 4},
        {"completed game", withRecord([](TDataRec& r) { r.GameClear = 1; r.Clear = 1; }), Hex("E8 03 00 00"),
         "[ismusic]\r\nvalue=0\r\n", false, 23450, "最小打数:---", true, true, 4},
        {"truncated before the best score", goodBytes.substr(0, 3000), "", "", false, 15000, "最小打数:030", false,
         false, 4},
        {"garbage", std::string(3428, '\xA7'), "", "", false, 15000, "最小打数:030", false, false, 0},
        {"stage 9", withRecord([](TDataRec& r) { r.Stage = 9; }), "", "", false, 23450, "最小打数:030", false, false,
         4},
        {"screen 0", withRecord([](TDataRec& r) { r.ScreenX = 0; }), "", "", false, 23450, "最小打数:030", false,
         false, 4},
        {"question 300", withRecord([](TDataRec& r) { r.MondaiNo[2] = 300; }), "", "", false, 23450,
         "最小打数:030", false, false, 4},
        {"a used-question mark of 2", withRecord([](TDataRec& r) { r.ShutudaiSumi[3] = 2; }), "", "", true, 23450,
         "最小打数:030", false, true, 0},
        {"best score negative", withRecord([](TDataRec& r) { r.HighScore = -3; }), "", "", true, 15000,
         "最小打数:030", false, true, 4},
        {"unreadable", "<dir>", "", "", false, 15000, "最小打数:030", false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Folders folders;
        std::filesystem::create_directories(folders.Data(""));
        if (c.record == "<dir>")
            std::filesystem::create_directory(folders.Data("newrecord.dat"));
        else
            WriteBytes(folders.Data("newrecord.dat"), c.record);
        if (!c.stroke.empty()) WriteBytes(folders.Data("record2.dat"), c.stroke);
        if (!c.settings.empty()) WriteBytes(folders.Data("Settei.ini"), c.settings);

        bool gameClearAfterCreate = false;
        int marks = -1, markCount = -2;
        ProgramRun run(folders.program, folders.documents, 800, 600, [&](TForm1& g) {
            gameClearAfterCreate = g.GameProgress().GameClear();
            marks = g.GameProgress().BuiltInDealtCount();
            markCount = g.GameProgress().DealtCount();
        });
        TForm1& g = run.f();
        EXPECT_EQ(g.Screens().GameLoading, c.resumable);
        EXPECT_EQ(gameClearAfterCreate, !c.resumable);
        EXPECT_EQ(markCount, marks) << "the deal relies on the count matching the marks";
        EXPECT_EQ(marks, c.marks);
        EXPECT_EQ(g.GameProgress().HighScore(), c.highScore);
        EXPECT_EQ(g.Scene().LblHighScore->Text, "HIGHSCORE:" + ZeroPad(c.highScore, 6));
        EXPECT_EQ(g.Scene().LblMsg->Text, c.resumable ? Msg::ResumeQuestion : Msg::Start);
        EXPECT_EQ(g.Scene().LblMode1HighScore->Text, c.strokeLabel);
        EXPECT_EQ(g.Scene().ImgMusicStop->Visible, c.musicStopShown);
        EXPECT_FALSE(g.Scene().ImgSoundStop->Visible);

        // [Y] on the title loads whatever was read at start-up, if it can be used.
        const int stageBefore = g.GameProgress().Stage();
        run.Char(u'y');
        if (!c.boardUsable) {
            EXPECT_EQ(g.Scene().LblMsg->Text, Msg::LoadFailed);
            EXPECT_EQ(g.GameProgress().Stage(), stageBefore);
            EXPECT_TRUE(g.Screens().Title);
        } else {
            EXPECT_EQ(g.GameProgress().Stage(), 2);
            EXPECT_EQ(g.Scene().LblMsg->Text, c.resumable ? Msg::ContinuedPaused : Msg::ContinuedOver);
        }
        // The files stay as they were.
        if (c.record != "<dir>") {
            EXPECT_EQ(ReadBytes(folders.Data("newrecord.dat")), c.record);
        }
    }
}

// Writes that fail: the messages, the old files intact, the game going on.
TEST(SaveGame, FailedWrites) {
    Folders folders;
    ProgramRun run(folders.program, folders.documents, 800, 600);
    StartStageTwoQuestion(run);
    TForm1& g = run.f();
    g.SaveGame();
    ASSERT_EQ(ReadBytes(folders.Data("newrecord.dat")).size(), 3428u);
    WriteBytes(folders.Data("record2.dat"), Hex("0C 00 00 00"));

    struct Case {
        const char* name;
        const char* blockedFile;  // its write fails; nullptr: both writes fail
        const char* expectedMessage;
    };
    const Case cases[] = {
        {"suspended game", "newrecord.dat", Msg::SaveFailed},
        {"settings", "Settei.ini", "設定の保存に失敗しました。"},
        {"both", nullptr, Msg::SaveFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string record = ReadBytes(folders.Data("newrecord.dat"));
        const std::string blocked = c.blockedFile ? folders.Data(c.blockedFile) : std::string();
        SetWriteFaultInjection({[blocked, &folders](const std::string& path) {
                                    return blocked.empty() ? path != folders.Data("record2.dat") : path == blocked;
                                },
                                WriteFailurePoint::Open});
        g.Scene().LblMsg->Visible = false;
        GameStateSetUp(g).Record([](TDataRec& r) { r.TotalScore += 100; });  // something a successful save would have written
        g.Sound().IsMusic = !g.Sound().IsMusic;
        g.SaveGame();
        EXPECT_TRUE(g.Scene().LblMsg->Visible);
        EXPECT_EQ(g.Scene().LblMsg->Text, c.expectedMessage);
        const bool recordBlocked = !c.blockedFile || std::string(c.blockedFile) == "newrecord.dat";
        if (recordBlocked) {
            EXPECT_TRUE(ReadBytes(folders.Data("newrecord.dat")) == record) << "the old record is kept";
        } else {
            EXPECT_EQ(RecordOnDisk(folders).TotalScore, g.GameProgress().TotalScore());
        }
        ClearWriteFaultInjection();
    }

    // The stroke record: written when it can be, reported when not.
    GameStateSetUp(g).progress().TakeStrokeRecord(11);
    g.WriteStrokeRecord();
    EXPECT_EQ(ReadBytes(folders.Data("record2.dat")), Hex("0B 00 00 00"));
    SetWriteFaultInjection({[&folders](const std::string& path) { return path == folders.Data("record2.dat"); },
                            WriteFailurePoint::Write});
    g.Scene().LblMsg->Visible = false;
    GameStateSetUp(g).progress().TakeStrokeRecord(9);
    g.WriteStrokeRecord();
    ClearWriteFaultInjection();
    EXPECT_TRUE(g.Scene().LblMsg->Visible);
    EXPECT_EQ(g.Scene().LblMsg->Text, "最小打数の保存に失敗しました。");
    EXPECT_EQ(ReadBytes(folders.Data("record2.dat")), Hex("0B 00 00 00"));
    EXPECT_EQ(g.GameProgress().Mode1HighScore(), 9);
}

// Back from the stroke challenge, [Y] reads the file again rather than the copy
// from start-up, and a file spoilt in the meantime changes nothing.
TEST(SaveGame, ContinuingAfterTheStrokeChallengeReadsTheFileAgain) {
    Folders folders;
    ProgramRun run(folders.program, folders.documents, 800, 600);
    StartStageTwoQuestion(run);
    TForm1& g = run.f();
    auto toStrokeAndBack = [&] {
        run.f().FormKeyDown(&g, VK_MENU_KEY, 0, {});  // saves the score challenge
        ASSERT_EQ(g.GameProgress().GameMode(), Challenge::Stroke);
        run.f().FormKeyDown(&g, VK_MENU_KEY, 0, {});
        ASSERT_EQ(g.GameProgress().GameMode(), Challenge::Score);
        ASSERT_TRUE(g.Screens().GameLoading);
        ASSERT_EQ(g.Scene().LblMsg->Text, Msg::ResumeQuestion);
    };

    toStrokeAndBack();
    TDataRec rec = RecordOnDisk(folders);
    rec.TotalScore = 4321;
    ASSERT_TRUE(WriteDataRecFile(folders.Data("newrecord.dat"), rec));
    run.Char(u'y');
    EXPECT_EQ(g.GameProgress().TotalScore(), 4321);
    EXPECT_EQ(g.Scene().LblTotalScore->Text, "SCORE:004321");
    EXPECT_EQ(g.Scene().LblMsg->Text, Msg::ContinuedPaused);

    toStrokeAndBack();
    rec = RecordOnDisk(folders);
    rec.Block[40].BlockKind = 99;
    ASSERT_TRUE(WriteDataRecFile(folders.Data("newrecord.dat"), rec));
    const KindOfBlock kindBefore = g.GameBoard().BlockKind()[40];
    run.Char(u'y');
    EXPECT_EQ(g.Scene().LblMsg->Text, Msg::LoadFailed);
    EXPECT_EQ(g.GameBoard().BlockKind()[40], kindBefore);
    EXPECT_EQ(g.GameProgress().TotalScore(), 4321);
}
