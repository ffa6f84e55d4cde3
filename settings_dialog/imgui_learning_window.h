#pragma once
// The learning window ([R]): today's work at the top, the player's record of
// every idiom in a sortable, filterable table with a button per row that says
// the idiom, a card per idiom (its reading with the pitch drawn, its meaning
// and record), the progress charts, the review option and clearing the record. Drawn with Dear ImGui over
// the scene like the settings dialog (whose ImGui layer it shares), modal, and
// usable with the keyboard alone: Tab and the arrow keys move, Space and Enter
// press, [Esc] steps back (out of a card, out of the table, then closes), [R]
// closes.
#include <cstdint>
#include <string>
#include <vector>

#include "game/services.h"
#include "platform/sdl/sdl_event_backend.h"
#include "settings_dialog/imgui_message_boxes.h"
#include "settings_dialog/learning_view.h"
#include "settings_dialog/modal_panel.h"
#include "voice/accent_pattern.h"

class Application;
class ImGuiSettingsDialog;
class LearningWindowHost;
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
    bool IsOpen() const { return panel_.IsOpen(); }
    const ImGuiMessageBoxes& Boxes() const { return boxes_; }
    // Has the shared layer's glyph atlas built ahead, on a thread of its own,
    // with the characters of every question's idiom, reading and meaning.
    void PrepareFonts();
    // Builds the table and draws one frame: what opening costs before the first frame shows.
    void PrepareAndDrawForBenchmark();
    int VisibleRows() const { return static_cast<int>(visible_.size()); }
    // The question whose card is showing, -1 when none.
    int CardQuestion() const { return cardQuestion_; }
    // The table row the keyboard is on (its place among the visible rows), -1
    // when the keyboard is on the controls.
    int FocusedRow() const { return focusedRow_; }
    bool CloseRequested() const { return closeRequested_; }
    // The line under the buttons: why 聞く said nothing.
    const std::string& Notice() const { return notice_; }
    // Without the event loop, for tests: opens with one frame drawn, then takes
    // one event at a time with its frames. Nothing asked for is carried out.
    void OpenWithoutLoop();
    void EventWithoutLoop(const SDL_Event& e);

private:
    enum class Action { None, Close, Clear, Speak };

    bool HandleEvent(const SDL_Event& e);
    int MsUntilFrame() const;
    void DrawOverlay();
    void DrawPanel();
    void DrawToolbar();
    void DrawRecordFileState();  // a save that failed; a way past a refused file
    void DrawHeadline();
    void DrawTable(float height);
    void DrawTableRow(int row, bool enterHere);
    void DrawCharts(float height);
    void DrawCard();
    void HandleEscape();
    // Puts the keyboard on the control just drawn when it is to come back there.
    void TakeFocusBackHere();
    void Open();
    void OpenCard(int question);
    static std::string FixedTexts();
    void Rebuild();  // the entries from the host's questions and record
    void Refilter();
    void Request(Action a, int question = -1);
    void RunAction(Action a, int question);

    LearningWindowHost& host_;
    Application& app_;
    SdlEventBackend& backend_;
    ImGuiSettingsDialog& layerOwner_;
    ImGuiMessageBoxes boxes_;
    ModalPanel panel_;
    // The settings dialog's hooks, called while this window is closed.
    std::function<bool(const SDL_Event&)> passFilter_;
    std::function<void()> passOverlay_;
    std::function<int()> passFrames_;
    std::function<bool()> passCompose_;
    SdlEventBackend::OverlayAreas passAreas_;

    TForm* waiter_ = nullptr;  // the nested loop's, while it runs

    std::vector<LearningEntry> entries_;
    std::vector<const LearningEntry*> visible_;
    std::vector<int> knownPerDay_;
    std::vector<GameResult> scores_, strokes_;
    std::string today_;
    LearningHeadline headline_;
    LearningFilter filter_;
    std::string search_;
    LearningColumn sortColumn_ = LearningColumn::Due;
    bool sortAscending_ = true;
    bool reviewDeal_ = false;
    std::string status_;  // one line: why nothing is recorded, or what failed

    // The keyboard in the table: ImGui moves it from row to row; these say
    // where it was at the end of the last frame and where it is to go.
    int focusedRow_ = -1;
    bool inTable_ = false;
    unsigned tableItem_ = 0;  // the table as one item among the controls
    bool leaveTable_ = false;
    int cardQuestion_ = -1;
    bool cardOpening_ = false, cardClosing_ = false;
    std::vector<AccentPhrase> cardPhrases_;
    bool closeRequested_ = false;
    std::string notice_;
};
