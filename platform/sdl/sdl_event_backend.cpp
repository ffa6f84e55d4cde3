#include "platform/sdl/sdl_event_backend.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

// The scene under the overlay, as drawn last. Its memory is made on a thread of
// its own: the first touch of 33 MB took about 90 ms of processor time at
// 3840 x 2160, too much for the frame that opens the overlay. Until it is
// ready, frames are drawn whole.
struct SdlEventBackend::SceneCopy {
    int w = 0, h = 0, pitch = 0;
    Uint32 format = 0;
    std::vector<unsigned char> pixels;
    std::atomic<bool> ready{false};
    std::thread making;
    SDL_Surface* surface = nullptr;  // on pixels
    bool kept = false;               // holds the scene as drawn last

    SceneCopy(int width, int height, Uint32 pixelFormat)
        : w(width), h(height), pitch(width * SDL_BYTESPERPIXEL(pixelFormat)), format(pixelFormat) {
        making = std::thread([this] {
            pixels.assign(static_cast<std::size_t>(pitch) * h, 0);
            ready = true;
        });
    }
    ~SceneCopy() {
        if (making.joinable()) making.join();
        if (surface) SDL_FreeSurface(surface);
    }
    // The surface on the pixels, once they are ready.
    SDL_Surface* Surface() {
        if (!surface && ready) {
            making.join();
            making = std::thread();
            surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), w, h, SDL_BITSPERPIXEL(format), pitch, format);
            if (surface) SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_NONE);
        }
        return surface;
    }
};

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
    if (!overlayShown && scene_) scene_->kept = false;
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

SdlEventBackend::~SdlEventBackend() = default;

void SdlEventBackend::KeepScene() {
    if (!overlayAreas_.changedAreas || !window_.KeepsPreviousFrame()) return;
    // The software renderer draws straight into the window's surface.
    SDL_Surface* output = SDL_GetWindowSurface(window_.Window());
    if (!output) return;
    if (scene_ && (scene_->w != output->w || scene_->h != output->h || scene_->format != output->format->format))
        scene_.reset();
    if (!scene_) scene_ = std::make_unique<SceneCopy>(output->w, output->h, output->format->format);
    SDL_Surface* copy = scene_->Surface();
    scene_->kept = copy && SDL_RenderReadPixels(window_.Renderer(), nullptr, copy->format->format, copy->pixels,
                                                copy->pitch) == 0;
}

bool SdlEventBackend::DrawOverlayAreas() {
    // Only the software renderer keeps a copy: asked with another renderer,
    // the window's surface would be made anew.
    if (!scene_ || !scene_->kept) return false;
    SDL_Surface* output = SDL_GetWindowSurface(window_.Window());
    if (!output || output->w != scene_->w || output->h != scene_->h || !overlayAreas_.changedAreas ||
        !overlayAreas_.drawIn || !overlayAreas_.changedAreas(areas_))
        return false;
    SDL_Renderer* r = window_.Renderer();
    for (const SDL_Rect& a : areas_) {
        // What the renderer has queued lands first: areas may overlap.
        SDL_RenderFlush(r);
        SDL_Rect at = a;
        SDL_BlitSurface(scene_->surface, &a, output, &at);
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
