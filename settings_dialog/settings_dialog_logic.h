#pragma once
// The settings dialog without its drawing: the voice choice, the editor of the
// additional-question file and what OK, Cancel and closing do with them. The
// window is a form of its own (622 x 599) so it can run modally; the drawn
// dialog shows its state and forwards the player's actions here.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/scene.h"
#include "settings_dialog/dialog_texts.h"
#include "settings_dialog/message_boxes.h"

class SettingsDialogHost;

class SettingsDialogLogic : public TForm {
public:
    static constexpr int kClientWidth = 622;
    static constexpr int kClientHeight = 599;

    SettingsDialogLogic(SettingsDialogHost& host, MessageBoxes& boxes);

    // While true the dialog is filling itself in: editor and radio changes are
    // not edits.
    bool ShokiYomikomi = false;
    // Nothing needs saving.
    bool IsSaved = false;

    // ---- Events ----
    void FormShow();
    void FormActivate();
    void Memo1ChangeTracking();
    void BtnImputYomiClick();
    void BtnOKClick();
    void BtnCancelClick();
    void FormCloseQuery(SceneObject* sender, bool& canClose);
    void FormClose(SceneObject* sender);

    // ---- The voice's radio buttons, one a voice of kVoices (checking one unchecks
    // the others); RadioButtonF and RadioButtonM are the first two ----
    bool VoiceChecked(int voice) const { return checkedVoice_ == voice; }
    void CheckVoice(int voice) { SetCheckedVoice(voice); }
    bool RadioButtonFChecked() const { return VoiceChecked(0); }
    bool RadioButtonMChecked() const { return VoiceChecked(1); }
    void CheckRadioButtonF() { CheckVoice(0); }
    void CheckRadioButtonM() { CheckVoice(1); }

    // ---- The editor (Memo1) ----
    const std::vector<std::string>& Lines() const { return lines_; }
    std::string EditorText() const;
    // The player changed the text in the editor.
    void EditText(const std::string& utf8Text);
    // The caret as a byte offset into EditorText(), and the line it stands in.
    void SetCaret(int byteOffset);
    int SelStart() const { return selStart_; }
    int CaretLine() const { return caretLine_; }
    // Counts changes made by the dialog itself (loading, the reading button),
    // so the drawn editor knows when to take the text over.
    uint64_t TextVersion() const { return textVersion_; }
    // The editor should take the keyboard focus with the caret at the start;
    // true once per request.
    bool TakeFocusRequest();

private:
    bool SaveEverything();
    // The user's question file exists but cannot be read or decoded now.
    bool UserFileUnreadable() const;
    void SetCheckedVoice(int voice);
    void ReplaceLines(std::vector<std::string> lines);
    std::string UserFile() const;
    std::string ShippedFile() const;

    SettingsDialogHost& host_;
    MessageBoxes& boxes_;
    int checkedVoice_ = 0;  // as designed: the female voice checked; -1 none
    std::vector<std::string> lines_;
    int selStart_ = 0;
    int caretLine_ = 0;
    uint64_t textVersion_ = 0;
    bool focusRequested_ = false;
    // This opening could not read the user's question file: the editor does not
    // hold it, so it must not be written over it.
    bool userFileUnread_ = false;
};
