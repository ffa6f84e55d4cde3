#include "platform/sdl/sdl_window.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "platform/sdl/display_scale.h"

namespace {

// TERAMON_SOFTWARE_RENDERER=1 forces the software renderer, =0 the OpenGL one
// even where it is only a software rasteriser; unset, the cheaper is chosen.
const char* RendererChoiceFromEnvironment() { return std::getenv("TERAMON_SOFTWARE_RENDERER"); }

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

    CreateRenderer(options);
    if (!renderer_) {
        SDL_DestroyWindow(window_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        Fail("No renderer could be created");
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

bool SdlWindow::OnlySoftwareOpenGL(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo wm;
    SDL_VERSION(&wm.version);
    if (SDL_GetWindowWMInfo(window, &wm) && wm.subsystem == SDL_SYSWM_X11 && wm.info.x11.display) {
        // OpenGL reaches a GPU through the server's direct-rendering extensions
        // (or the GPU maker's own); without any, only a software rasteriser is left.
        int opcode = 0, event = 0, error = 0;
        for (const char* ext : {"DRI3", "DRI2", "NV-GLX"})
            if (XQueryExtension(wm.info.x11.display, ext, &opcode, &event, &error)) return false;
        return true;
    }
#endif
    return false;
}

bool SdlWindow::IsSoftwareRasteriser(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || !info.name || std::strncmp(info.name, "opengl", 6) != 0)
        return false;
    // The renderer's context is current right after its creation.
    using GetString = const unsigned char* (*)(unsigned);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (!getString) return false;
    constexpr unsigned kGlRenderer = 0x1F01;
    const char* name = reinterpret_cast<const char*>(getString(kGlRenderer));
    if (!name) return false;
    for (const char* rasteriser : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
        if (std::strstr(name, rasteriser)) return true;
    return false;
}

SDL_Renderer* SdlWindow::CreateGpuRenderer(SDL_Window* window, bool vsync) {
    SDL_Renderer* r = nullptr;
    if (vsync) r = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!r) r = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    return r;
}

SDL_Renderer* SdlWindow::CreateSurfaceRenderer(SDL_Window* window) {
    // The window's pixels in our memory, shown by the window system directly
    // (shared memory on X11), not through an OpenGL texture: that would bring
    // the software rasteriser back in.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

void SdlWindow::CreateRenderer(const SdlWindowOptions& options) {
    const char* choice = RendererChoiceFromEnvironment();
    const bool forceSoftware = options.softwareRenderer || (choice && std::strcmp(choice, "1") == 0);
    const bool forceGpu = !forceSoftware && choice && std::strcmp(choice, "0") == 0;
    // Drawing the scene in software into the window's memory is cheaper than
    // an OpenGL that is itself software.
    bool software = forceSoftware || (!forceGpu && OnlySoftwareOpenGL(window_));
    if (!software) {
        renderer_ = CreateGpuRenderer(window_, options.vsync);
        if (renderer_ && !forceGpu && IsSoftwareRasteriser(renderer_)) {
            SDL_DestroyRenderer(renderer_);
            renderer_ = nullptr;
        }
    }
    if (!renderer_) renderer_ = CreateSurfaceRenderer(window_);
    SDL_RendererInfo info{};
    if (renderer_ && SDL_GetRendererInfo(renderer_, &info) == 0) {
        vsync_ = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
        software_ = (info.flags & SDL_RENDERER_SOFTWARE) != 0;
        rendererName_ = info.name ? info.name : "";
    }
}

void SdlWindow::Present(const std::vector<SDL_Rect>* areas) {
    if (!areas || !software_) {
        SDL_RenderPresent(renderer_);
        return;
    }
    // Only the changed areas go to the screen; the rest of it is unchanged.
    SDL_RenderFlush(renderer_);
    if (!areas->empty())
        SDL_UpdateWindowSurfaceRects(window_, areas->data(), static_cast<int>(areas->size()));
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
