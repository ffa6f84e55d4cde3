// The settings dialog's behaviour, opened from the running game with [S] and
// driven the way the player would: radio buttons, typing, the reading button,
// OK, Cancel and the close button, with scripted answers to its message boxes.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "persistence/atomic_file.h"
#include "persistence/ini_file.h"
#include "platform/text_codec.h"
#include "settings_dialog/question_file_text.h"
#include "settings_dialog/settings_dialog_logic.h"
#include "tests/test_support/game_fixture.h"

namespace {

using Answer = MessageBoxes::Answer;

struct ScriptedBoxes : MessageBoxes {
    std::vector<std::string> shown;
    std::vector<std::string> asked;
    std::deque<Answer> answers;
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
    Answer AskYesNo(const std::string& text) override {
        asked.push_back(text);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return Answer::No;
        }
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
};

// Opens the dialog the way the program does and runs the player's actions
// while it is open.
struct ScriptedDialog : SettingsDialog {
    SettingsDialogLogic& logic;
    std::function<void(SettingsDialogLogic&)> whileOpen;
    explicit ScriptedDialog(SettingsDialogLogic& l) : logic(l) {}
    void ShowModal() override {
        logic.Reopen();
        logic.FormShow();
        if (whileOpen) whileOpen(logic);
    }
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string Sjis(const std::string& utf8) { return Utf8ToCp932(utf8).value(); }

class SettingsDialogTest : public ::testing::Test {
protected:
    game_test::GameFixture game;
    ScriptedBoxes boxes;
    SettingsDialogLogic logic{game.f(), boxes};
    ScriptedDialog dialog{logic};

    const std::string userFile = game.DataFile("NewTuikamondai.txt");
    const std::string settingsFile = game.DataFile("Settei.ini");
    const std::string templateFile = std::string(TERAMON_SOURCE_DIR) + "/Data/tuikamondai.txt";
    const std::string userText = Sjis("見出し\r\n\r\n一攫千金\r\nいっかくせんきん\r\n");

    SettingsDialogTest() { game.f().SetSettingsDialog(&dialog); }
    ~SettingsDialogTest() override { ClearWriteFaultInjection(); }

    // [S] with the given actions while the dialog is open.
    void Open(std::function<void(SettingsDialogLogic&)> actions) {
        dialog.whileOpen = std::move(actions);
        game.Char(u's');
    }
    int SavedVoice() const {
        return LoadIniFile(settingsFile).ini.ReadInteger("VoiceMode", "Value", -1);
    }
};

TEST_F(SettingsDialogTest, OpenedAndClosedAtOnceAsksNothingWritesNothingAndRestoresTheGame) {
    WriteAll(userFile, userText);
    Open([&](SettingsDialogLogic& d) {
        EXPECT_TRUE(game.f().Screens().GameSetting);
        EXPECT_FALSE(game.f().Scene().Timer1->Enabled());
        EXPECT_GE(game.host.cursorCounter, 0) << "the cursor shows while the dialog is open";
        EXPECT_EQ(d.Lines(), (std::vector<std::string>{"見出し", "", "一攫千金", "いっかくせんきん"}));
        EXPECT_TRUE(d.RadioButtonFChecked());
        EXPECT_FALSE(d.RadioButtonMChecked());
        EXPECT_EQ(d.CaretLine(), 0);
        EXPECT_TRUE(d.TakeFocusRequest());
        d.Close();
    });
    EXPECT_TRUE(logic.IsClosed());
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(ReadAll(userFile), userText);
    EXPECT_FALSE(std::filesystem::exists(settingsFile));
    EXPECT_FALSE(game.f().Screens().GameSetting);
    EXPECT_TRUE(game.f().Scene().Timer1->Enabled());
    EXPECT_LT(game.host.cursorCounter, 0) << "the cursor is hidden again";
}

TEST_F(SettingsDialogTest, AVoiceChangeIsSavedOrDiscardedByTheAnswerToTheSaveQuestion) {
    for (const Answer answer : {Answer::Yes, Answer::No}) {
        SCOPED_TRACE(answer == Answer::Yes ? "Yes" : "No");
        WriteAll(userFile, userText);
        std::filesystem::remove(settingsFile);
        game.f().Sound().VoiceMode = 0;
        boxes.asked.clear();
        boxes.answers = {answer};
        Open([&](SettingsDialogLogic& d) {
            d.CheckRadioButtonM();
            EXPECT_FALSE(d.RadioButtonFChecked());
            d.Close();  // the title bar's close button
        });
        EXPECT_TRUE(logic.IsClosed());
        EXPECT_EQ(boxes.asked, std::vector<std::string>{"変更を保存しますか？"});
        if (answer == Answer::Yes) {
            EXPECT_EQ(game.f().Sound().VoiceMode, 1);
            EXPECT_EQ(SavedVoice(), 1);
            EXPECT_EQ(ReadAll(userFile), userText) << "the unchanged text is written back as it was";
        } else {
            EXPECT_EQ(game.f().Sound().VoiceMode, 0);
            EXPECT_FALSE(std::filesystem::exists(settingsFile));
            // The next opening shows the voice the game still has.
            Open([&](SettingsDialogLogic& d) {
                EXPECT_TRUE(d.RadioButtonFChecked());
                d.Close();
            });
            EXPECT_EQ(boxes.asked.size(), 1u);
        }
    }
}

TEST_F(SettingsDialogTest, WithoutAUserFileTheTemplateIsShownAndOkCreatesTheUserFileFromIt) {
    ASSERT_FALSE(std::filesystem::exists(userFile));
    // An existing settings file keeps its other sections.
    WriteAll(settingsFile, "[IsSound]\r\nValue=0\r\n\r\n[VoiceMode]\r\nValue=0\r\n\r\n");
    const std::string templateBytes = ReadAll(templateFile);
    Open([&](SettingsDialogLogic& d) {
        EXPECT_EQ(d.Lines(), SplitFileLines(Cp932ToUtf8(templateBytes).value()));
        EXPECT_EQ(d.Lines()[17], "一攫千金");
        d.CheckRadioButtonM();
        d.BtnOKClick();
    });
    EXPECT_TRUE(logic.IsClosed());
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_EQ(ReadAll(userFile), templateBytes) << "code page 932 with CR LF, as the template";
    EXPECT_EQ(ReadAll(settingsFile), "[IsSound]\r\nValue=0\r\n\r\n[VoiceMode]\r\nValue=1\r\n\r\n");
    EXPECT_EQ(game.f().Sound().VoiceMode, 1);
}

TEST_F(SettingsDialogTest, EditsAreWrittenByOkAndDroppedByCancelWithoutAQuestion) {
    WriteAll(userFile, userText);
    Open([&](SettingsDialogLogic& d) {
        d.EditText(d.EditorText() + "\n魑魅魍魎\n");
        EXPECT_FALSE(d.IsSaved);
        d.BtnCancelClick();
    });
    EXPECT_TRUE(logic.IsClosed());
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_EQ(ReadAll(userFile), userText);
    EXPECT_FALSE(std::filesystem::exists(settingsFile));

    Open([&](SettingsDialogLogic& d) {
        EXPECT_EQ(d.Lines().size(), 4u) << "the cancelled edit is gone";
        d.EditText(d.EditorText() + "\n魑魅魍魎\n");
        d.BtnOKClick();
    });
    // The editor's last line is empty (the text ends in a line break): kept as a line.
    EXPECT_EQ(ReadAll(userFile), userText + Sjis("魑魅魍魎\r\n\r\n"));
    EXPECT_EQ(SavedVoice(), 0);
}

TEST_F(SettingsDialogTest, AReadingInsertedByTheButtonAloneIsNoEdit) {
    WriteAll(userFile, userText);
    game.reading.table["一攫千金"] = "いっかくせんきん";
    Open([&](SettingsDialogLogic& d) {
        const uint64_t version = d.TextVersion();
        d.SetCaret(static_cast<int>(std::string("見出し\n\n一攫").size()));  // inside line 2
        EXPECT_EQ(d.CaretLine(), 2);
        d.BtnImputYomiClick();
        EXPECT_EQ(d.Lines(), (std::vector<std::string>{"見出し", "", "一攫千金", "いっかくせんきん",
                                                       "いっかくせんきん"}));
        EXPECT_NE(d.TextVersion(), version) << "the drawn editor must take the new text over";
        d.SetCaret(static_cast<int>(std::string("見出し\n").size()));  // the empty line
        d.BtnImputYomiClick();
        EXPECT_EQ(d.Lines().size(), 5u);
        d.Close();
    });
    EXPECT_TRUE(logic.IsClosed());
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_EQ(ReadAll(userFile), userText);
}

TEST_F(SettingsDialogTest, AFailedWriteKeepsTheDialogOpenWithTheText) {
    WriteAll(userFile, userText);
    SetWriteFaultInjection({[&](const std::string& path) { return path == userFile; },
                            WriteFailurePoint::Rename});
    Open([&](SettingsDialogLogic& d) {
        d.EditText("新しい問題");
        d.BtnOKClick();
        EXPECT_FALSE(d.IsClosed());
        EXPECT_EQ(d.EditorText(), "新しい問題");
        EXPECT_EQ(boxes.shown, std::vector<std::string>{"保存に失敗しました。"});
        // Closing still asks; Yes fails the same way and keeps it open.
        boxes.answers = {Answer::Yes};
        d.Close();
        EXPECT_FALSE(d.IsClosed());
        EXPECT_EQ(boxes.shown.size(), 2u);
        // Once the disk is back, OK saves and closes.
        ClearWriteFaultInjection();
        d.BtnOKClick();
    });
    EXPECT_TRUE(logic.IsClosed());
    EXPECT_EQ(ReadAll(userFile), Sjis("新しい問題\r\n"));
    EXPECT_FALSE(game.f().Screens().GameSetting);
}

TEST_F(SettingsDialogTest, ATextWithACharacterCodePage932CannotHoldIsNotWritten) {
    WriteAll(userFile, userText);
    Open([&](SettingsDialogLogic& d) {
        d.EditText("𩸽の塩焼き");
        d.CheckRadioButtonM();
        d.BtnOKClick();
        EXPECT_FALSE(d.IsClosed());
        EXPECT_EQ(boxes.shown, std::vector<std::string>{"「𩸽」は保存できない文字です。"});
        d.BtnCancelClick();
    });
    EXPECT_EQ(ReadAll(userFile), userText);
    EXPECT_FALSE(std::filesystem::exists(settingsFile)) << "nothing is written, the voice neither";
    EXPECT_EQ(game.f().Sound().VoiceMode, 0);
}

TEST_F(SettingsDialogTest, AnUnreadableFileIsReportedAndLaterEditsStillCount) {
    WriteAll(userFile, "\x82");  // a lead byte without its trail byte
    Open([&](SettingsDialogLogic& d) {
        EXPECT_EQ(boxes.shown, std::vector<std::string>{"ファイルを読み込めませんでした。"});
        EXPECT_FALSE(d.IsClosed());
        d.Close();  // untouched: nothing to ask
    });
    EXPECT_TRUE(logic.IsClosed());
    EXPECT_TRUE(boxes.asked.empty());

    boxes.answers = {Answer::No};
    Open([&](SettingsDialogLogic& d) {
        d.EditText("四字熟語");
        d.Close();
    });
    EXPECT_EQ(boxes.asked.size(), 1u) << "the edit is not dropped without asking";
    EXPECT_EQ(ReadAll(userFile), "\x82");
}

TEST(QuestionFileTextTest, LinesOfFilesAndOfTheEditor) {
    EXPECT_EQ(SplitFileLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitFileLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(SplitFileLines("").empty());
    EXPECT_EQ(SplitEditorText("a\n\nb\n"), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(SplitEditorText("a\r\nb"), (std::vector<std::string>{"a", "b"}));
    for (const char* text : {"", "a", "a\n", "\n\nb", "一\n二"})
        EXPECT_EQ(JoinEditorLines(SplitEditorText(text)), text);
}

}  // namespace
