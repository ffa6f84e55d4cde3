#pragma once
// The application's link to SDL: pumps window-system events into the event
// queue and draws the main window's scene when its picture changed, at most at
// the display's rate; otherwise the loop waits for the next event or timer.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <SDL_rect.h>

#include "platform/application.h"
#include "platform/input_state.h"
#include "platform/sdl/input_translator.h"
#include "platform/sdl/scene_renderer.h"
#include "platform/sdl/sdl_window.h"

class SdlEventBackend : public EventBackend {
public:
    // Screenshots for visual checks: TERAMON_SCREENSHOT=/path.png writes one
    // after TERAMON_SCREENSHOT_AFTER_MS (default 2000) ms; with
    // TERAMON_QUIT_AFTER_SCREENSHOT=1 the window is then asked to close.
    SdlEventBackend(Application& app, SdlWindow& window, SceneRenderer& renderer, TForm& form,
                    InputState& input);

    // Key presses, focus and close requests; connect them to the form's handlers.
    WindowEventHandlers& Handlers() { return translator_.handlers; }

    // Sees every SDL event first; returning true keeps it from the game (a
    // dialog drawn over the scene uses this while it is open).
    void SetEventFilter(std::function<bool(const SDL_Event&)> filter) { filter_ = std::move(filter); }
    // Draws over the scene every frame, before presenting.
    void SetOverlay(std::function<void()> overlay) { overlay_ = std::move(overlay); }
    // When the overlay wants its next frame: kOverlayHidden while it shows
    // nothing, 0 for now, otherwise in that many milliseconds.
    static constexpr int kOverlayHidden = -1;
    void SetOverlayFrames(std::function<int()> msUntilFrame) { overlayFrames_ = std::move(msUntilFrame); }
    // An overlay that works out its next picture before anything is drawn:
    // returns false when that picture is the one on screen (a pointer move that
    // changed no widget), and the frame is then neither drawn nor shown; the
    // overlay hook then draws the picture worked out. Without it, the overlay
    // hook works out and draws its picture in one go, every frame.
    void SetOverlayCompose(std::function<bool()> compose) { overlayCompose_ = std::move(compose); }
    // A composed overlay that can be redrawn in parts (with the software
    // renderer): changedAreas fills where its new picture differs from the one
    // on screen, in output pixels, or returns false when all of it must be
    // drawn; drawIn then draws the new picture inside one such area, over the
    // scene as it was drawn last. Only those areas are drawn and shown.
    struct OverlayAreas {
        std::function<bool(std::vector<SDL_Rect>&)> changedAreas;
        std::function<void(const SDL_Rect&)> drawIn;
    };
    void SetOverlayAreas(OverlayAreas areas) { overlayAreas_ = std::move(areas); }
    // The hooks set now, so a second panel can pass on what is not its own.
    const std::function<bool(const SDL_Event&)>& EventFilter() const { return filter_; }
    const std::function<void()>& Overlay() const { return overlay_; }
    const std::function<int()>& OverlayFrames() const { return overlayFrames_; }
    const std::function<bool()>& OverlayCompose() const { return overlayCompose_; }
    const OverlayAreas& OverlayInAreas() const { return overlayAreas_; }
    // Writes the next drawn frame to a PNG file.
    void RequestScreenshot(const std::string& pngPath) { screenshotPath_ = pngPath; screenshotDueMs_ = 0; }

    // Sets the form's client size to the window's size in logical pixels
    // (call once after the form has laid itself out at its design size).
    void SyncClientSize();

    void PumpEvents() override;
    void DrawFrame() override;
    bool FrameDue() override;
    void Idle(uint32_t ms) override;

    uint32_t FrameIntervalMs() const { return frameIntervalMs_; }
    // Frames drawn and shown so far (frames found unchanged are not counted).
    uint64_t FramesShown() const { return framesShown_; }
    // Of those, the frames where only the overlay's changed areas were drawn.
    uint64_t OverlayAreaFrames() const { return overlayAreaFrames_; }

    ~SdlEventBackend() override;

private:
    void UpdateGeometry();
    void TakeScreenshotIfDue();
    bool ScreenshotDue() const;
    int OverlayMsUntilFrame() const { return overlayFrames_ ? overlayFrames_() : kOverlayHidden; }
    // Something on screen is out of date (the scene, the overlay, a screenshot is due).
    bool WantsFrame();
    // Draws and shows only the changed areas of the scene; false when the
    // whole frame must be drawn instead.
    bool DrawChangedAreas();
    // Draws only where the overlay changed, over the scene kept from the last
    // whole frame; false when the whole frame must be drawn instead.
    bool DrawOverlayAreas();
    // Keeps the scene just drawn, for redrawing the overlay in parts.
    void KeepScene();

    Application& app_;
    SdlWindow& window_;
    SceneRenderer& renderer_;
    TForm& form_;
    SdlInputTranslator translator_;
    std::function<bool(const SDL_Event&)> filter_;
    std::function<void()> overlay_;
    std::function<int()> overlayFrames_;
    std::function<bool()> overlayCompose_;
    OverlayAreas overlayAreas_;
    // The scene under the overlay as drawn last, kept once the overlay has
    // been shown (the output's size: 33 MB at 3840 x 2160).
    struct SceneCopy;
    std::unique_ptr<SceneCopy> scene_;
    std::vector<SDL_Rect> areas_;
    uint64_t overlayAreaFrames_ = 0;
    uint64_t framesShown_ = 0;
    bool overlayWasShown_ = false;
    bool wantsFrame_ = true;
    uint32_t frameIntervalMs_ = 16;
    uint32_t lastFrameMs_ = 0;
    bool drewFrame_ = false;
    std::string screenshotPath_;
    uint32_t screenshotDueMs_ = 0;
    bool quitAfterScreenshot_ = false;
};
