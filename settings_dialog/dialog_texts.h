#pragma once
// The texts of the settings dialog, its message boxes and the learning window.
// Placeholders in {braces} are filled by Format(). The glyph lists of the
// dialogs' atlases are made from these tables (DialogGlyphTexts, LearningGlyphTexts).
#include <string>

#include "game/game_texts.h"

// Punctuation the player may type or the texts hold, beyond the common Japanese set.
inline constexpr const char* kDialogPunctuation = "…―「」『』（）？！";

// The message boxes' buttons.
namespace BoxText {
inline constexpr const char* Yes = "はい";
inline constexpr const char* No = "いいえ";
inline constexpr const char* Ok = "OK";
}  // namespace BoxText

namespace SettingsDialogText {
inline constexpr const char* Caption = "てらもん2の設定";
inline constexpr const char* Voices = "しゃべる声";
inline constexpr const char* AddQuestions = "問題の追加";
inline constexpr const char* ReadingInput = "読み入力";
inline constexpr const char* Cancel = "キャンセル";
inline constexpr const char* SaveQuestion = "変更を保存しますか？";
inline constexpr const char* CannotRead = "ファイルを読み込めませんでした。";
inline constexpr const char* NoFile = "ファイルがありません。";
// OK after the question file could not be read: the voice is saved, the file
// the player could not see is left as it is.
inline constexpr const char* UnreadFileKept = "ファイルを読み込めなかったので、問題は保存しませんでした。";
inline constexpr const char* Unstorable = "「{character}」は保存できない文字です。";
}  // namespace SettingsDialogText

namespace LearningWindowText {
inline constexpr const char* Caption = "学習記録";
inline constexpr const char* DueToday = "今日の復習 {due} 語";
inline constexpr const char* WeakAndLearned = "　　苦手 {weak} 語　　覚えた熟語 {learned} / {total} 語";
inline constexpr const char* Forecast = "これから7日の復習：";
inline constexpr const char* ForecastDay = "{day} {count} 語";
inline constexpr const char* ForecastGap = "　";
inline constexpr const char* ReviewDeal = "苦手な熟語を多く出す";
inline constexpr const char* NoReviewDue = "今日の復習はありません（オンにすると、復習の日が来た熟語を先に出します）";
inline constexpr const char* ReviewDue = "オンにすると、今日の復習 {due} 語を先に出します";
inline constexpr const char* SettingNotSaved = "設定を保存できませんでした。";
inline constexpr const char* Clear = "記録を消す";
inline constexpr const char* Close = "閉じる";
inline constexpr const char* Listen = "聞く";
inline constexpr const char* DueOnly = "今日の復習だけ";
inline constexpr const char* WeakOnly = "苦手だけ";
inline constexpr const char* Search = "検索";
inline constexpr const char* Shown = "{shown} / {all}";
// The search box is this many of this character wide.
inline constexpr const char* SearchWidthCharacter = "あ";
inline constexpr const char* ClearQuestion =
    "学習記録（Gakushu.tsv）と得点の履歴（Rireki.tsv）を\n"
    "すべて消しますか？どちらも空になり、元に戻せません。";
inline constexpr const char* NotCleared = "消せませんでした。";
inline constexpr const char* SoundOff =
    "音が切れているので聞こえません。ゲームの画面で [C] キーを押すと、効果音と声が出ます。";
inline constexpr const char* StartAfresh = "新しい記録を始める";
inline constexpr const char* RenameOne = "{file} を {file}.日時.bad";
inline constexpr const char* RenameJoin = "、";
inline constexpr const char* StartAfreshQuestion =
    "{renames} という名前で残し、\n新しい記録を始めますか？（元のファイルは消しません）";
inline constexpr const char* Card = "熟語のカード";
inline constexpr const char* AdditionalQuestion = "追加問題";
// The charts under the table.
inline constexpr const char* KnownChart = "覚えた熟語の数（過去{days}日）　今 {latest} / {total} 語";
inline constexpr const char* KnownChartEmpty = "まだ覚えた熟語はありません。正解した熟語がここに数えられます。";
inline constexpr const char* Today = "今日";
inline constexpr const char* Words = "{n} 語";
inline constexpr const char* ScoreChart = "得点挑戦の最終得点（最近20回）";
inline constexpr const char* ScoreBest = "最高";
inline constexpr const char* ScoreEmpty = "まだありません。得点挑戦を30問目まで遊ぶと、最終得点がここに出ます。";
inline constexpr const char* StrokeChart = "打数挑戦の打数（最近20回・少ないほど良い）";
inline constexpr const char* StrokeBest = "最少";
inline constexpr const char* StrokeEmpty = "まだありません。打数挑戦を最後まで遊ぶと、打数がここに出ます。";
// The table's headers.
inline constexpr const char* Idiom = "熟語";
inline constexpr const char* Reading = "読み";
inline constexpr const char* Meaning = "意味";
inline constexpr const char* Right = "正解";
inline constexpr const char* Missed = "ミス";
inline constexpr const char* Hints = "ヒント";
inline constexpr const char* NextReview = "次の復習";
// The card's facts.
inline constexpr const char* Record = "記録";
inline constexpr const char* NotDealtYet = "まだ出題されていません";
inline constexpr const char* DueIsToday = "　今日です";
inline constexpr const char* DueSinceBefore = "　今日までの分です";
inline constexpr const char* Dealt = "出題された回数";
inline constexpr const char* Streak = "連続正解";
inline constexpr const char* Box = "復習の箱";
inline constexpr const char* BoxOfFive = "{box} / 5";
inline constexpr const char* FirstRight = "初めて正解した日";
inline constexpr const char* NotRightYet = "まだ正解していません";
inline constexpr const char* LastDealt = "最後に出た日";
inline constexpr const char* FirstSeen = "初めて出た日";
inline constexpr const char* RecentAnswers = "最近の答え";
inline constexpr const char* NoAnswersYet = "まだありません";
inline constexpr const char* EarlierAnswers = "…　";
inline constexpr const char* Answer = "{day} {mark}";
inline constexpr const char* NextAnswer = "　{day} {mark}";
inline constexpr const char* RightMark = "○";
inline constexpr const char* MissedMark = "×";
inline constexpr const char* Times = "{n} 回";
// A date not set.
inline constexpr const char* NoDate = "-";
inline constexpr const char* Weekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
inline constexpr const char* ShortDate = "{month}/{day}({weekday})";
}  // namespace LearningWindowText

// The settings dialog's own labels, run together for the glyph atlas (a message
// box asks for its text's glyphs when it opens).
std::string DialogGlyphTexts();
// Every text of the learning window and its boxes, run together for the glyph atlas.
std::string LearningGlyphTexts();
