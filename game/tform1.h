#pragma once
// The main game window. It holds every piece of game state as a field and owns
// every scene object. Its methods are defined by concern in several files:
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
//   learning_hooks.cpp  what the learning record hears of the play; review_deal.cpp the due-first draw
//   notices.cpp     the notice under the message: files not read at start-up, a save
//                   that failed, and the choice to leave without saving
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/ball_path.h"
#include "game/board.h"
#include "game/data_files.h"
#include "game/game_sound.h"
#include "game/game_texts.h"
#include "game/learning_log.h"
#include "game/learning_window_host.h"
#include "game/play_rules.h"
#include "game/progress.h"
#include "game/question_bank.h"
#include "game/services.h"
#include "game/settings_dialog_host.h"
#include "game/window_objects.h"
#include "persistence/data_rec.h"
#include "persistence/settings_file.h"
#include "platform/animation.h"
#include "platform/audio.h"
#include "platform/scene.h"
#include "platform/timer.h"

class TForm1 : public TForm, public WindowObjects, public SettingsDialogHost, public LearningWindowHost {
public:
    explicit TForm1(GameServices& services);
    ~TForm1() override;

    GameServices& svc;
    GameSound sound;  // the effects, the voice and the music behind the player's switches

    // ---- The questions (form_questions.cpp) ----
    QuestionBank questions;
    void LoadAdditionalQuestions();  // the player's file, NewTuikamondai.txt
    const Question& SlotQuestion(int s) const { return questions.At(board.MondaiNo[s]); }
    // The missing character of slot s (UTF-8).
    std::string SlotCharacter(int s) const;

    // ---- The game: where the player stands, and the board ----
    Progress progress;
    Board board;
    bool Title = false;

    // ---- Board state ----
    int ThinkingTimeCount = 0;
    uint32_t StartThinkingTime = 0;
    int OldThinkingTimeCount = 0;
    bool GameSaving = false;
    bool GameModeSetting = false;
    bool GameLoading = false;
    TDataRec DataRec{};

    // ---- Settings and paths ----
    bool IsMinimized = false;
    std::string Folda;      // program folder, trailing '/'
    DataFiles files;  // the player's data folder and its files
    bool Pause = false;
    bool GameSetting = false;

    SettingsDialog* Form2 = nullptr;  // set by the program after creation
    LearningWindow* LearningForm = nullptr;  // [R]; set by the program after creation
    LearningLog Learning;  // Gakushu.tsv and Rireki.tsv

    // ---- The learning record (learning_hooks.cpp, review_deal.cpp) ----
    void OpenLearningRecord();
    void RecordDeal();
    void RecordRight(int s);
    void RecordMiss(int s);
    void RecordHint(int s);
    void RecordFinishedGame(const char* mode, int result);
    void SaveLearningRecord();
    void LearningKey();  // [R]
    // With the review option on, a due question not yet dealt (oldest due first,
    // ties at random); -1 otherwise, without drawing from the generator.
    int DueUndealtQuestion();
    // As the learning window's host.
    std::vector<LearningQuestion> LearningQuestions() const override;
    LearningLog& LearningRecordLog() override { return Learning; }
    void SpeakQuestion(int q) override;
    bool SetReviewDeal(bool on) override;
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
    void DrawSlot(int k);
    int DrawUndealtQuestion(int k);  // marks it dealt
    bool HiddenCharacterClashes(int k, int p) const;
    int UndealtQuestions() const;
    bool IsDealt(int q) const;
    void MarkDealt(int q, bool dealt);
    void ResetQuestionPool();
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
    BallPathMark LastBallMark;
    void MarkBallPath();
    // Where ball b stood at the last tick, on the way it has come to where it stands.
    void BallWayStart(int b, float& x0, float& y0) const;
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
    bool AnswerLabelsAcross = false;  // they stand across the whole width, no longer at their design place
    // Meaning and reading placed (and, if need be, broken over lines or made smaller)
    // to stay clear of the help panel; after every change of their texts or places.
    void FitAnswerLabels();  // answer_labels_fit.cpp

    // ---- Round end (round_end.cpp) ----
    void DoGameOver();
    void FloatAniBakuhatuXFinish(SceneObject* sender);
    void FloatAniScoreYFinish(SceneObject* sender);
    void FloatAniTitleWidthFinish(SceneObject* sender);
    void ZoomInTitle();  // the title picture grows from nothing to its size

    // ---- Commands (commands.cpp) ----
    void FormKeyDown(SceneObject* sender, int key, char16_t keyChar, TShiftState shift);
    // One command a key: [Shift] starts a question, [Alt] switches the challenge,
    // [Esc] closes, [Y]/[N] answer the resume question, [A] pauses and resumes,
    // [D] minimises, [Z] shows the hint, [X] music, [C] sound, [S] the settings dialog.
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
    // Reads the suspended game (newrecord.dat: best score, used questions, the
    // board to continue), the stroke challenge's best result (record2.dat) and the
    // settings (Settei.ini), and shows what they say.
    void ReadSavedFilesAtStartup();
    void SaveGame();
    void CaptureBoardPlaces();  // the pictures' places into board.places
    std::string SaveFailure;  // what the last SaveGame could not write, for the player; empty when all was written
    std::string SaveFailureDetail;  // the same in one line: which file and why
    void LoadGame();
    // The pictures laid out from board.places, scaled from the saved window size.
    void PlaceBlocks(float sx);
    void PlaceBalls(float sx, float sy);
    void PlaceStones(float sx, float sy);
    void RestoreSavedQuestions(const SavedBoardTexts& texts);
    void RestoreLabels();
    void RestoreCharacters();
    void ShowContinuedGame();
    // Writes record2.dat with Mode1HighScore; a failed write is reported in LblMsg.
    void WriteStrokeRecord();
    std::string StrokeRecordFailure;  // what the last stroke record write could not do; empty when written

    // ---- Notices (notices.cpp) ----
    // What the title screen tells about files it could not read, one line each.
    std::vector<std::string> StartupNotices;
    static std::string FileNotice(PlayerFile file, const char* whatHappens);  // the file's name, then the text
    void ShowStartupNotices();
    void ShowNotice(const std::string& text);
    void HideNotice();
    // Under the message, clear of the help panel and the logo; after every
    // change of its text or of the window size.
    void FitNotice();
    // A save on the way out ([Esc], closing the window, [D]) that failed: the
    // player stays, told which file and why, and chooses between going back to
    // the game ([B]) and leaving without saving ([Q]).
    enum class LeaveAfterFailedSave { None, Close, Minimise };
    LeaveAfterFailedSave PendingLeave = LeaveAfterFailedSave::None;
    std::string MessageBeforeFailedSave;  // LblMsg as it was before the save, for [B]
    bool MessageBeforeFailedSaveVisible = false;
    bool LeavingUnsaved = false;  // the close that follows [Q] does not save again
    bool SavedBeforeLeaving();  // SaveGame, noting the message to go back to; false when it failed
    void OfferLeavingUnsaved(LeaveAfterFailedSave leave);
    bool LeaveChoiceKey(char16_t keyChar);  // true when the key answered the choice
    void BackFromFailedSave();
    void FinishMinimising();

    // ---- Speech made ahead (startup.cpp) ----
    // Has the fixed phrases of every voice made ahead (the chosen voice first).
    void PrepareFixedPhrases();

    // Path of an asset below the program folder ("Data/Png/ball.png").
    std::string AssetPath(const std::string& relativePath) const { return Folda + relativePath; }
    bool ExplosionShows() const { return ImgBakuhatu->Visible; }
    bool CountdownRuns() const { return ThinkingTimeCount > 0; }
    int Random(int n) { return svc.random.Random(n); }
    uint32_t timeGetTime() { return svc.app.clock().NowMs(); }
};

