#pragma once
// What the settings dialog and the learning window have in common as modal
// panels drawn with Dear ImGui over the scene: open while the game waits in a
// nested loop, text input theirs meanwhile, a few frames drawn after each input
// so that widgets settle, a button's action run after its frame (it may open a
// box with a loop of its own), and a quit the player asked for while open
// passed on to the game once closed. Each panel keeps its own keys and drawing.
#include <functional>

class Application;
class ImGuiLayer;
class ImGuiMessageBoxes;
union SDL_Event;

class ModalPanel {
public:
    // Frames drawn after each input: hover, press and release show over two frames.
    static constexpr int kSettleFrames = 3;

    ModalPanel(Application& app, ImGuiMessageBoxes& boxes) : app_(app), boxes_(boxes) {}

    bool IsOpen() const { return open_; }
    // Open, its first frame to come (which forgets what ImGui held active last time).
    void Open() {
        open_ = true;
        firstFrame_ = true;
    }
    void Close() { open_ = false; }
    bool FirstFrame() const { return firstFrame_; }

    // Before the nested loop: the panel takes text input (the character of the
    // key that opened it lands nowhere); no action or quit is left from before.
    void BeginModal();
    // After it: closed, text input as it was.
    void EndModal();
    // A quit asked for while the panel was open goes to the game now.
    void PassOnQuit() const;
    // A close that was refused refuses the quit that asked for it too.
    void ForgetQuit() { quitAfterClose_ = false; }

    // An input event after the panel's own keys: a quit closes the panel (close)
    // and is passed on later; releases and window events reach the game as well.
    // Returns true when the game does not see the event.
    bool HandleEvent(const SDL_Event& e, ImGuiLayer& layer, const std::function<void()>& close);
    void WantSettleFrames() { framesWanted_ = kSettleFrames; }

    // One frame: the scene dimmed, the panel's contents, its boxes. After it the
    // waiting action is posted, when mayAct and no box or other action holds it back.
    void DrawFrame(ImGuiLayer& layer, const std::function<void()>& contents, bool mayAct = true);
    // When the panel wants its next frame (see SdlEventBackend::SetOverlayFrames).
    int MsUntilFrame(ImGuiLayer& layer) const;

    // A button's action, kept until its frame has been drawn; false when one waits already.
    bool Request(std::function<void()> action);
    bool ActionWaits() const { return static_cast<bool>(pending_); }
    bool ActionRunning() const { return actionRunning_; }
    void SetActionRunning(bool running) { actionRunning_ = running; }
    // Runs an action with frames for what it changes.
    void Run(const std::function<void()>& action);

private:
    Application& app_;
    ImGuiMessageBoxes& boxes_;
    bool open_ = false;
    bool drawing_ = false;
    bool firstFrame_ = false;
    int framesWanted_ = 0;
    std::function<void()> pending_;
    bool actionRunning_ = false;
    bool quitAfterClose_ = false;
    bool textInputWasOn_ = false;
};
