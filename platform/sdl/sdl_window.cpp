#include "platform/sdl/sdl_window.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "platform/sdl/display_scale.h"

namespace {

bool SoftwareForcedByEnvironment() {
    const char* v = std::getenv("TERAMON_SOFTWARE_RENDERER");
    return v && std::strcmp(v, "1") == 0;
}

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + SDL_GetError());
}

}  // namespace

SdlWindow::SdlWindow(const SdlWindowOptions& options) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) Fail("SDL video could not start");
    IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG);
    // Lets the desktop's input method show its own candidate window.
    SDL_SetHint(SDL_HINT_IME_SHOW_UI, "1");

    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        mode.w = 800;
        mode.h = 600;
        mode.refresh_rate = 60;
    }
    screenW_ = mode.w;
    screenH_ = mode.h;
    if (mode.refresh_rate > 0) refreshHz_ = mode.refresh_rate;

    const bool fullScreen = options.width <= 0 || options.height <= 0;
    // Full screen at the display's own size: a smaller window stays small on
    // X servers without a window manager.
    const int w = fullScreen ? mode.w : options.width;
    const int h = fullScreen ? mode.h : options.height;
    // High-DPI: under Wayland the drawable then has the screen's own pixels.
    Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI | (fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    window_ = SDL_CreateWindow(options.caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h,
                               flags);
    if (!window_) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        Fail("The window could not be created");
    }

    software_ = options.softwareRenderer || SoftwareForcedByEnvironment();
    if (!software_) {
        if (options.vsync)
            renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
        if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    }
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
        SDL_DestroyWindow(window_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        Fail("No renderer could be created");
    }
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer_, &info) == 0) {
        vsync_ = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
        software_ = (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    }
    int windowW = 0, windowH = 0, outW = 0, outH = 0;
    SDL_GetWindowSize(window_, &windowW, &windowH);
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    if (windowW > 0 && outW > 0) mapping_.physicalPerWindowUnit = static_cast<float>(outW) / windowW;
    mapping_.factor = options.scaleFactor > 0
                          ? std::clamp(options.scaleFactor, kSmallestScaleFactor, kLargestScaleFactor)
                          : ScaleFactorFrom(CurrentScaleSources(window_));
    // Game keys must reach the key handler, not an input method; the question
    // editor turns text input on while it edits.
    SDL_StopTextInput();
}

SdlWindow::~SdlWindow() {
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

int SdlWindow::Width() const {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    return w;
}

int SdlWindow::Height() const {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    return h;
}

bool SdlWindow::SaveScreenshot(const std::string& pngPath) {
    int w = 0, h = 0;
    if (SDL_GetRendererOutputSize(renderer_, &w, &h) != 0 || w <= 0 || h <= 0) return false;
    SDL_Surface* shot = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!shot) return false;
    bool ok = SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_ARGB8888, shot->pixels, shot->pitch) == 0;
    if (ok) {
        // The picture is opaque whatever alpha the render target holds.
        SDL_SetSurfaceBlendMode(shot, SDL_BLENDMODE_NONE);
        auto* px = static_cast<Uint32*>(shot->pixels);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) px[y * (shot->pitch / 4) + x] |= 0xFF000000u;
        ok = IMG_SavePNG(shot, pngPath.c_str()) == 0;
    }
    SDL_FreeSurface(shot);
    return ok;
}

void SdlWindow::Minimize() { SDL_MinimizeWindow(window_); }

void SdlWindow::BringToForeground() { SDL_RaiseWindow(window_); }

int SdlWindow::ShowCursor(bool show) {
    cursorCounter_ += show ? 1 : -1;
    SDL_ShowCursor(cursorCounter_ >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return cursorCounter_;
}
