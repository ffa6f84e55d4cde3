#pragma once
// The game's window on the desktop: full screen at the desktop size, with the
// GPU renderer (vsync) where OpenGL reaches a GPU, and otherwise SDL's software
// renderer drawing straight into the window's memory.
#include <string>
#include <vector>

#include <SDL_rect.h>

#include "platform/sdl/pixel_mapping.h"
#include "platform/window_host.h"

struct SDL_Window;
struct SDL_Renderer;

struct SdlWindowOptions {
    std::string caption;
    // 0 × 0: the desktop size, full screen. Otherwise a plain window of this size.
    int width = 0;
    int height = 0;
    // The software renderer also when a GPU renderer exists. The environment
    // variable TERAMON_SOFTWARE_RENDERER=1 forces it as well (and =0 keeps
    // OpenGL even where it is a software rasteriser).
    bool softwareRenderer = false;
    // Pace presents by the display (benchmarks turn it off to time drawing).
    bool vsync = true;
    // Physical pixels per logical pixel; 0 reads the desktop's scale setting.
    float scaleFactor = 0;
};

class SdlWindow : public WindowHost {
public:
    // Throws std::runtime_error when SDL cannot open a window or renderer.
    explicit SdlWindow(const SdlWindowOptions& options);
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    SDL_Window* Window() const { return window_; }
    SDL_Renderer* Renderer() const { return renderer_; }
    bool HasVsync() const { return vsync_; }
    bool IsSoftware() const { return software_; }
    const std::string& RendererName() const { return rendererName_; }
    // The render target still holds the last presented frame when the next one
    // begins (the software renderer draws into the window's own memory), so a
    // frame may redraw only what changed.
    bool KeepsPreviousFrame() const { return software_; }
    // Shows what was drawn: everything (areas nullptr), or only the given
    // areas where the renderer allows it.
    void Present(const std::vector<SDL_Rect>* areas);
    int RefreshRateHz() const { return refreshHz_; }
    // The window's current client size in physical pixels.
    int Width() const;
    int Height() const;
    // The same in the logical pixels the scene works in.
    int LogicalWidth() const { return mapping_.LogicalSide(Width()); }
    int LogicalHeight() const { return mapping_.LogicalSide(Height()); }
    const PixelMapping& Mapping() const { return mapping_; }

    // Writes what has been drawn since the last present to a PNG file. Call it
    // after drawing and before presenting. Returns false on failure.
    bool SaveScreenshot(const std::string& pngPath);

    // WindowHost
    void Minimize() override;
    void BringToForeground() override;
    int ShowCursor(bool show) override;
    // In logical pixels, as the game sees its client area.
    int ScreenWidth() const override { return mapping_.WindowToLogicalSide(screenW_); }
    int ScreenHeight() const override { return mapping_.WindowToLogicalSide(screenH_); }
    int CursorCounter() const { return cursorCounter_; }

    // Renderer choice, each step on its own.
    static bool OnlySoftwareOpenGL(SDL_Window* window);
    static bool IsSoftwareRasteriser(SDL_Renderer* renderer);
    static SDL_Renderer* CreateGpuRenderer(SDL_Window* window, bool vsync);
    static SDL_Renderer* CreateSurfaceRenderer(SDL_Window* window);

private:
    void CreateRenderer(const SdlWindowOptions& options);

    SDL_Window* window_ = nullptr;
    std::string rendererName_;
    SDL_Renderer* renderer_ = nullptr;
    bool vsync_ = false;
    bool software_ = false;
    int refreshHz_ = 60;
    int screenW_ = 0, screenH_ = 0;
    int cursorCounter_ = 0;
    PixelMapping mapping_;
};
