// What the game keeps between runs: the suspended score challenge
// (newrecord.dat), the stroke challenge's best result (record2.dat) and the
// settings (Settei.ini). Files are never trusted: a record with values the game
// cannot use counts as unreadable, and every write is whole or not at all.
#include <algorithm>
#include <utility>

#include "game/suspended_game.h"
#include "game/paddle_rules.h"
#include "game/tform1.h"
#include "persistence/record_files.h"
#include "persistence/settings_file.h"
#include "platform/text_codec.h"

namespace {

const char* const kSettingsSaveFailed = Msg::SettingsSaveFailed;
const char* const kStrokeRecordSaveFailed = Msg::StrokeRecordSaveFailed;
const char* const kLearningSaveFailed = Msg::LearningSaveFailed;

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

}  // namespace

void TForm1::ReadSavedFilesAtStartup() {
    if (svc.holdsDataFolder) files.RemoveStaleTemporaryFiles();

    // The suspended game: it also carries the best score and the used-question
    // marks, which are kept even when its board cannot be continued.
    progress.TakeHighScore(kDefaultHighScore);
    std::string message = Msg::Start;
    if (files.Exists(PlayerFile::SuspendedGame)) {
        TDataRec rec = DataRec;
        std::size_t bytesRead = 0;
        const ReadStatus status = ReadDataRecFile(files.Path(PlayerFile::SuspendedGame), rec, &bytesRead);
        const bool read = status == ReadStatus::Ok;
        const bool usable =
            read && DataRecIsUsable(rec, questions.Count(),
                                    SlotsWithSavedTexts(ReadSavedBoardTexts(files.Path(PlayerFile::Settings))));
        const KeptValues kept = read ? KeptValuesOf(rec, bytesRead) : KeptValues{};
        if (kept.highScore) progress.TakeHighScore(*kept.highScore);
        if (kept.usedQuestions) progress.TakeBuiltInMarks(*kept.usedQuestions);
        if (usable) {
            DataRec = rec;
            progress.TakeSavedGameFinished(rec.GameClear != 0);
        } else {
            progress.TakeSavedGameFinished(true);
            DataRec = TDataRec{};  // nothing of a broken board may be continued or written back
        }
        // A file we cannot read is never written over (see WriteFileAtomically);
        // one we can read but not use is replaced by the next save.
        if (status == ReadStatus::Failed)
            StartupNotices.push_back(FileNotice(
                PlayerFile::SuspendedGame, Msg::SuspendedUnreadable));
        else if (!usable && rec.GameClear != 1)
            StartupNotices.push_back(
                FileNotice(PlayerFile::SuspendedGame, Msg::SuspendedInvalid));
    }
    if (OffersSuspendedGame()) {
        message = Msg::ResumeQuestion;
        GameLoading = true;
    }
    LblHighScore->Text = HighScoreText(progress.HighScore());
    ShowMessage(LblMsg, message);

    bool strokeRecordUnreadable = false;
    progress.TakeStrokeRecord(ReadStrokeRecordFile(files.Path(PlayerFile::StrokeRecord), &strokeRecordUnreadable));
    LblMode1HighScore->Text = StrokeRecordText(progress.Mode1HighScore());
    if (strokeRecordUnreadable)
        StartupNotices.push_back(FileNotice(PlayerFile::StrokeRecord, Msg::StrokeRecordUnreadable));

    bool settingsUnreadable = false;
    const GameSettings settings = ReadGameSettings(files.Path(PlayerFile::Settings), &settingsUnreadable);
    if (settingsUnreadable)
        StartupNotices.push_back(FileNotice(PlayerFile::Settings, Msg::SettingsUnreadable));
    sound.TakeSettings(settings);
    ImgMusicStop->Visible = !sound.IsMusic;
    ImgSoundStop->Visible = !sound.IsSound;
}

bool TForm1::OffersSuspendedGame() const {
    return files.Exists(PlayerFile::SuspendedGame) && !progress.GameClear();
}

void TForm1::SaveGame() {
    SaveFailure.clear();
    SaveFailureDetail.clear();
    if (Title) return;

    bool recordFailed = false;
    std::vector<std::string> failedFiles;
    WriteError why = WriteError::None;
    // While the resume question waits for its answer, the file holds the suspended
    // game and the board on screen is not it (it is the stroke challenge's, after
    // [Alt]): only the settings are saved then, the game and its texts are kept.
    const bool savesBoard = progress.GameMode() == Challenge::Score && !GameLoading;
    if (savesBoard) {
        CaptureBoardPlaces();
        DataRec = ToRecord(board, progress, DataRec);
        if (!WriteDataRecFile(files.Path(PlayerFile::SuspendedGame), DataRec, &why)) {
            recordFailed = true;
            failedFiles.push_back(DataFiles::Name(PlayerFile::SuspendedGame));
            SaveFailure = Msg::SaveFailed;
            ShowMessage(LblMsg, Msg::SaveFailed);
        }
    }

    const GameSettings settings = sound.Settings();
    SavedBoardTexts texts;
    if (savesBoard) {
        for (int k = 0; k < kSlots; ++k) {
            const Question& question = questions.At(board.MondaiNo()[k]);
            if (!question.additional) continue;  // built-in: the slot's texts stay empty
            texts[k] = {question.Jukugo, question.Imi, question.Yomi, question.SpeakMoji};
        }
    }
    WriteError settingsWhy = WriteError::None;
    if (!files.WriteSettings(settings, savesBoard ? &texts : nullptr, &settingsWhy)) {
        failedFiles.push_back(DataFiles::Name(PlayerFile::Settings));
        // The record's failure is the one the player must hear about.
        if (!recordFailed) {
            why = settingsWhy;
            SaveFailure = kSettingsSaveFailed;
            ShowMessage(LblMsg, kSettingsSaveFailed);
        }
    }
    // The learning record's changes not yet written go with the game; its files
    // are named after the others, on the same line when the reason is the same.
    std::vector<std::pair<std::vector<std::string>, WriteError>> lines;
    if (!failedFiles.empty()) lines.push_back({failedFiles, why});
    Learning.SaveIfChanged();
    for (const LearningWriteFailure& failure : Learning.WriteFailures()) {
        const auto same = std::find_if(lines.begin(), lines.end(), [&](const auto& l) { return l.second == failure.why; });
        if (same != lines.end())
            same->first.push_back(failure.file);
        else
            lines.push_back({{failure.file}, failure.why});
        if (SaveFailure.empty()) {
            SaveFailure = kLearningSaveFailed;
            ShowMessage(LblMsg, kLearningSaveFailed);
        }
    }
    // Which file and why, under the message; a save that worked takes back what
    // an earlier one said.
    for (const auto& [names, reason] : lines)
        SaveFailureDetail += (SaveFailureDetail.empty() ? "" : "\n") + SaveFailureLine(names, reason);
    if (SaveFailureDetail.empty())
        notice.Hide();
    else
        notice.Show(SaveFailureDetail);
}

// Where the blocks, balls and stones stand, as the record keeps them.
void TForm1::CaptureBoardPlaces() {
    Board::Places places;
    for (int i = 0; i < kBlocks; ++i) places.blocks[i] = {ImgBlock[i]->Position.X, ImgBlock[i]->Visible};
    for (int b = 0; b < kScoreChallengeBalls; ++b)
        places.balls[b] = {ImgBall[b]->Position.X,       ImgBall[b]->Position.Y,   FloatAniBallX[b]->StopValue,
                           FloatAniBallY[b]->StopValue, FloatAniBallX[b]->Duration, ImgBall[b]->Visible};
    for (int i = 0; i < kBlocks; ++i)
        places.stones[i] = {ImgStone[i]->Position.X, ImgStone[i]->Position.Y, FloatAniStoneY[i]->StopValue,
                            FloatAniStoneY[i]->Duration, ImgStone[i]->Visible};
    // Closed while minimised, the client area may be empty: the positions
    // still belong to the size the scene was last laid out for.
    int w = ClientWidth(), h = ClientHeight();
    if (w <= 0 || h <= 0) {
        w = AlignedWidth > 0 ? static_cast<int>(AlignedWidth) : 800;
        h = AlignedHeight > 0 ? static_cast<int>(AlignedHeight) : 600;
    }
    places.screenWidth = w;
    places.screenHeight = h;
    board.KeepPlaces(places);
}

void TForm1::WriteStrokeRecord() {
    StrokeRecordFailure.clear();
    if (!WriteStrokeRecordFile(files.Path(PlayerFile::StrokeRecord), progress.Mode1HighScore())) {
        StrokeRecordFailure = kStrokeRecordSaveFailed;
        ShowMessage(LblMsg, kStrokeRecordSaveFailed);
    }
}

void TForm1::LoadGame() {
    // From the title screen the record read at start-up is used; later the file
    // is read again over the buffer.
    TDataRec rec = DataRec;
    if (!Title && ReadDataRecFile(files.Path(PlayerFile::SuspendedGame), rec) != ReadStatus::Ok) {
        ShowMessage(LblMsg, Msg::LoadFailed);
        return;
    }
    const std::optional<SavedBoardTexts> texts = ReadSavedBoardTexts(files.Path(PlayerFile::Settings));
    if (!DataRecIsUsable(rec, questions.Count(), SlotsWithSavedTexts(texts))) {
        ShowMessage(LblMsg, Msg::LoadFailed);
        return;
    }
    DataRec = rec;
    ForgetBallPath();  // the balls are put where the record says, not moved there
    FromRecord(rec, board, progress);

    // Positions were saved for the window size of the time; they are scaled to this one.
    const float sx = static_cast<float>(ClientWidth()) / static_cast<float>(rec.ScreenX);
    const float sy = static_cast<float>(ClientHeight()) / static_cast<float>(rec.ScreenY);
    PlaceBlocks(sx);
    PlaceBalls(sx, sy);
    PlaceStones(sx, sy);
    if (texts) RestoreSavedQuestions(*texts);
    for (int i = 0; i < kBlocks; ++i)
        if (const char* picture = BlockPicture(board.BlockKind()[i])) ImgBlock[i]->Bitmap.LoadFromFile(AssetPath(picture));
    RestoreLabels();
    RestoreCharacters();
    ShowContinuedGame();
}

void TForm1::PlaceBlocks(float sx) {
    for (int i = 0; i < kBlocks; ++i) {
        ImgBlock[i]->Position.X = board.SavedPlaces().blocks[i].X * sx;
        ImgBlock[i]->Visible = board.SavedPlaces().blocks[i].Visible;
    }
}

void TForm1::PlaceBalls(float sx, float sy) {
    for (int b = 0; b < kScoreChallengeBalls; ++b) {
        const BallPlace& saved = board.SavedPlaces().balls[b];
        // Anything still on the clock from the board we leave must not carry on
        // over the restored one; held, it stays put and fires nothing.
        if (FloatAniBallX[b]->Running()) FloatAniBallX[b]->Hold();
        if (FloatAniBallY[b]->Running()) FloatAniBallY[b]->Hold();
        ImgBall[b]->Position.X = saved.X * sx;
        ImgBall[b]->Position.Y = saved.Y * sy;
        const bool inFlight = b == board.MovingBallNo();
        FloatAniBallX[b]->StopValue = inFlight ? saved.StopX * sx : 0;
        FloatAniBallY[b]->StopValue = inFlight ? saved.StopY * sy : 0;
        FloatAniBallX[b]->Duration = saved.Duration;
        FloatAniBallY[b]->Duration = saved.Duration;
        ImgBall[b]->Visible = saved.Visible;
    }
    // The score challenge plays three balls; the fourth, left standing from the
    // start-up scene or a stroke challenge, would wait in the stack for nothing.
    for (int b = kScoreChallengeBalls; b < kBalls; ++b) {
        if (FloatAniBallX[b]->Running()) FloatAniBallX[b]->Hold();
        if (FloatAniBallY[b]->Running()) FloatAniBallY[b]->Hold();
        ImgBall[b]->Visible = false;
    }
}

void TForm1::PlaceStones(float sx, float sy) {
    for (int i = 0; i < kBlocks; ++i) {
        const StonePlace& saved = board.SavedPlaces().stones[i];
        if (FloatAniStoneY[i]->Running()) FloatAniStoneY[i]->Hold();
        ImgStone[i]->Visible = saved.Visible;
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
        if (saved.jukugo.empty() || board.MondaiNo()[k] < questions.Count()) continue;
        board.DealSlot(k, questions.Append({saved.jukugo, saved.yomi, saved.imi, saved.speakMojiCp932}));
        progress.AddAdditionalQuestion(true);
    }
}

void TForm1::RestoreLabels() {
    LblMondaiCount->Text = QuestionNumberText(progress.MondaiCount());
    LblPadHitCount->Text = ZeroPad(ContactsLeft(progress.Stage(), progress.PadHitCount()), 3);
    LblVisibleBlockCount1->Text = IntToStr(kBlocksPerRow - board.UnVisibleBlockCount()[1]);
    LblVisibleBlockCount2->Text = IntToStr(kBlocksPerRow - board.UnVisibleBlockCount()[2]);
    // Only the rows of the stage have a count beside them, as after a set-up.
    LblVisibleBlockCount1->Visible = progress.Stage() >= 2;
    LblVisibleBlockCount2->Visible = progress.Stage() >= 3;
    LblTotalScore->Text = ScoreText(progress.TotalScore());
    // No countdown is running in a continued game: the number stands in its corner.
    ThinkingTimeCount = -1;
    PlaceQuestionNumber(false);
}

// The characters of the board: on the balls, in the top row with its gaps, and
// on the special blocks; the answer label and the blinking of the dealt character.
void TForm1::RestoreCharacters() {
    const std::string& targetIdiom = SlotQuestion(board.BallSeikaiMojiNo()).Jukugo;
    const std::string hidden = Utf16UnitCharacter(targetIdiom, board.UnVisibleMojiNo()[board.BallSeikaiMojiNo()]);
    LblKaitoMoji->Text = (progress.GameOver() || progress.Clear()) ? targetIdiom : hidden;
    for (int b = 0; b < kScoreChallengeBalls; ++b) TextBallMoji[b]->Text = hidden;

    for (int c = 0; c < kBlocksPerRow; ++c) {
        const int k = c / 4, p = c % 4;
        const bool gap = board.UnVisibleMojiNo()[k] == p;
        TextBlockMoji[c]->Text = gap ? std::string() : Utf16UnitCharacter(SlotQuestion(k).Jukugo, p);
        ShadowText[c]->Enabled = !gap;
    }

    for (int k = 0; k < kSlots; ++k) {
        const std::string slotHidden = Utf16UnitCharacter(SlotQuestion(k).Jukugo, board.UnVisibleMojiNo()[k]);
        for (int r = 1; r <= 2; ++r) {
            TText* text = TextSpecialBlockMoji[(r - 1) * 4 + k];
            text->Text = slotHidden;
            for (int c = 0; c < kBlocksPerRow; ++c) {
                if (board.SeikaiMojiNo()[BlockIndex(r, c)] != k) continue;
                text->SetParent(ImgBlock[BlockIndex(r, c)]);
                text->Color = k == board.FirstBallSeikaiMojiNo() ? Colors::Darkmagenta : Colors::White;
                break;
            }
        }
    }

    LblKaitoMoji->Visible = true;
    LblKaitoMoji->Opacity = 1;
    if (board.BallSeikaiMojiNo() == board.FirstBallSeikaiMojiNo()) {
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
    LblImi->Text = SlotQuestion(board.BallSeikaiMojiNo()).Imi;
    LblImi->Visible = false;
    LblYomi->Text = SlotQuestion(board.BallSeikaiMojiNo()).Yomi;
    LblYomi->Visible = false;
    FitAnswerLabels();

    ShowStageScenery();

    ImgTitle->Visible = false;
    ImgLogo->Visible = false;
    ImgPad->Visible = true;
    notice.Hide();

    if (progress.GameOver() || progress.Clear()) {
        ShowMessage(LblMsg, Msg::ContinuedOver);
    } else {
        Pause = true;
        ShowMessage(LblMsg, Msg::ContinuedPaused);
        Title = false;
    }
}
