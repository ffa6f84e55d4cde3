#include "settings_dialog/settings_dialog_logic.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "game/question_table.h"
#include "game/settings_dialog_host.h"
#include "persistence/atomic_file.h"
#include "persistence/settings_file.h"
#include "platform/text_codec.h"
#include "settings_dialog/question_file_text.h"
#include "voice/speech_text.h"
#include "voice/voices.h"

SettingsDialogLogic::SettingsDialogLogic(SettingsDialogHost& host, MessageBoxes& boxes)
    : TForm(kClientWidth, kClientHeight), host_(host), boxes_(boxes) {
    Caption = SettingsDialogText::Caption;
    OnCloseQuery = [this](SceneObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
    OnClose = [this](SceneObject* sender) { FormClose(sender); };
}

std::string SettingsDialogLogic::UserFile() const { return host_.QuestionFilePath(); }
std::string SettingsDialogLogic::ShippedFile() const { return host_.ProgramFolderPath() + "Data/tuikamondai.txt"; }

void SettingsDialogLogic::FormShow() {
    ShokiYomikomi = true;
    host_.SettingsDialogShown();
    SetCheckedVoice(host_.SpeakingVoice());

    const bool fromUserFile = PathExists(UserFile());
    const std::string source = fromUserFile ? UserFile() : ShippedFile();
    const FileRead read = ReadWholeFile(source, kLargestQuestionFile);
    std::optional<std::string> text;
    if (read.status == ReadStatus::Ok)
        if (std::optional<DecodedText> decoded = DecodeTextFile(read.bytes)) text = std::move(decoded->utf8);
    userFileUnread_ = fromUserFile && !text;
    if (!text) {
        boxes_.ShowMessage(read.status == ReadStatus::Missing ? SettingsDialogText::NoFile
                                                              : SettingsDialogText::CannotRead);
        // The editor keeps what it held. Edits from here on still count, so
        // nothing the player types is dropped without the save question, and
        // closing untouched asks nothing.
        ShokiYomikomi = false;
        IsSaved = true;
        return;
    }
    ReplaceLines(SplitFileLines(*text));
    focusRequested_ = true;
    SetCaret(0);
    ShokiYomikomi = false;
    IsSaved = true;
}

void SettingsDialogLogic::FormActivate() { host_.SettingsDialogShown(); }

void SettingsDialogLogic::Memo1ChangeTracking() {
    if (!ShokiYomikomi) IsSaved = false;
}

void SettingsDialogLogic::SetCheckedVoice(int voice) {
    if (!IsVoice(voice)) voice = -1;
    const bool changed = voice != checkedVoice_;
    checkedVoice_ = voice;
    if (changed) Memo1ChangeTracking();
}

std::string SettingsDialogLogic::EditorText() const { return JoinEditorLines(lines_); }

void SettingsDialogLogic::EditText(const std::string& utf8Text) {
    std::vector<std::string> lines = SplitEditorText(utf8Text);
    if (lines == lines_) return;
    lines_ = std::move(lines);
    Memo1ChangeTracking();
}

void SettingsDialogLogic::ReplaceLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    ++textVersion_;
}

void SettingsDialogLogic::SetCaret(int byteOffset) {
    const std::string text = EditorText();
    selStart_ = std::clamp(byteOffset, 0, static_cast<int>(text.size()));
    caretLine_ = static_cast<int>(std::count(text.begin(), text.begin() + selStart_, '\n'));
}

bool SettingsDialogLogic::TakeFocusRequest() { return std::exchange(focusRequested_, false); }

void SettingsDialogLogic::BtnImputYomiClick() {
    // A line the button inserts is not an edit: IsSaved keeps its value.
    if (InsertReadingAfterLine(lines_, caretLine_, host_.Readings())) ++textVersion_;
}

// Writes the voice, then the question file. A failure is shown and leaves the
// dialog as it is, the editor's text intact; what was written before it stays.
bool SettingsDialogLogic::UserFileUnreadable() const {
    const FileRead read = ReadWholeFile(UserFile(), kLargestQuestionFile);
    if (read.status == ReadStatus::Missing) return false;
    return read.status != ReadStatus::Ok || !DecodeTextFile(read.bytes);
}

bool SettingsDialogLogic::SaveEverything() {
    // A question file the editor could not show is never written over: the
    // editor does not hold the player's questions.
    const bool keepQuestionFile = userFileUnread_ || UserFileUnreadable();
    const EncodedQuestionFile file = keepQuestionFile ? EncodedQuestionFile{std::string(), {}} : EncodeQuestionFile(lines_);
    if (!file.bytes) {
        boxes_.ShowMessage(Format(SettingsDialogText::Unstorable, {{"character", file.unstorableCharacter}}));
        return false;
    }
    // With none checked (the settings file named no voice we have) the last is kept.
    const int voice = IsVoice(checkedVoice_) ? checkedVoice_ : kVoiceCount - 1;
    if (!host_.SaveSpeakingVoice(voice)) {
        boxes_.ShowMessage(Msg::SaveFailed);
        return false;
    }
    if (keepQuestionFile) {
        boxes_.ShowMessage(SettingsDialogText::UnreadFileKept);
        IsSaved = true;
        return true;
    }
    if (!WriteFileAtomically(UserFile(), *file.bytes)) {
        boxes_.ShowMessage(Msg::SaveFailed);
        return false;
    }
    IsSaved = true;
    return true;
}

void SettingsDialogLogic::BtnOKClick() {
    if (SaveEverything()) Close();
}

void SettingsDialogLogic::BtnCancelClick() {
    IsSaved = true;
    Close();
}

void SettingsDialogLogic::FormCloseQuery(SceneObject*, bool& canClose) {
    if (IsSaved) return;
    if (boxes_.AskYesNo(SettingsDialogText::SaveQuestion) == MessageBoxes::Answer::Yes) {
        if (!SaveEverything()) canClose = false;
    } else {
        IsSaved = true;
    }
}

void SettingsDialogLogic::FormClose(SceneObject*) { host_.SettingsDialogClosed(); }
