#pragma once
// The learning window ([R]): the player's record of every idiom in a sortable,
// filterable table with a button per row that says the idiom, the progress
// charts, the review option and clearing the record. Drawn with Dear ImGui over
// the scene like the settings dialog (whose ImGui layer it shares), modal, and
// usable with the keyboard alone: Tab and the arrow keys move, Space and Enter
// press, [R] or [Esc] close.
#include <cstdint>
#include <string>
#include <vector>

#include "game/services.h"
#include "settings_dialog/imgui_message_boxes.h"
#include "settings_dialog/learning_view.h"

class Application;
class ImGuiSettingsDialog;
class LearningWindowHost;
class SdlEventBackend;
class TForm;
union SDL_Event;

class ImGuiLearningWindow : public LearningWindow {
public:
    // Hooks in after the settings dialog and passes on to it what is not its own.
    ImGuiLearningWindow(LearningWindowHost& host, Application& app, SdlEventBackend& backend,
                        ImGuiSettingsDialog& layerOwner);
    ~ImGuiLearningWindow() override;

    // Returns when the window has closed.
    void ShowModal() override;
    bool IsOpen() const { return open_; }
    // Has the shared layer's glyph atlas built ahead, on a thread of its own,
    // with the characters of every question's idiom, reading and meaning.
    void PrepareFonts();
    // Builds the table and draws one frame: what opening costs before the first frame shows.
    void PrepareAndDrawForBenchmark();
    int VisibleRows() const { return static_cast<int>(visible_.size()); }

private:
    enum class Action { None, Close, Clear, Speak };

    bool HandleEvent(const SDL_Event& e);
    int MsUntilFrame() const;
    void DrawOverlay();
    void DrawPanel();
    void DrawToolbar();
    void DrawTable(float height);
    void DrawCharts(float height);
    void Rebuild();  // the entries from the host's questions and record
    void Refilter();
    void Request(Action a, int question = -1);
    void RunAction(Action a, int question);

    LearningWindowHost& host_;
    Application& app_;
    SdlEventBackend& backend_;
    ImGuiSettingsDialog& layerOwner_;
    ImGuiMessageBoxes boxes_;
    // The settings dialog's hooks, called while this window is closed.
    std::function<bool(const SDL_Event&)> passFilter_;
    std::function<void()> passOverlay_;
    std::function<int()> passFrames_;
    std::function<bool()> passCompose_;

    bool open_ = false;
    bool drawing_ = false;
    bool firstFrame_ = false;
    int framesWanted_ = 0;
    bool quitAfterClose_ = false;
    TForm* waiter_ = nullptr;
    Action pending_ = Action::None;
    int pendingQuestion_ = -1;
    bool actionRunning_ = false;

    std::vector<LearningEntry> entries_;
    std::vector<const LearningEntry*> visible_;
    std::vector<int> knownPerDay_;
    std::vector<float> knownPlot_, scorePlot_;
    LearningFilter filter_;
    std::string search_;
    LearningColumn sortColumn_ = LearningColumn::Due;
    bool sortAscending_ = true;
    bool reviewDeal_ = false;
    std::string status_;  // one line: why nothing is recorded, or what failed
};
