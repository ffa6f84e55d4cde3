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

// Every text of the learning window once, as (name, words): the constants
// below and the window's glyph list (LearningGlyphTexts) are both made from it.
#define TERAMON_LEARNING_WINDOW_TEXTS(X) \
    X(Caption, "学習記録") \
    X(DueToday, "今日の復習 {due} 語") \
    X(WeakAndLearned, "　　苦手 {weak} 語　　覚えた熟語 {learned} / {total} 語") \
    X(Forecast, "これから7日の復習：") \
    X(ForecastDay, "{day} {count} 語") \
    X(ForecastGap, "　") \
    X(ReviewDeal, "苦手な熟語を多く出す") \
    X(NoReviewDue, "今日の復習はありません（オンにすると、復習の日が来た熟語を先に出します）") \
    X(ReviewDue, "オンにすると、今日の復習 {due} 語を先に出します") \
    X(SettingNotSaved, "設定を保存できませんでした。") \
    X(Clear, "記録を消す") \
    X(Close, "閉じる") \
    X(Listen, "聞く") \
    X(DueOnly, "今日の復習だけ") \
    X(WeakOnly, "苦手だけ") \
    X(Search, "検索") \
    X(Shown, "{shown} / {all}") \
    /* The search box is this many of this character wide. */ \
    X(SearchWidthCharacter, "あ") \
    X(ClearQuestion, "学習記録（Gakushu.tsv）と得点の履歴（Rireki.tsv）を\n" \
      "すべて消しますか？どちらも空になり、元に戻せません。") \
    X(NotCleared, "消せませんでした。") \
    X(SoundOff, "音が切れているので聞こえません。ゲームの画面で [C] キーを押すと、効果音と声が出ます。") \
    X(StartAfresh, "新しい記録を始める") \
    X(RenameOne, "{file} を {file}.日時.bad") \
    X(RenameJoin, "、") \
    X(StartAfreshQuestion, "{renames} という名前で残し、\n新しい記録を始めますか？（元のファイルは消しません）") \
    X(Card, "熟語のカード") \
    X(AdditionalQuestion, "追加問題") \
    /* The charts under the table. */ \
    X(KnownChart, "覚えた熟語の数（過去{days}日）　今 {latest} / {total} 語") \
    X(KnownChartEmpty, "まだ覚えた熟語はありません。正解した熟語がここに数えられます。") \
    X(Today, "今日") \
    X(Words, "{n} 語") \
    X(ScoreChart, "得点挑戦の最終得点（最近20回）") \
    X(ScoreBest, "最高") \
    X(ScoreEmpty, "まだありません。得点挑戦を30問目まで遊ぶと、最終得点がここに出ます。") \
    X(StrokeChart, "打数挑戦の打数（最近20回・少ないほど良い）") \
    X(StrokeBest, "最少") \
    X(StrokeEmpty, "まだありません。打数挑戦を最後まで遊ぶと、打数がここに出ます。") \
    /* The table's headers. */ \
    X(Idiom, "熟語") \
    X(Reading, "読み") \
    X(Meaning, "意味") \
    X(Right, "正解") \
    X(Missed, "ミス") \
    X(Hints, "ヒント") \
    X(NextReview, "次の復習") \
    /* The card's facts. */ \
    X(Record, "記録") \
    X(NotDealtYet, "まだ出題されていません") \
    X(DueIsToday, "　今日です") \
    X(DueSinceBefore, "　今日までの分です") \
    X(Dealt, "出題された回数") \
    X(Streak, "連続正解") \
    X(Box, "復習の箱") \
    X(BoxOfFive, "{box} / 5") \
    X(FirstRight, "初めて正解した日") \
    X(NotRightYet, "まだ正解していません") \
    X(LastDealt, "最後に出た日") \
    X(FirstSeen, "初めて出た日") \
    X(RecentAnswers, "最近の答え") \
    X(NoAnswersYet, "まだありません") \
    X(EarlierAnswers, "…　") \
    X(Answer, "{day} {mark}") \
    X(NextAnswer, "　{day} {mark}") \
    X(RightMark, "○") \
    X(MissedMark, "×") \
    X(Times, "{n} 回") \
    /* A date not set. */ \
    X(NoDate, "-") \
    X(ShortDate, "{month}/{day}({weekday})")

namespace LearningWindowText {
#define TERAMON_LEARNING_WINDOW_TEXT(name, words) inline constexpr const char* name = words;
TERAMON_LEARNING_WINDOW_TEXTS(TERAMON_LEARNING_WINDOW_TEXT)
#undef TERAMON_LEARNING_WINDOW_TEXT
inline constexpr const char* Weekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
}  // namespace LearningWindowText

// The settings dialog's own labels, run together for the glyph atlas (a message
// box asks for its text's glyphs when it opens).
std::string DialogGlyphTexts();
// Every text of the learning window and its boxes, run together for the glyph atlas.
std::string LearningGlyphTexts();
