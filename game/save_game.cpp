// What the game keeps between runs: the suspended score challenge
// (newrecord.dat), the stroke challenge's best result (record2.dat) and the
// settings (Settei.ini). Files are never trusted: a record with values the game
// cannot use counts as unreadable, and every write is whole or not at all.
#include <algorithm>

#include "game/tform1.h"
#include "persistence/record_files.h"
#include "persistence/settings_file.h"
#include "platform/text_codec.h"

namespace {

const char* const kSettingsSaveFailed = "設定の保存に失敗しました。";
const char* const kStrokeRecordSaveFailed = "最小打数の保存に失敗しました。";

const char* const kRecordFile = "newrecord.dat";
const char* const kStrokeRecordFile = "record2.dat";
const char* const kSettingsFile = "Settei.ini";

// Slots whose additional question was saved with its texts: such a slot may
// name a question the current list no longer has, as it will be appended again.
std::array<bool, 4> SlotsWithSavedTexts(const std::optional<SavedBoardTexts>& texts) {
    std::array<bool, 4> slots{};
    if (texts)
        for (int k = 0; k < 4; ++k) slots[k] = !(*texts)[k].jukugo.empty();
    return slots;
}

void ShowMessage(TLabel* label, const std::string& text) {
    label->Text = text;
    label->Visible = true;
}

// Why a save did not happen, as the player is told it.
const char* ReasonText(WriteError why) {
    switch (why) {
        case WriteError::NoSpace: return "空き容量が足りません";
        case WriteError::NoPermission: return "書き込む権限がありません";
        case WriteError::NoFolder: return "保存先のフォルダーがありません";
        case WriteError::KeptUnreadable: return "読めないファイルなので上書きしません";
        default: return "書き込みでエラーが起きました";
    }
}

// "newrecord.dat を保存できませんでした（空き容量が足りません）。"
std::string SaveFailureLine(const std::vector<std::string>& files, WriteError why) {
    std::string names;
    for (const std::string& f : files) names += (names.empty() ? "" : " と ") + f;
    return names + " を保存できませんでした（" + ReasonText(why) + "）。";
}

}  // namespace

void TForm1::ReadSavedFilesAtStartup() {
    // A save killed half-way leaves its temporary file behind; nothing else will.
    if (svc.holdsDataFolder)
        RemoveStaleTemporaryFiles(DataFolda, {kRecordFile, kStrokeRecordFile, kSettingsFile, "NewTuikamondai.txt"});

    // The suspended game: it also carries the best score and the used-question
    // marks, which are kept even when its board cannot be continued.
    HighScore = kDefaultHighScore;
    std::string message = Msg::Start;
    const std::string recordPath = DataFile(kRecordFile);
    if (PathExists(recordPath)) {
        TDataRec rec = DataRec;
        std::size_t bytesRead = 0;
        const ReadStatus status = ReadDataRecFile(recordPath, rec, &bytesRead);
        const bool read = status == ReadStatus::Ok;
        const bool usable =
            read && DataRecIsUsable(rec, kBuiltInQuestions + TuikaJukugos,
                                    SlotsWithSavedTexts(ReadSavedBoardTexts(DataFile(kSettingsFile))));
        const KeptValues kept = read ? KeptValuesOf(rec, bytesRead) : KeptValues{};
        if (kept.highScore) HighScore = *kept.highScore;
        if (kept.usedQuestions) {
            for (int q = 0; q < kBuiltInQuestions; ++q) ShutudaiSumi[q] = (*kept.usedQuestions)[q];
            // The deal trusts the count to match the marks, so count them.
            ShutudaiSumiCount = static_cast<int>(std::count(ShutudaiSumi.begin(), ShutudaiSumi.end(), true));
        }
        if (usable) {
            DataRec = rec;
            GameClear = rec.GameClear != 0;
            if (!GameClear) {
                message = Msg::ResumeQuestion;
                GameLoading = true;
            }
        } else {
            GameClear = true;
            DataRec = TDataRec{};  // nothing of a broken board may be continued or written back
        }
        // A file we cannot read is never written over (see WriteFileAtomically);
        // one we can read but not use is replaced by the next save.
        if (status == ReadStatus::Failed)
            StartupNotices.push_back(
                "newrecord.dat を読めないので、中断したゲームとハイスコアなしで始めます（上書きしません）。");
        else if (!usable && rec.GameClear != 1)
            StartupNotices.push_back("newrecord.dat の中断したゲームが正しくないので、続きからは始められません。");
    }
    LblHighScore->Text = HighScoreText(HighScore);
    ShowMessage(LblMsg, message);

    bool strokeRecordUnreadable = false;
    Mode1HighScore = ReadStrokeRecordFile(DataFile(kStrokeRecordFile), &strokeRecordUnreadable);
    LblMode1HighScore->Text = StrokeRecordText(Mode1HighScore);
    if (strokeRecordUnreadable)
        StartupNotices.push_back("record2.dat を読めないので、最小打数は030から始めます。");

    bool settingsUnreadable = false;
    const GameSettings settings = ReadGameSettings(DataFile(kSettingsFile), &settingsUnreadable);
    if (settingsUnreadable)
        StartupNotices.push_back(
            "Settei.ini を読めないので、初めの設定で始めます（上書きしません）。");
    IsSound = settings.isSound;
    IsMusic = settings.isMusic;
    VoiceMode = settings.voiceMode;
    ImgMusicStop->Visible = !IsMusic;
    ImgSoundStop->Visible = !IsSound;
}

void TForm1::SaveGame() {
    SaveFailure.clear();
    SaveFailureDetail.clear();
    if (Title) return;

    bool recordFailed = false;
    std::vector<std::string> failedFiles;
    WriteError why = WriteError::None;
    if (GameMode == 0) {
        RecordBoard(DataRec);
        RecordProgress(DataRec);
        if (!WriteDataRecFile(DataFile(kRecordFile), DataRec, &why)) {
            recordFailed = true;
            failedFiles.push_back(kRecordFile);
            SaveFailure = Msg::SaveFailed;
            ShowMessage(LblMsg, Msg::SaveFailed);
        }
    }

    GameSettings settings{IsSound, IsMusic, VoiceMode};
    SavedBoardTexts board;
    if (GameMode == 0) {
        for (int k = 0; k < kSlots; ++k) {
            const int t = MondaiNo[k] - kBuiltInQuestions;
            if (t < 0 || t >= TuikaJukugos) continue;  // built-in: the slot's texts stay empty
            board[k] = {TuikaJukugo[t], TuikaImi[t], TuikaYomi[t], TuikaSpeakMoji[t]};
        }
    }
    WriteError settingsWhy = WriteError::None;
    if (!WriteSettingsOnSave(DataFile(kSettingsFile), settings, GameMode == 0 ? &board : nullptr, &settingsWhy)) {
        failedFiles.push_back(kSettingsFile);
        // The record's failure is the one the player must hear about.
        if (!recordFailed) {
            why = settingsWhy;
            SaveFailure = kSettingsSaveFailed;
            ShowMessage(LblMsg, kSettingsSaveFailed);
        }
    }
    // Which file and why, under the message; a save that worked takes back what
    // an earlier one said.
    if (failedFiles.empty()) {
        HideNotice();
    } else {
        SaveFailureDetail = SaveFailureLine(failedFiles, why);
        ShowNotice(SaveFailureDetail);
    }
}

// The questions, the blocks and the balls into the record.
void TForm1::RecordBoard(TDataRec& r) const {
    r.Stage = Stage;
    r.MondaiCount = MondaiCount;
    for (int q = 0; q < kBuiltInQuestions; ++q) r.ShutudaiSumi[q] = ShutudaiSumi[q] ? 1 : 0;
    r.ShutudaiSumiCount = ShutudaiSumiCount;
    for (int k = 0; k < kSlots; ++k) r.MondaiNo[k] = MondaiNo[k];
    for (int i = 0; i < kBlocks; ++i) {
        r.Block[i].X = ImgBlock[i]->Position.X;
        r.Block[i].Visible = ImgBlock[i]->Visible ? 1 : 0;
        r.Block[i].BlockKind = static_cast<int32_t>(BlockKind[i]);
        r.Block[i].SeikaiMojiNo = SeikaiMojiNo[i];
    }
    for (int b = 0; b < kScoreChallengeBalls; ++b) {
        r.Ball[b].X = ImgBall[b]->Position.X;
        r.Ball[b].Y = ImgBall[b]->Position.Y;
        r.Ball[b].StopX = FloatAniBallX[b]->StopValue;
        r.Ball[b].StopY = FloatAniBallY[b]->StopValue;
        r.Ball[b].Duration = FloatAniBallX[b]->Duration;
        r.Ball[b].Visible = ImgBall[b]->Visible ? 1 : 0;
    }
    r.MovingBallNo = MovingBallNo;
}

// The state of the question, the stones, the scores and the window size into the record.
void TForm1::RecordProgress(TDataRec& r) const {
    for (int k = 0; k < kSlots; ++k) r.UnVisibleMojiNo[k] = UnVisibleMojiNo[k];
    r.BallSeikaiMojiNo = BallSeikaiMojiNo;
    r.FirstBallSeikaiMojiNo = FirstBallSeikaiMojiNo;
    r.PadHitCount = PadHitCount;
    r.UpBlockHitCount = UpBlockHitCount;
    r.Clear = Clear ? 1 : 0;
    r.GameOver = GameOver ? 1 : 0;
    r.GameClear = GameClear ? 1 : 0;
    r.HintHyoji = HintHyoji ? 1 : 0;
    for (int n = 0; n < 5; ++n) r.UnVisibleBlockCount[n] = UnVisibleBlockCount[n];
    for (int i = 0; i < kBlocks; ++i) {
        r.Stone[i].X = ImgStone[i]->Position.X;
        r.Stone[i].Y = ImgStone[i]->Position.Y;
        r.Stone[i].StopY = FloatAniStoneY[i]->StopValue;
        r.Stone[i].Duration = FloatAniStoneY[i]->Duration;
        r.Stone[i].Visible = ImgStone[i]->Visible ? 1 : 0;
    }
    r.Score = Score;
    r.TotalScore = TotalScore;
    r.OldTotalScore = OldTotalScore;
    r.HighScore = HighScore;
    // Closed while minimised, the client area may be empty: the positions
    // still belong to the size the scene was last laid out for.
    int w = ClientWidth(), h = ClientHeight();
    if (w <= 0 || h <= 0) {
        w = AlignedWidth > 0 ? static_cast<int>(AlignedWidth) : 800;
        h = AlignedHeight > 0 ? static_cast<int>(AlignedHeight) : 600;
    }
    r.ScreenX = w;
    r.ScreenY = h;
}

void TForm1::WriteStrokeRecord() {
    StrokeRecordFailure.clear();
    if (!WriteStrokeRecordFile(DataFile(kStrokeRecordFile), Mode1HighScore)) {
        StrokeRecordFailure = kStrokeRecordSaveFailed;
        ShowMessage(LblMsg, kStrokeRecordSaveFailed);
    }
}

void TForm1::LoadGame() {
    // From the title screen the record read at start-up is used; later the file
    // is read again over the buffer.
    TDataRec rec = DataRec;
    if (!Title && ReadDataRecFile(DataFile(kRecordFile), rec) != ReadStatus::Ok) {
        ShowMessage(LblMsg, Msg::LoadFailed);
        return;
    }
    const std::optional<SavedBoardTexts> texts = ReadSavedBoardTexts(DataFile(kSettingsFile));
    if (!DataRecIsUsable(rec, kBuiltInQuestions + TuikaJukugos, SlotsWithSavedTexts(texts))) {
        ShowMessage(LblMsg, Msg::LoadFailed);
        return;
    }
    DataRec = rec;
    ForgetBallPath();  // the balls are put where the record says, not moved there
    // The record does not say whether the ball in play was on its first fall:
    // its saved legs run on as they are (nothing left over from the board we leave).
    FirstBallDown = false;

    // Positions were saved for the window size of the time; they are scaled to this one.
    const float sx = static_cast<float>(ClientWidth()) / static_cast<float>(rec.ScreenX);
    const float sy = static_cast<float>(ClientHeight()) / static_cast<float>(rec.ScreenY);
    RestoreBoard(rec, sx);
    RestoreBalls(rec, sx, sy);
    RestoreProgress(rec);
    RestoreStones(rec, sx, sy);
    if (texts) RestoreSavedQuestions(*texts);
    for (int i = 0; i < kBlocks; ++i)
        if (const char* picture = BlockPicture(BlockKind[i])) ImgBlock[i]->Bitmap.LoadFromFile(AssetPath(picture));
    RestoreLabels();
    RestoreCharacters();
    ShowContinuedGame();
}

void TForm1::RestoreBoard(const TDataRec& rec, float sx) {
    Stage = rec.Stage;
    MondaiCount = rec.MondaiCount;
    for (int k = 0; k < kSlots; ++k) MondaiNo[k] = rec.MondaiNo[k];
    for (int i = 0; i < kBlocks; ++i) {
        ImgBlock[i]->Position.X = rec.Block[i].X * sx;
        ImgBlock[i]->Visible = rec.Block[i].Visible != 0;
        BlockKind[i] = static_cast<KindOfBlock>(rec.Block[i].BlockKind);  // checked by DataRecIsUsable
        SeikaiMojiNo[i] = rec.Block[i].SeikaiMojiNo;
    }
}

void TForm1::RestoreBalls(const TDataRec& rec, float sx, float sy) {
    MovingBallNo = rec.MovingBallNo;
    for (int b = 0; b < kScoreChallengeBalls; ++b) {
        const TDataRecBall& saved = rec.Ball[b];
        // Anything still on the clock from the board we leave must not carry on
        // over the restored one; held, it stays put and fires nothing.
        if (FloatAniBallX[b]->Running()) FloatAniBallX[b]->Hold();
        if (FloatAniBallY[b]->Running()) FloatAniBallY[b]->Hold();
        ImgBall[b]->Position.X = saved.X * sx;
        ImgBall[b]->Position.Y = saved.Y * sy;
        const bool inFlight = b == MovingBallNo;
        FloatAniBallX[b]->StopValue = inFlight ? saved.StopX * sx : 0;
        FloatAniBallY[b]->StopValue = inFlight ? saved.StopY * sy : 0;
        FloatAniBallX[b]->Duration = saved.Duration;
        FloatAniBallY[b]->Duration = saved.Duration;
        ImgBall[b]->Visible = saved.Visible != 0;
    }
    // The score challenge plays three balls; the fourth, left standing from the
    // start-up scene or a stroke challenge, would wait in the stack for nothing.
    for (int b = kScoreChallengeBalls; b < kBalls; ++b) {
        if (FloatAniBallX[b]->Running()) FloatAniBallX[b]->Hold();
        if (FloatAniBallY[b]->Running()) FloatAniBallY[b]->Hold();
        ImgBall[b]->Visible = false;
    }
}

void TForm1::RestoreProgress(const TDataRec& rec) {
    for (int k = 0; k < kSlots; ++k) UnVisibleMojiNo[k] = rec.UnVisibleMojiNo[k];
    BallSeikaiMojiNo = rec.BallSeikaiMojiNo;
    FirstBallSeikaiMojiNo = rec.FirstBallSeikaiMojiNo;
    PadHitCount = rec.PadHitCount;
    UpBlockHitCount = rec.UpBlockHitCount;
    Clear = rec.Clear != 0;
    GameOver = rec.GameOver != 0;
    GameClear = rec.GameClear != 0;
    HintHyoji = rec.HintHyoji != 0;
    for (int n = 0; n < 5; ++n) UnVisibleBlockCount[n] = rec.UnVisibleBlockCount[n];
    Score = rec.Score;
    TotalScore = rec.TotalScore;
    OldTotalScore = rec.OldTotalScore;
}

void TForm1::RestoreStones(const TDataRec& rec, float sx, float sy) {
    for (int i = 0; i < kBlocks; ++i) {
        const TDataRecStone& saved = rec.Stone[i];
        if (FloatAniStoneY[i]->Running()) FloatAniStoneY[i]->Hold();
        ImgStone[i]->Visible = saved.Visible != 0;
        if (ImgStone[i]->Visible) {
            // A falling stone goes on to the bottom of the window from where it was.
            ImgStone[i]->Position.X = saved.X * sx;
            ImgStone[i]->Position.Y = saved.Y * sy;
            ImgStone[i]->Bitmap.LoadFromFile(AssetPath("Data/Png/stone.png"));
            FloatAniStoneY[i]->StartValue = ImgStone[i]->Position.Y;
            FloatAniStoneY[i]->StopValue = static_cast<float>(ClientHeight());
            FloatAniStoneY[i]->Duration = saved.Duration;
        } else {
            ImgStone[i]->Position = ImgBlock[i]->Position;
        }
    }
}

void TForm1::RestoreSavedQuestions(const SavedBoardTexts& texts) {
    // An additional question of the saved board that the current list no longer
    // has comes back from the texts saved with it, under the next free number.
    for (int k = 0; k < kSlots; ++k) {
        const SavedQuestionText& saved = texts[k];
        if (saved.jukugo.empty() || MondaiNo[k] < kBuiltInQuestions + TuikaJukugos) continue;
        MondaiNo[k] = kBuiltInQuestions + TuikaJukugos;
        TuikaJukugos += 1;
        TuikaJukugo.push_back(saved.jukugo);
        TuikaYomi.push_back(saved.yomi);
        TuikaImi.push_back(saved.imi);
        TuikaSpeakMoji.push_back(saved.speakMojiCp932);
        TuikaShutudaiSumi.push_back(true);
        TuikaShutudaiSumiCount += 1;
    }
}

void TForm1::RestoreLabels() {
    LblMondaiCount->Text = QuestionNumberText(MondaiCount);
    LblPadHitCount->Text = ZeroPad(Stage * 15 - PadHitCount, 3);
    LblVisibleBlockCount1->Text = IntToStr(kBlocksPerRow - UnVisibleBlockCount[1]);
    LblVisibleBlockCount2->Text = IntToStr(kBlocksPerRow - UnVisibleBlockCount[2]);
    // Only the rows of the stage have a count beside them, as after a set-up.
    LblVisibleBlockCount1->Visible = Stage >= 2;
    LblVisibleBlockCount2->Visible = Stage >= 3;
    LblTotalScore->Text = ScoreText(TotalScore);
    // No countdown is running in a continued game: the number stands in its corner.
    ThinkingTimeCount = -1;
    PlaceQuestionNumber(false);
}

// The characters of the board: on the balls, in the top row with its gaps, and
// on the special blocks; the answer label and the blinking of the dealt character.
void TForm1::RestoreCharacters() {
    const std::string& targetIdiom = SlotJukugo(BallSeikaiMojiNo);
    const std::string hidden = Utf16UnitCharacter(targetIdiom, UnVisibleMojiNo[BallSeikaiMojiNo]);
    LblKaitoMoji->Text = (GameOver || Clear) ? targetIdiom : hidden;
    for (int b = 0; b < kScoreChallengeBalls; ++b) TextBallMoji[b]->Text = hidden;

    for (int c = 0; c < kBlocksPerRow; ++c) {
        const int k = c / 4, p = c % 4;
        const bool gap = UnVisibleMojiNo[k] == p;
        TextBlockMoji[c]->Text = gap ? std::string() : Utf16UnitCharacter(SlotJukugo(k), p);
        ShadowText[c]->Enabled = !gap;
    }

    for (int k = 0; k < kSlots; ++k) {
        const std::string slotHidden = Utf16UnitCharacter(SlotJukugo(k), UnVisibleMojiNo[k]);
        for (int r = 1; r <= 2; ++r) {
            TText* text = TextSpecialBlockMoji[(r - 1) * 4 + k];
            text->Text = slotHidden;
            for (int c = 0; c < kBlocksPerRow; ++c) {
                if (SeikaiMojiNo[BlockIndex(r, c)] != k) continue;
                text->SetParent(ImgBlock[BlockIndex(r, c)]);
                text->Color = k == FirstBallSeikaiMojiNo ? Colors::Darkmagenta : Colors::White;
                break;
            }
        }
    }

    LblKaitoMoji->Visible = true;
    LblKaitoMoji->Opacity = 1;
    if (BallSeikaiMojiNo == FirstBallSeikaiMojiNo) {
        for (int b = 0; b < kScoreChallengeBalls; ++b) TextBallMoji[b]->Color = Colors::Darkgoldenrod;
        LblKaitoMoji->FontColor = Colors::Gold;
        FloatAniKaitoMoji->Start();
    } else {
        for (int b = 0; b < kScoreChallengeBalls; ++b) TextBallMoji[b]->Color = Colors::Darkviolet;
        LblKaitoMoji->FontColor = Colors::Floralwhite;
        FloatAniKaitoMoji->Stop();  // no blinking left over from the board we leave
        LblKaitoMoji->Opacity = 1;
    }
}

void TForm1::ShowContinuedGame() {
    LblImi->Text = SlotImi(BallSeikaiMojiNo);
    LblImi->Visible = false;
    LblYomi->Text = SlotYomi(BallSeikaiMojiNo);
    LblYomi->Visible = false;
    FitAnswerLabels();

    ShowStageScenery();

    ImgTitle->Visible = false;
    ImgLogo->Visible = false;
    ImgPad->Visible = true;
    HideNotice();

    if (GameOver || Clear) {
        ShowMessage(LblMsg, Msg::ContinuedOver);
    } else {
        Pause = true;
        ShowMessage(LblMsg, Msg::ContinuedPaused);
        Title = false;
    }
}
