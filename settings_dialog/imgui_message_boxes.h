#pragma once
// The dialog's message boxes, drawn with ImGui as modal pop-ups over it. Each
// box waits in a nested event loop, so the game behind keeps drawing and
// animating until the player answers.
#include <atomic>
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
    // A question whose keyboard focus and [Enter] start on `startOn`.
    Answer AskYesNo(const std::string& text, Answer startOn);

    bool IsOpen() const { return box_ != nullptr; }
    // Frames the open box has been drawn, -1 with none open. Safe to read from
    // another thread: tests that press keys from one wait on it.
    int ShownFrames() const { return shownFrames_.load(); }
    // Escape closes an information box; a question needs a real answer.
    void EscapePressed();
    // Draws the open box; call inside an ImGui frame.
    void Draw();

private:
    struct Box {
        std::string text;
        bool question = false;
        Answer startOn = Answer::Yes;
        bool popupOpened = false;
        Answer answer = Answer::No;
        TForm* waiter = nullptr;  // closed when answered, which ends the nested loop
    };
    Answer Run(const std::string& text, bool question, Answer startOn);
    void Answered(Answer a);

    Application& app_;
    std::string caption_;
    ImGuiLayer* layer_ = nullptr;
    Box* box_ = nullptr;
    std::atomic<int> shownFrames_{-1};
};
