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

#include "game/board.h"
#include "game/data_files.h"
#include "game/game_sound.h"
#include "game/learning_log.h"
#include "game/learning_window_host.h"
#include "game/progress.h"
#include "game/question_bank.h"
#include "game/services.h"
#include "game/settings_dialog_host.h"
#include "persistence/data_rec.h"
#include "persistence/settings_file.h"
#include "platform/animation.h"
#include "platform/audio.h"
#include "platform/scene.h"
#include "platform/timer.h"


// Virtual-key codes the key handler tests.
constexpr int VK_SHIFT_KEY = 16;
constexpr int VK_MENU_KEY = 18;
constexpr int VK_ESCAPE_KEY = 27;

// Texts shown to the player.
namespace Msg {
inline const char* const Start = "[Shift]キーを押すとゲームが始まります。";
inline const char* const ResumeQuestion =
    "前回の続きからゲームを始めますか? はい...[Y]キー\u3000いいえ...[N]キー";
inline const char* const Paused = "一時停止中...[A]キーを押すと再開します。";
inline const char* const SaveFailed = "保存に失敗しました。";
inline const char* const LoadFailed = "データ読み込みに失敗しました。[Shift]キーを押すとゲームを開始します。";
inline const char* const ContinuedPaused = "[A]キーを押すとゲームを開始します。";
inline const char* const ContinuedOver = "[Shift]キーを押すとゲームを開始します。";
inline const char* const StrokeRestart = "[Shift]キーを押すと再開します。";
inline const char* const GameClearRestart = "[Shift]キーを押すと第１問から再開します。";
inline const char* const StrokeNext = "[Shift]キーを押せば始まります。";
}  // namespace Msg

// Texts spoken to the player (UTF-8 here, code page 932 when spoken).
namespace SpeechText {
inline const char* const Otsukare = "おつかれさまでした。";
inline const char* const NewRecord = "やったね、しんき'ろく。おめでとお。";
inline const char* const WellDone = "やったね。おめでとお。";
}  // namespace SpeechText

class TForm1 : public TForm, public SettingsDialogHost, public LearningWindowHost {
public:
    explicit TForm1(GameServices& services);
    ~TForm1() override;

    GameServices& svc;
    GameSound sound;  // the effects, the voice and the music behind the player's switches

    // ---- Layout components (fixed design of the window) ----
    TImage* ImgMusic = nullptr;
    TImage* ImgMusicStop = nullptr;
    TImage* ImgSound = nullptr;
    TImage* ImgSoundStop = nullptr;
    TImage* Image1 = nullptr;
    TText* Text1 = nullptr;
    TShadowEffect* ShadowEffect1 = nullptr;
    TImage* ImgPad = nullptr;
    TImage* ImageBall = nullptr;
    TFloatAnimation* FloatAnimation1 = nullptr;
    TLabel* LblImi = nullptr;
    TLabel* LblPadHitCount = nullptr;
    TLabel* LblMode1HighScore = nullptr;
    TLabel* LblTotalScore = nullptr;
    TLabel* LblHighScore = nullptr;
    TLabel* LblGameMode = nullptr;
    TLabel* LblKaitoMoji = nullptr;
    TFloatAnimation* FloatAniKaitoMoji = nullptr;
    TLabel* LblYomi = nullptr;
    TLabel* LblMsg = nullptr;
    TLabel* LblMondaiCount = nullptr;
    TImage* ImgTitle = nullptr;
    TFloatAnimation* FloatAniTitleHeight = nullptr;
    TFloatAnimation* FloatAniTitleWidth = nullptr;
    TLabel* LblVisibleBlockCount1 = nullptr;
    TLabel* LblVisibleBlockCount2 = nullptr;
    TLabel* LblScore = nullptr;
    TFloatAnimation* FloatAniScoreY = nullptr;
    TFloatAnimation* FloatAniScoreX = nullptr;
    TImage* ImgBakuhatu = nullptr;
    TFloatAnimation* FloatAniBakuhatuX = nullptr;
    TFloatAnimation* FloatAniBakuhatuY = nullptr;
    TFloatAnimation* FloatAniBakuhatuOpacity = nullptr;
    TTimer* Timer1 = nullptr;
    TRectangle* RectSosaHoho = nullptr;
    TLabel* LblSosaHoho = nullptr;
    TImage* ImgLogo = nullptr;
    TRectangle* RectNotice = nullptr;  // a notice under LblMsg (notices.cpp)
    TLabel* LblNotice = nullptr;
    std::vector<TGlowEffect*> GlowEffects;  // GlowEffect1..13 in design order

    // ---- Scene objects created at start-up ----
    std::array<TImage*, kBlocks> ImgBlock{};
    std::array<TText*, 16> TextBlockMoji{};
    std::array<TShadowEffect*, 16> ShadowText{};
    std::array<TText*, 8> TextSpecialBlockMoji{};
    std::array<TShadowEffect*, 8> ShadowSpecialText{};
    std::array<TImage*, kBalls> ImgBall{};
    std::array<TText*, kBalls> TextBallMoji{};
    std::array<TShadowEffect*, kBalls> ShadowEffectTextBallMoji{};
    std::array<TFloatAnimation*, kBalls> FloatAniBallX{};
    std::array<TFloatAnimation*, kBalls> FloatAniBallY{};
    std::array<TImage*, kBlocks> ImgStone{};
    std::array<TFloatAnimation*, kBlocks> FloatAniStoneY{};

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
    // Where the ball in play stood when the last frame tick looked at it, and the
    // leg it was on: the next tick searches contacts along the way swept since, so
    // a fast leg or a late tick cannot carry the ball through a block or the paddle.
    struct BallPathMark {
        int ball = -1;
        float x = 0, y = 0;
        float startX = 0, stopX = 0, startY = 0, stopY = 0;
    };
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

// Decimal text of value left-padded with "0" to width; negative values unpadded;
// too many digits give width "-" characters.
std::string ZeroPad(int value, int width);

std::string IntToStr(int v);

// The texts of the score labels: "SCORE:001200", "HIGHSCORE:015000",
// "最小打数:030" (the stroke challenge's best) and the question number "第12問".
std::string ScoreText(int totalScore);
std::string HighScoreText(int highScore);
std::string StrokeRecordText(int strokes);
std::string QuestionNumberText(int question);

// Points of a correct score-challenge answer. movingBallNo is -1 at the last
// question (ball factor 4). The hint halves them; from stage 2 on the character
// dealt at the start doubles them.
int AnswerPoints(int stage, int padHitCount, int movingBallNo, bool hintShown,
                 bool dealtCharacter);

// "[Shift]キーを押すと第" + first question of the stage + "問から再開します。"
std::string ScoreLostMessage(int stage);

// Contact test of two pictures: their bounds shrunk by 5 units on every side,
// edges rounded to the nearest integer (ties to even), must intersect.
bool ImagesOverlap(const TImage* a, const TImage* b);

// The same contact test along a way: picture `moving`, carried in a straight line
// from (x0, y0) to where it stands now, against the picture `still`. Returns the
// fraction 0..1 of the way at which they first overlap, or a negative value when
// they never do. Overlapping where it stands now always counts (at 1 at the latest).
float SweptContact(const TImage* moving, float x0, float y0, const TImage* still);
