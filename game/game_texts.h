#pragma once
// The texts of the game: what the player reads and hears, the score labels'
// texts, and the keys the key handler tests.
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

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
inline const char* const Begin = "競技開始";
inline const char* const ScoreChallenge = "得点挑戦";
inline const char* const StrokeChallenge = "打数挑戦";
// The program's name: the window's caption and the message boxes' caption.
inline const char* const Title = "てらもん2";
// What a block, the answer label and the points label hold before a board is dealt.
inline const char* const BlockPlaceholder = "四";
inline const char* const PointsPlaceholder = "1000点";
inline const char* const HelpFontFamily = "ＭＳ ゴシック";
// Placeholders in {braces} are filled by Format().
inline const char* const Score = "SCORE:{value}";
inline const char* const HighScore = "HIGHSCORE:{value}";
inline const char* const StrokeRecord = "最小打数:{value}";
inline const char* const QuestionNumber = "第{n}問";
inline const char* const Points = "{points}点";
inline const char* const ScoreLost = "[Shift]キーを押すと第{first}問から再開します。";
// Between an idiom's speech text and its meaning's.
inline const char* const SpeechStop = "。";

inline const char* const SettingsSaveFailed = "設定の保存に失敗しました。";
inline const char* const StrokeRecordSaveFailed = "最小打数の保存に失敗しました。";
inline const char* const LearningSaveFailed = "学習記録の保存に失敗しました。";
inline const char* const QuitUnsaved = "保存せずに終了...[Q]キー\u3000ゲームに戻る...[B]キー";
inline const char* const MinimiseUnsaved = "保存せずに最小化...[Q]キー\u3000ゲームに戻る...[B]キー";

// Start-up notices; {file} is the file's name.
inline const char* const FolderUnreadable =
    "データフォルダー TeramonData を読めないので、中断したゲーム・記録・設定・追加問題なしで始めます。";
inline const char* const SuspendedUnreadable =
    "{file} を読めないので、中断したゲームとハイスコアなしで始めます（上書きしません）。";
inline const char* const SuspendedInvalid = "{file} の中断したゲームが正しくないので、続きからは始められません。";
inline const char* const StrokeRecordUnreadable = "{file} を読めないので、最小打数は030から始めます。";
inline const char* const SettingsUnreadable = "{file} を読めないので、初めの設定で始めます（上書きしません）。";
inline const char* const QuestionsUnreadable = "{file} を読めないので、追加問題なしで始めます。";
inline const char* const RecordUnreadable = "{file} を読めないので、学習を記録せずに始めます（上書きしません）。";
inline const char* const HistoryUnreadable = "{file} を読めないので、ゲームの結果を記録せずに始めます（上書きしません）。";
inline const char* const RecordNotText = "{file} の形式が正しくないので、学習を記録せずに始めます（上書きしません）。";
inline const char* const HistoryNotText = "{file} の形式が正しくないので、ゲームの結果を記録せずに始めます（上書きしません）。";
inline const char* const RecordTooLarge = "{file} が大きすぎるので、学習を記録せずに始めます（上書きしません）。";
inline const char* const HistoryTooLarge = "{file} が大きすぎるので、ゲームの結果を記録せずに始めます（上書きしません）。";

// Why a file could not be written.
inline const char* const NoSpace = "空き容量が足りません";
inline const char* const NoPermission = "書き込む権限がありません";
inline const char* const NoFolder = "保存先のフォルダーがありません";
inline const char* const KeptUnreadable = "読めないファイルなので上書きしません";
inline const char* const WriteFailed = "書き込みでエラーが起きました";
inline const char* const NotSaved = "{files} を保存できませんでした（{reason}）。";
inline const char* const FileNameJoin = " と ";
inline const char* const UnsavedInTable = "表には保存されていない分も含まれます。";

// Starting the learning record afresh after a refused file.
inline const char* const RecordGone = "{file} はもうないので、新しい記録を始めました。";
inline const char* const RecordNotRenamed = "{file} の名前を変えられないので、新しい記録を始められませんでした（{reason}）。";
inline const char* const RecordKeptAs = "{file} を {kept} として残し、新しい記録を始めました。";
// Why the learning window has nothing recorded.
inline const char* const LearningUnreadable = "学習記録のファイルを読めないため、記録していません。({file})";
inline const char* const LearningNotText = "学習記録のファイルの形式が正しくないため、記録していません。({file})";
inline const char* const LearningTooLarge = "学習記録のファイルが大きすぎるため、記録していません。({file})";

// The help panel's rows; the [R] row shows today's reviews when there are any.
inline const char* const HelpLines[] = {
    "終了........................[Esc]キー",
    "画面最小化..................[D]キー",
    "ゲームスタート..............[Shift]キー",
    "ゲーム一時停止/再開.........[A]キー",
    "ブロック右移動..............マウス右ボタン",
    "ブロック左移動..............マウス左ボタン",
    "高速ブロック移動............[Ctrl]キー",
    "ゲームモード変更............[Alt]キー",
    "ヒント表示..................[Z]キー",
    "BGM ON/OFF..................[X]キー",
    "サウンド ON/OFF.............[C]キー",
    "声種の変更と追加問題の編集..[S]キー",
};
inline const char* const HelpLearningRow = "学習記録....................[R]キー";
inline const char* const HelpLearningName = "学習記録（今日の復習 {due}）";
inline const char* const HelpLearningKey = "[R]キー";
}  // namespace Msg

// Where the data folder lies under the player's documents folder.
inline const char* const kDataFolderUnderDocuments = "/みずうみ舎/TeramonData";

// pattern with each "{name}" replaced by its value; unknown names stay as written.
std::string Format(std::string_view pattern,
                   std::initializer_list<std::pair<std::string_view, std::string_view>> fields);

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
