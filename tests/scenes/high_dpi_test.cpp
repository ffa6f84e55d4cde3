// The main window on a 3840 x 2160 window at a desktop scale of 2: the game
// lays itself out as on a 1920 x 1080 screen and the pointer is mapped back.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>

#include "platform/sdl/fonts.h"
#include "platform/sdl/scene_renderer.h"
#include "platform/sdl/sdl_event_backend.h"
#include "tests/test_support/game_fixture.h"

namespace {

using game_test::GameFixture;

void ExpectSameLayout(const SceneObject& a, const SceneObject& b, const std::string& path) {
    ASSERT_EQ(a.Children().size(), b.Children().size()) << path;
    for (size_t i = 0; i < a.Children().size(); ++i) {
        const auto* ca = dynamic_cast<const TControl*>(a.Children()[i]);
        const auto* cb = dynamic_cast<const TControl*>(b.Children()[i]);
        const std::string where = path + "/" + std::to_string(i);
        if (!ca || !cb) continue;
        EXPECT_NEAR(ca->Position.X, cb->Position.X, 1e-3) << where;
        EXPECT_NEAR(ca->Position.Y, cb->Position.Y, 1e-3) << where;
        EXPECT_NEAR(ca->Width, cb->Width, 1e-3) << where;
        EXPECT_NEAR(ca->Height, cb->Height, 1e-3) << where;
        ExpectSameLayout(*ca, *cb, where);
    }
}

TEST(HighDpiScene, AtFactorTwoA3840By2160WindowHasTheLayoutOf1920By1080) {
    SdlWindowOptions options;
    options.caption = "test";
    options.width = 3840;
    options.height = 2160;
    options.softwareRenderer = true;
    options.scaleFactor = 2;
    SdlWindow window(options);
    ASSERT_EQ(window.Width(), 3840);
    SDL_SetWindowPosition(window.Window(), 0, 0);

    GameFixture scaled, plain;
    FontLibrary fonts;
    SceneRenderer renderer(window.Renderer(), fonts);
    SdlEventBackend backend(scaled.app, window, renderer, scaled.f(), scaled.input);
    backend.SyncClientSize();
    plain.f().SetClientSize(1920, 1080);

    TForm1& f = scaled.f();
    EXPECT_EQ(f.ClientWidth(), 1920);
    EXPECT_EQ(f.ClientHeight(), 1080);
    // The screen too is measured in logical pixels: the game compares it with its client size.
    SDL_DisplayMode desktop{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    EXPECT_EQ(window.ScreenWidth(), desktop.w / 2);
    EXPECT_EQ(window.ScreenHeight(), desktop.h / 2);
    EXPECT_FLOAT_EQ(f.Scene().ImgPad->Position.Y, 979.2f);
    EXPECT_FLOAT_EQ(f.Scene().ImgPad->Width, 153.6f);
    ExpectSameLayout(f, plain.f(), "TForm1");

    // The pointer at physical x = 2000 puts the paddle's centre at logical 1000.
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.windowID = SDL_GetWindowID(window.Window());
    move.motion.x = 2000;
    move.motion.y = 1200;
    SDL_PushEvent(&move);
    backend.PumpEvents();
    scaled.app.ProcessMessages();
    EXPECT_NEAR(f.Scene().ImgPad->Position.X + f.Scene().ImgPad->Width / 2, 1000, 0.01);

    // A game in progress is saved with its logical size.
    scaled.StartQuestion();
    f.SaveGame();
    EXPECT_EQ(f.SuspendedGameRecord().ScreenX, 1920);
    EXPECT_EQ(f.SuspendedGameRecord().ScreenY, 1080);
}

}  // namespace
