#pragma once
// The settings dialog as the player sees it: a modal panel of 622 x 599 logical
// pixels drawn with Dear ImGui, centred over the game's scene, which keeps
// drawing and animating behind it. While it is open, SDL's events go to the
// panel and not to the game's key handler.
#include <cstdint>
#include <memory>
#include <string>

#include "game/services.h"
#include "settings_dialog/imgui_message_boxes.h"
#include "settings_dialog/modal_panel.h"
#include "settings_dialog/settings_dialog_logic.h"

class Application;
class ImGuiLayer;
class PreparedFontAtlas;
class SdlEventBackend;
class SdlWindow;
class SettingsDialogHost;
union SDL_Event;
struct ImGuiInputTextCallbackData;

class ImGuiSettingsDialog : public SettingsDialog {
public:
    // Hooks itself into the back end's event filter and overlay. fontFile: the
    // dialog's Japanese font; empty finds IPAPGothic through fontconfig.
    ImGuiSettingsDialog(SettingsDialogHost& host, Application& app, SdlWindow& window, SdlEventBackend& backend,
                        std::string fontFile = {});
    ~ImGuiSettingsDialog() override;

    // Returns when the dialog has closed.
    void ShowModal() override;

    SettingsDialogLogic& Logic() { return logic_; }
    // The one Dear ImGui layer of the window, made at first use; the learning
    // window draws with it too.
    ImGuiLayer& Layer();
    bool IsOpen() const { return panel_.IsOpen(); }
    // Starts building the layer's glyph atlas on a thread of its own, for the
    // dialog's texts and these (UTF-8), so that the first opening only shows
    // it. Does nothing once the layer is made.
    void PrepareFonts(std::string texts, std::string headingTexts = {});
    bool FontsPrepared() const;

private:
    enum class Action { None, ReadingButton, Ok, Cancel, Close };

    bool HandleEvent(const SDL_Event& e);
    // When the panel wants its next frame (see SdlEventBackend::SetOverlayFrames).
    int MsUntilFrame() const;
    void DrawOverlay();
    void DrawPanel();
    void DrawEditor(float x, float y, float w, float h);
    void Request(Action a);
    void RunAction(Action a);
    static int EditorCallback(ImGuiInputTextCallbackData* data);

    Application& app_;
    SdlWindow& window_;
    SdlEventBackend& backend_;
    std::string fontFile_;
    ImGuiMessageBoxes boxes_;
    ModalPanel panel_;
    SettingsDialogLogic logic_;
    std::unique_ptr<PreparedFontAtlas> preparedFonts_;  // until the layer takes it
    std::unique_ptr<ImGuiLayer> layer_;

    std::string buffer_;  // the editor's text as ImGui edits it
    uint64_t shownVersion_ = UINT64_MAX;
    bool caretToStart_ = false;
    int caretOffset_ = 0;
};
