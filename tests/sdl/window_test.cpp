#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/sdl/sdl_event_backend.h"

// Runs on SDL's dummy video driver: a real window object without a display.
TEST(SdlWindowAndBackend, CursorCounterAndAScreenshotOfTheDrawnScene) {
    SdlWindowOptions options;
    options.caption = "test";
    options.width = 320;
    options.height = 240;
    options.softwareRenderer = true;
    SdlWindow window(options);
    EXPECT_EQ(window.Width(), 320);
    EXPECT_GT(window.ScreenWidth(), 0);

    // The cursor shows while the counter is 0 or more.
    EXPECT_EQ(window.ShowCursor(false), -1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(window.ShowCursor(false), -2);
    EXPECT_EQ(window.ShowCursor(true), -1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(window.ShowCursor(true), 0);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);

    VirtualClock clock;
    Application app(clock);
    TForm form(800, 600);
    TRectangle* rect = form.Create<TRectangle>(&form);
    rect->SetBounds(400, 300, 400, 300);  // the bottom-right quarter
    rect->Fill.Color = 0xFFFF0000;
    InputState input;
    FontLibrary fonts;
    SceneRenderer renderer(window.Renderer(), fonts);
    SdlEventBackend backend(app, window, renderer, form, input);
    backend.SyncClientSize();
    EXPECT_EQ(form.ClientWidth(), 320);
    EXPECT_FLOAT_EQ(rect->Position.X, 400);  // not alScale: keeps its rectangle

    const std::string shot =
        (std::filesystem::temp_directory_path() / ("teramon_shot_" + std::to_string(getpid()) + ".png")).string();
    backend.RequestScreenshot(shot);
    EXPECT_TRUE(backend.FrameDue());
    backend.DrawFrame();
    SDL_Surface* png = IMG_Load(shot.c_str());
    ASSERT_NE(png, nullptr) << IMG_GetError();
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(png, SDL_PIXELFORMAT_ARGB8888, 0);
    auto pixel = [&](int x, int y) { return static_cast<Uint32*>(argb->pixels)[y * argb->pitch / 4 + x] & 0xFFFFFF; };
    EXPECT_EQ(pixel(10, 10), 0x000000u);
    rect->SetBounds(0, 0, 160, 120);
    SDL_FreeSurface(argb);
    SDL_FreeSurface(png);
    std::filesystem::remove(shot);

    // Drawn again at the form's new geometry.
    backend.RequestScreenshot(shot);
    backend.DrawFrame();
    png = IMG_Load(shot.c_str());
    ASSERT_NE(png, nullptr);
    argb = SDL_ConvertSurfaceFormat(png, SDL_PIXELFORMAT_ARGB8888, 0);
    EXPECT_EQ(pixel(10, 10), 0xFF0000u);
    EXPECT_EQ(pixel(200, 200), 0x000000u);
    SDL_FreeSurface(argb);
    SDL_FreeSurface(png);
    std::filesystem::remove(shot);
}
