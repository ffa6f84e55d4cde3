#pragma once
// The dialog's message boxes, drawn with ImGui as modal pop-ups over it. Each
// box waits in a nested event loop, so the game behind keeps drawing and
// animating until the player answers.
#include <string>

#include "settings_dialog/message_boxes.h"

class Application;
class ImGuiLayer;
class TForm;

class ImGuiMessageBoxes : public MessageBoxes {
public:
    ImGuiMessageBoxes(Application& app, const std::string& caption) : app_(app), caption_(caption) {}

    // The layer that draws the boxes (created when the dialog first opens).
    void SetLayer(ImGuiLayer* layer) { layer_ = layer; }

    void ShowMessage(const std::string& text) override;
    Answer AskYesNo(const std::string& text) override;
    // The same with いいえ chosen until the player moves to はい: Enter says no.
    Answer AskNoByDefault(const std::string& text);

    bool IsOpen() const { return box_ != nullptr; }
    // Escape closes an information box; a question needs a real answer.
    void EscapePressed();
    // Draws the open box; call inside an ImGui frame.
    void Draw();

private:
    struct Box {
        std::string text;
        bool question = false;
        bool noByDefault = false;
        bool popupOpened = false;
        Answer answer = Answer::No;
        TForm* waiter = nullptr;  // closed when answered, which ends the nested loop
    };
    Answer Run(const std::string& text, bool question, bool noByDefault = false);
    void Answered(Answer a);

    Application& app_;
    std::string caption_;
    ImGuiLayer* layer_ = nullptr;
    Box* box_ = nullptr;
};
