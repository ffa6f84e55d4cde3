#pragma once
// The texts of the game: what the player reads and hears, the score labels'
// texts, and the keys the key handler tests.
#include <string>

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

// "[Shift]キーを押すと第" + first question of the stage + "問から再開します。"
std::string ScoreLostMessage(int stage);
