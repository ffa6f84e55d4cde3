// The dialogs' glyph lists are made from their tables of texts.
#include <gtest/gtest.h>

#include <string>

#include "settings_dialog/dialog_texts.h"

namespace {

// Each character of text (UTF-8) found in glyphs.
bool HoldsEveryCharacter(const std::string& glyphs, const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
        if (glyphs.find(text.substr(i, n)) == std::string::npos) return false;
        i += n;
    }
    return true;
}

TEST(DialogTextsTest, GlyphListsHoldTheFilledTextsButNoPlaceholderNames) {
    const std::string learning = LearningGlyphTexts();
    const std::string dialog = DialogGlyphTexts();
    for (const std::string& glyphs : {learning, dialog}) {
        EXPECT_EQ(glyphs.find('{'), std::string::npos);
        EXPECT_EQ(glyphs.find("file"), std::string::npos);
    }
    const std::string shownInTheWindow[] = {
        Format(LearningWindowText::ReviewDue, {{"due", "3"}}),
        // The figures are added to the window's list apart.
        Format(LearningWindowText::ShortDate, {{"month", ""}, {"day", ""}, {"weekday", "日"}}),
        Format(LearningWindowText::StartAfreshQuestion,
               {{"renames", Format(LearningWindowText::RenameOne, {{"file", "Gakushu.tsv"}})}}),
        LearningWindowText::ClearQuestion,
        "はい",
        "いいえ",
        "土",
    };
    for (const std::string& text : shownInTheWindow) EXPECT_TRUE(HoldsEveryCharacter(learning, text)) << text;
    for (const char* label : {"てらもん2の設定", "しゃべる声", "問題の追加", "読み入力", "OK", "キャンセル"})
        EXPECT_TRUE(HoldsEveryCharacter(dialog, label)) << label;
}

TEST(DialogTextsTest, FilledTextsReadAsBefore) {
    EXPECT_EQ(Format(LearningWindowText::StartAfreshQuestion,
                     {{"renames", Format(LearningWindowText::RenameOne, {{"file", "Rireki.tsv"}})}}),
              "Rireki.tsv を Rireki.tsv.日時.bad という名前で残し、\n新しい記録を始めますか？（元のファイルは消しません）");
    EXPECT_EQ(Format(LearningWindowText::WeakAndLearned, {{"weak", "2"}, {"learned", "5"}, {"total", "170"}}),
              "　　苦手 2 語　　覚えた熟語 5 / 170 語");
    EXPECT_EQ(Format(LearningWindowText::KnownChart, {{"days", "60"}, {"latest", "5"}, {"total", "170"}}),
              "覚えた熟語の数（過去60日）　今 5 / 170 語");
    EXPECT_EQ(Format(SettingsDialogText::Unstorable, {{"character", "𠮷"}}), "「𠮷」は保存できない文字です。");
}

}  // namespace
