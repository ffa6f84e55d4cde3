#include "platform/sdl/sdl_event_backend.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

SdlEventBackend::SdlEventBackend(Application& app, SdlWindow& window, SceneRenderer& renderer, TForm& form,
                                 InputState& input)
    : app_(app), window_(window), renderer_(renderer), form_(form), translator_(app, form, input) {
    if (window.HasVsync() && window.RefreshRateHz() > 0)
        frameIntervalMs_ = static_cast<uint32_t>(1000 / window.RefreshRateHz());
    if (const char* path = std::getenv("TERAMON_SCREENSHOT"); path && *path) {
        screenshotPath_ = path;
        const char* after = std::getenv("TERAMON_SCREENSHOT_AFTER_MS");
        screenshotDueMs_ = SDL_GetTicks() + static_cast<uint32_t>(after ? std::strtoul(after, nullptr, 10) : 2000);
        const char* quit = std::getenv("TERAMON_QUIT_AFTER_SCREENSHOT");
        quitAfterScreenshot_ = quit && std::strcmp(quit, "1") == 0;
    }
    UpdateGeometry();
}

void SdlEventBackend::UpdateGeometry() {
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(window_.Window(), &x, &y);
    SDL_GetWindowSize(window_.Window(), &w, &h);
    translator_.SetWindowGeometry(x, y, w, h);
    translator_.SetPixelMapping(window_.Mapping());
}

void SdlEventBackend::SyncClientSize() {
    UpdateGeometry();
    // The form works in logical pixels; the renderer maps them onto the output.
    const int w = window_.LogicalWidth(), h = window_.LogicalHeight();
    if (w > 0 && h > 0 && (w != form_.ClientWidth() || h != form_.ClientHeight())) form_.SetClientSize(w, h);
}

void SdlEventBackend::PumpEvents() {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (e.type == SDL_WINDOWEVENT &&
            (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SHOWN ||
             e.window.event == SDL_WINDOWEVENT_RESTORED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED))
            form_.Invalidate();  // what was on screen may be gone
        if (filter_ && filter_(e)) continue;
        translator_.Translate(e);
    }
}

bool SdlEventBackend::ScreenshotDue() const {
    return !screenshotPath_.empty() && static_cast<int32_t>(SDL_GetTicks() - screenshotDueMs_) >= 0;
}

bool SdlEventBackend::WantsFrame() {
    const int overlay = OverlayMsUntilFrame();
    wantsFrame_ = !drewFrame_ || form_.NeedsFrame() || overlay == 0 || ScreenshotDue() ||
                  (overlay == kOverlayHidden && overlayWasShown_);
    return wantsFrame_;
}

bool SdlEventBackend::FrameDue() {
    if (!WantsFrame()) return false;
    if (!drewFrame_) return true;
    // With vsync the present waits for the display; start drawing a little
    // early so that wait, not our timing, sets the pace.
    const uint32_t lead = window_.HasVsync() ? 2 : 0;
    return SDL_GetTicks() - lastFrameMs_ + lead >= frameIntervalMs_;
}

void SdlEventBackend::DrawFrame() {
    lastFrameMs_ = SDL_GetTicks();
    drewFrame_ = true;
    const bool overlayShown = overlay_ && OverlayMsUntilFrame() != kOverlayHidden;
    // Where the overlay was, only a whole frame repairs the scene.
    if (overlayWasShown_ && !overlayShown) form_.Invalidate();
    const bool overlayWasShownBefore = overlayWasShown_;
    overlayWasShown_ = overlayShown;
    // Over an overlay that looks as it did, with the scene unchanged under it,
    // the picture on screen is still right: no drawing at all.
    const bool overlayChanged = !overlayShown || !overlayCompose_ || overlayCompose_();
    const bool sameAsShown = overlayShown && !overlayChanged && overlayWasShownBefore && !form_.NeedsFrame() &&
                             !form_.Invalidated() && !ScreenshotDue();
    if (sameAsShown) {
        form_.FrameDrawn();
        wantsFrame_ = false;
        return;
    }
    const bool inAreas = overlayShown && overlayWasShownBefore && !form_.NeedsFrame() && !form_.Invalidated() &&
                         !ScreenshotDue() && DrawOverlayAreas();
    if (!overlayShown) DropScene();
    if (inAreas) {
        ++overlayAreaFrames_;
    } else if (overlayShown || !DrawChangedAreas()) {
        renderer_.Draw(form_);
        if (overlayShown) KeepScene();
        if (overlay_) overlay_();
        TakeScreenshotIfDue();
        window_.Present(nullptr);
    }
    ++framesShown_;
    form_.FrameDrawn();
    wantsFrame_ = false;
}

SdlEventBackend::~SdlEventBackend() { DropScene(); }

void SdlEventBackend::KeepScene() {
    sceneKept_ = false;
    if (!overlayAreas_.changedAreas || !window_.KeepsPreviousFrame()) return;
    SDL_Renderer* r = window_.Renderer();
    int w = 0, h = 0, tw = 0, th = 0;
    SDL_GetRendererOutputSize(r, &w, &h);
    const Uint32 format = SDL_GetWindowPixelFormat(window_.Window());
    Uint32 textureFormat = 0;
    if (scene_ && (SDL_QueryTexture(scene_, &textureFormat, nullptr, &tw, &th) != 0 || tw != w || th != h ||
                   textureFormat != format))
        DropScene();
    if (!scene_) {
        scene_ = SDL_CreateTexture(r, format, SDL_TEXTUREACCESS_STREAMING, w, h);
        if (!scene_) return;
        SDL_SetTextureBlendMode(scene_, SDL_BLENDMODE_NONE);
    }
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(scene_, nullptr, &pixels, &pitch) != 0) return;
    sceneKept_ = SDL_RenderReadPixels(r, nullptr, format, pixels, pitch) == 0;
    SDL_UnlockTexture(scene_);
}

void SdlEventBackend::DropScene() {
    if (scene_) SDL_DestroyTexture(scene_);
    scene_ = nullptr;
    sceneKept_ = false;
}

bool SdlEventBackend::DrawOverlayAreas() {
    if (!sceneKept_ || !overlayAreas_.changedAreas || !overlayAreas_.drawIn || !overlayAreas_.changedAreas(areas_))
        return false;
    SDL_Renderer* r = window_.Renderer();
    for (const SDL_Rect& a : areas_) {
        SDL_RenderCopy(r, scene_, &a, &a);
        overlayAreas_.drawIn(a);
    }
    window_.Present(&areas_);
    return true;
}

bool SdlEventBackend::DrawChangedAreas() {
    if (!window_.KeepsPreviousFrame()) return false;
    form_.NeedsFrame();  // the scene as it is now, after the animations' last step
    if (form_.Invalidated()) return false;
    const SceneRenderer::Changes changes = renderer_.ChangedAreas(form_);
    renderer_.DrawChanges(form_, changes);
    TakeScreenshotIfDue();
    window_.Present(changes.whole ? nullptr : &changes.areas);
    return true;
}

void SdlEventBackend::TakeScreenshotIfDue() {
    if (screenshotPath_.empty() || static_cast<int32_t>(SDL_GetTicks() - screenshotDueMs_) < 0) return;
    if (window_.SaveScreenshot(screenshotPath_))
        std::fprintf(stderr, "Screenshot written to %s\n", screenshotPath_.c_str());
    else
        std::fprintf(stderr, "Screenshot to %s failed: %s\n", screenshotPath_.c_str(), SDL_GetError());
    screenshotPath_.clear();
    if (quitAfterScreenshot_) {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
}

void SdlEventBackend::Idle(uint32_t ms) {
    const uint32_t now = SDL_GetTicks();
    if (wantsFrame_ && drewFrame_) {
        // A frame is waiting only for the display's pace.
        const uint32_t sinceFrame = now - lastFrameMs_;
        const uint32_t untilFrame = sinceFrame >= frameIntervalMs_ ? 0 : frameIntervalMs_ - sinceFrame;
        if (untilFrame < ms) ms = untilFrame;
    }
    if (const int overlay = OverlayMsUntilFrame(); overlay > 0 && static_cast<uint32_t>(overlay) < ms)
        ms = static_cast<uint32_t>(overlay);
    if (!screenshotPath_.empty()) {
        const int32_t untilShot = static_cast<int32_t>(screenshotDueMs_ - now);
        if (untilShot < static_cast<int32_t>(ms)) ms = untilShot > 0 ? static_cast<uint32_t>(untilShot) : 0;
    }
    // Nothing to draw and nothing due: sleep until an event arrives.
    if (ms > 0) SDL_WaitEventTimeout(nullptr, static_cast<int>(std::min<uint32_t>(ms, 0x7FFFFFFF)));
}
