#pragma once
// The main game window: it plays the game on the state it holds (the questions,
// the progress, the board, the sound, the data files, in their own headers) and
// owns every scene object. That state is its own: others read the scene objects
// and screens through Scene() and Screens(), reach the sound and the questions
// through their owners, and act through the window's input and methods.
// Its methods are defined by concern in several files:
//   layout.cpp      the fixed design of the window (labels, paddle, icons, help panel)
//   startup.cpp     FormCreate, FormShow, FormActivate, FormCloseQuery, FormDestroy
//   form_questions.cpp  the player's additional questions, the slots' characters
//   deal.cpp        SetUpStage, DealQuestions
//   frame_tick.cpp  Timer1Timer, the countdown, slides, stone strike, music loop
//   ball.cpp        ProcessBall, FloatAniStoneYFinish
//   judging.cpp     correct and wrong answers, character copy, scoring
//   round_end.cpp   DoGameOver and the endings' finish handlers
//   commands.cpp    FormKeyDown, FormMouseMove, PauseGame, ResumeGame
//   save_game.cpp   SaveGame, LoadGame and the start-up reads of the saved files
//   settings_dialog_host.cpp  what the settings dialog reads and changes of the window
//   learning_hooks.cpp  what the learning record hears of the play
//   notices.cpp     files not read at start-up, a save that failed, leaving without saving
//
// The life of one question:
//   [Shift] StartKey (commands.cpp) -> SetUpStage, DealQuestions (deal.cpp); DealQuestions
//     ends in StartCountdown.
//   Timer1Timer each tick (frame_tick.cpp): CountDown until it releases ball 0 (ServeBall),
//     then ProcessBall (ball.cpp), then a falling stone against the paddle (StoneHitsPaddle).
//   ProcessBall takes the first contact on the ball's way: PaddleContact, BlockHit, or
//     EdgeContacts, which ends in BallLost below the window.
//   BlockHit on the target gap -> CorrectAnswerScore / CorrectAnswerStroke (judging.cpp);
//     on another gap -> WrongAnswer, which only drops a stone.
//   Lost: PaddleContact past the allowed contacts, BallLost (any ball of the stroke challenge,
//     the third of the score challenge), or a stone's explosion on the paddle
//     (FloatAniBakuhatuXFinish) -> DoGameOver (round_end.cpp).
//   SaveGame (save_game.cpp) is not part of this: it runs on the last question's right answer,
//     on [Alt] to the stroke challenge and when the window closes (SavedBeforeLeaving).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "game/ball_path.h"
#include "game/board.h"
#include "game/data_files.h"
#include "game/game_sound.h"
#include "game/game_texts.h"
#include "game/learning_log.h"
#include "game/leave_choice.h"
#include "game/learning_window_host.h"
#include "game/notice_box.h"
#include "game/play_flags.h"
#include "game/play_rules.h"
#include "game/progress.h"
#include "game/question_bank.h"
#include "game/services.h"
#include "game/settings_dialog_host.h"
#include "game/window_objects.h"
#include "persistence/data_rec.h"
#include "persistence/settings_file.h"

class TForm1 : public TForm,
               private WindowObjects,
               private PlayFlags,
               public SettingsDialogHost,
               public LearningWindowHost {
public:
    explicit TForm1(GameServices& services);

    // ---- What others may see of the window ----
    // Where each picture, label and animation stands (tests and benchmarks look).
    const WindowObjects& Scene() const { return *this; }
    // Which screen shows: the title, the countdown, a pause, a modal window.
    const PlayFlags& Screens() const { return *this; }
    GameSound& Sound() { return sound; }
    const GameSound& Sound() const { return sound; }
    QuestionBank& Questions() { return questions; }
    const QuestionBank& Questions() const { return questions; }
    const TDataRec& SuspendedGameRecord() const { return DataRec; }  // as last read or written
    // The program's settings dialog ([S]) and learning window ([R]), once built.
    void SetSettingsDialog(SettingsDialog* dialog) { Form2 = dialog; }
    void SetLearningWindow(LearningWindow* window) { LearningForm = window; }
    // Notices of the program's own (the data folder's lock) join the files' on the title.
    void AddStartupNotices(const std::vector<std::string>& lines) {
        StartupNotices.insert(StartupNotices.end(), lines.begin(), lines.end());
    }
    const std::vector<std::string>& StartupNoticeLines() const { return StartupNotices; }

    // ---- The questions (form_questions.cpp) ----
    void LoadAdditionalQuestions();  // the player's file, NewTuikamondai.txt
    const Question& SlotQuestion(int s) const { return questions.At(board.MondaiNo()[s]); }
    // The missing character of slot s (UTF-8).
    std::string SlotCharacter(int s) const;

    // ---- The game: where the player stands, and the board ----
    // Read from outside; the window's play changes them through their own operations.
    const Progress& GameProgress() const { return progress; }
    const Board& GameBoard() const { return board; }

    // ---- The learning record (learning_hooks.cpp) ----
    void OpenLearningRecord();
    void RecordDeal();
    void LearningKey();  // [R]
    // The help panel's [R] row tells how many idioms are due today (help_panel.cpp).
    void ShowDueReviews();
    // As the learning window's host.
    std::vector<LearningQuestion> LearningQuestions() const override;
    LearningLog& LearningRecordLog() override { return Learning; }
    bool SpeakQuestion(int q) override;
    bool SetReviewDeal(bool on) override;
    FreshStart StartFreshLearningRecord() override;
    void LearningWindowShown() override;
    void LearningWindowClosed() override;

    // ---- As the settings dialog's host (settings_dialog_host.cpp) ----
    std::string ProgramFolderPath() const override;
    std::string QuestionFilePath() const override;
    int SpeakingVoice() const override;
    bool SaveSpeakingVoice(int voice) override;
    ReadingService& Readings() override;
    void SettingsDialogShown() override;
    void SettingsDialogClosed() override;

    // ---- Window life (startup.cpp) ----
    void BuildLayout();  // layout.cpp: the fixed design at 800 x 600
    void FormCreate();
    void CreateBlocks();
    TText* CreateBlockCharacter(TImage* block);
    void CreateBlockCharacters();
    void CreateStones();
    void CreateBalls();
    void FormShow();
    void FormActivate();
    void FormCloseQuery(SceneObject* sender, bool& canClose);
    void FormDestroy();
    void HideCursor();
    void ShowCursorUntilVisible();
    void PrepareFixedPhrases();  // in every voice, the chosen one first

    // ---- Set-up (deal.cpp) ----
    void SetUpStage();
    void SetUpStrokeChallengeLabels();
    void SetUpScoreChallengeQuestion();
    void ShowStageScenery();  // the background and (when on) the music of the stage
    void ChooseBlockKinds();
    void ResetBlockCounts();
    void PlaceRowsAndStones();
    void LineUpBalls();
    void DealQuestions();
    // Drawing: four undealt idioms, each with the position of its hidden character.
    void DrawQuestions();
    // Hiding and dealing: the top row with its gaps, the balls' characters, the special blocks.
    void ShowTopRow();
    void DealScoreChallengeBalls();
    void DealStrokeChallengeBalls();
    void PlaceSpecialBlocks();
    void StartCountdown();
    void PrepareBoardSpeech();

    // ---- Frame tick (frame_tick.cpp) ----
    void Timer1Timer(SceneObject* sender);
    void CountDown();  // releases the first ball at 0
    void PlaceQuestionNumber(bool overCountdown);
    void SlideRows(float d, bool left, bool right);
    void SlideParkedBalls(float d, bool left, bool right);
    bool StoneHitsPaddle();  // true when a stone met the paddle: it explodes
    void RestartMusic();
    void HoldFallingStones();
    void ResumeHeldStones();

    // ---- Ball (ball.cpp) ----
    void ProcessBall();
    void FloatAniStoneYFinish(SceneObject* sender);
    // Legs of ball b: stop values from the direction of the last leg, start, hold.
    void AimX(int b);
    void AimY(int b);
    void Launch(int b);
    void Hold(int b);
    enum class StoneKind { Stone, WrongAnswer };
    void DropStone(int r, int c, StoneKind kind);
    void StopAllStoneFalls();  // every falling stone ends and is parked
    bool PaddleContact(int b);  // false when the contact used up the allowance
    void BlockHit(int r, int c);
    void EdgeContacts(int b);
    void BallLost();
    void MarkBallPath();
    void BallWayStart(int b, float& x0, float& y0) const;  // where ball b stood at the last tick
    void ForgetBallPath() { LastBallMark.ball = -1; }

    // ---- Judging (judging.cpp) ----
    void CorrectAnswerScore(int c);
    void CorrectAnswerStroke(int c);
    void BlankSpecialBlocks(int s);  // of slot s, once answered
    void StrokeRoundComplete();
    void WrongAnswer(int c);
    void CharacterCopy(int r, int c);
    std::string IdiomSpeechText(int s);  // code page 932
    std::string QuestionSpeechText(int q);  // the same for question q
    // Reading above and meaning below LblKaitoMoji, across the whole width.
    void ShowAnswerLabels();
    // Meaning and reading kept clear of the help panel (broken or made smaller) after every change.
    void FitAnswerLabels();  // answer_labels_fit.cpp
    // The message at its design place, or (a long one on the title) beside the help panel.
    void PlaceMessageAtDesign();
    void FitMessage();

    // ---- Round end (round_end.cpp) ----
    void DoGameOver();
    void FloatAniBakuhatuXFinish(SceneObject* sender);
    void FloatAniScoreYFinish(SceneObject* sender);
    void FloatAniTitleWidthFinish(SceneObject* sender);
    void ZoomInTitle();  // the title picture grows from nothing to its size

    // ---- Commands (commands.cpp) ----
    void FormKeyDown(SceneObject* sender, int key, char16_t keyChar, TShiftState shift);
    // One command a key: [Shift] start, [Alt] challenge, [Esc] close, [Y]/[N] resume, [A] pause,
    // [D] minimise, [Z] hint, [X] music, [C] sound, [S] settings dialog, [R] learning window.
    void StartKey();
    void ModeKey();
    void SwitchToStrokeChallenge();
    void SwitchToScoreChallenge();
    void EscapeKey();
    void ResumeAnswerKey(char16_t keyChar);
    void PauseKey();
    void PauseForLeaving();
    void MinimiseKey();
    void HintKey();
    void MusicKey();
    void SoundKey();
    void KeepSwitchesFromTitle();
    void SettingsKey();
    // The frame tick stops and the cursor shows while a modal window ([S], [R]) is open.
    void ShowModalWindow(const std::function<void()>& showModal);
    void FormMouseMove(SceneObject* sender, TShiftState shift, float x, float y);
    // A handler that passes a mouse move over a picture or label on to FormMouseMove.
    TMouseMoveEvent MouseMovesPaddle() {
        return [this](SceneObject* s, TShiftState sh, float x, float y) { FormMouseMove(s, sh, x, y); };
    }
    void PauseGame();
    void FreezePlay();  // the frame tick, the ball in play and the falling stones stop where they are
    void ContinueBallInPlay();
    void ResumeGame();

    // ---- Persistence (save_game.cpp) ----
    void ReadSavedFilesAtStartup();  // the suspended game, the stroke record, the settings
    // Whether the title asks to continue the suspended game rather than start a new
    // one: only a saved game that was not played to its end is offered.
    bool OffersSuspendedGame() const;
    void SaveGame();
    void CaptureBoardPlaces();  // the pictures' places into board.SavedPlaces()
    void LoadGame();
    // The pictures laid out from board.SavedPlaces(), scaled from the saved window size.
    void PlaceBlocks(float sx);
    void PlaceBalls(float sx, float sy);
    void PlaceStones(float sx, float sy);
    void RestoreSavedQuestions(const SavedBoardTexts& texts);
    void RestoreLabels();
    void RestoreCharacters();
    void ShowContinuedGame();
    // Writes record2.dat with Mode1HighScore; a failed write is reported in LblMsg.
    void WriteStrokeRecord();

    // ---- Notices (notices.cpp) ----
    static std::string FileNotice(PlayerFile file, const char* whatHappens);  // whatHappens with {file} filled in
    void ShowStartupNotices();
    // The learning files' lines follow the files: a refused one named, one started afresh not.
    void NoteLearningFiles();
    bool SavedBeforeLeaving();  // SaveGame, noting the message to go back to; false when it failed
    void OfferLeavingUnsaved(LeaveAfterFailedSave leave);
    // Which files a save could not write and why, a line for each reason, as the notice tells it.
    void SetSaveFailureDetail(std::string detail) { SaveFailureDetail = std::move(detail); }
    // After a change of the message above it, the notice moves to stay clear of it.
    void FitNotice() { notice.Fit(); }
    bool LeaveChoiceKey(char16_t keyChar);  // true when the key answered the choice
    void BackFromFailedSave();
    void FinishMinimising();

    // Path of an asset below the program folder ("Data/Png/ball.png").
    std::string AssetPath(const std::string& relativePath) const { return Folda + relativePath; }
    bool ExplosionShows() const { return ImgBakuhatu->Visible; }
    bool CountdownRuns() const { return ThinkingTimeCount > 0; }
    int Random(int n) { return svc.random.Random(n); }
    uint32_t timeGetTime() { return svc.app.clock().NowMs(); }

private:
    friend struct GameStateSetUp;  // the tests' builder of the states they start from
    Progress progress;
    Board board;
    GameServices& svc;
    GameSound sound;  // the effects, the voice and the music behind the player's switches
    QuestionBank questions;
    TDataRec DataRec{};  // the suspended game as last read or written
    std::string Folda;   // program folder, trailing '/'
    DataFiles files;     // the player's data folder and its files
    SettingsDialog* Form2 = nullptr;  // set by the program after creation
    LearningWindow* LearningForm = nullptr;  // [R]; set by the program after creation
    LearningLog Learning;  // Gakushu.tsv and Rireki.tsv
    BallPathMark LastBallMark;
    bool AnswerLabelsAcross = false;  // they stand across the whole width, no longer at their design place
    std::string SaveFailure;  // what the last SaveGame could not write, for the player; empty when all was written
    std::string SaveFailureDetail;  // which files and why, a line for each reason
    std::string StrokeRecordFailure;  // what the last stroke record write could not do; empty when written
    std::vector<std::string> StartupNotices;  // files the start-up could not read, a line each
    NoticeBox notice{*this, *this};
    LeaveChoice leaving;  // a save on the way out that failed, and the player's choice
};

