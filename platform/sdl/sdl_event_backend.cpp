#include "platform/sdl/sdl_event_backend.h"

#include <SDL.h>

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
        if (filter_ && filter_(e)) continue;
        translator_.Translate(e);
    }
}

bool SdlEventBackend::FrameDue() {
    if (!drewFrame_) return true;
    // With vsync the present waits for the display; start drawing a little
    // early so that wait, not our timing, sets the pace.
    const uint32_t lead = window_.HasVsync() ? 2 : 0;
    return SDL_GetTicks() - lastFrameMs_ + lead >= frameIntervalMs_;
}

void SdlEventBackend::DrawFrame() {
    lastFrameMs_ = SDL_GetTicks();
    drewFrame_ = true;
    renderer_.Draw(form_);
    if (overlay_) overlay_();
    TakeScreenshotIfDue();
    SDL_RenderPresent(window_.Renderer());
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
    if (drewFrame_) {
        const uint32_t sinceFrame = SDL_GetTicks() - lastFrameMs_;
        const uint32_t untilFrame = sinceFrame >= frameIntervalMs_ ? 0 : frameIntervalMs_ - sinceFrame;
        if (untilFrame < ms) ms = untilFrame;
    }
    if (ms > 0) SDL_WaitEventTimeout(nullptr, static_cast<int>(ms));
}
