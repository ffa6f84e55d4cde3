// The learning window on SDL's dummy video driver: opened with [R] over the
// game, closed by [R] or Escape without quitting the game, the opening key not
// typed into the search box, and the settings dialog still working beside it.
#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/sdl/fonts.h"
#include "platform/sdl/scene_renderer.h"
#include "platform/sdl/sdl_event_backend.h"
#include "platform/sdl/sdl_window.h"
#include "settings_dialog/imgui_layer.h"
#include "settings_dialog/imgui_learning_window.h"
#include "settings_dialog/imgui_settings_dialog.h"
#include "tests/test_support/game_fixture.h"

namespace {

SDL_Event KeyDown(SDL_Scancode sc, SDL_Keycode sym) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.scancode = sc;
    e.key.keysym.sym = sym;
    return e;
}

SDL_Event Typed(const char* text) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::strcpy(e.text.text, text);
    return e;
}

SdlWindowOptions SoftwareWindow() {
    SdlWindowOptions o;
    o.caption = "test";
    o.width = 1024;
    o.height = 768;
    o.softwareRenderer = true;
    return o;
}

class DrawnLearningWindowTest : public ::testing::Test {
protected:
    game_test::GameFixture game;
    FixedCalendar calendar{"2026-12-10"};
    SdlWindow window{SoftwareWindow()};
    FontLibrary fonts;
    SceneRenderer scene{window.Renderer(), fonts};
    SdlEventBackend backend{game.app, window, scene, game.f(), game.input};
    std::unique_ptr<ImGuiSettingsDialog> dialog;
    std::unique_ptr<ImGuiLearningWindow> learning;
    std::atomic<bool> done{false};
    std::thread watchdog;

    DrawnLearningWindowTest() {
        game.services->calendar = &calendar;
        game.f().OpenLearningRecord();
        game.app.SetBackend(&backend);
        dialog = std::make_unique<ImGuiSettingsDialog>(game.f(), game.app, window, backend);
        learning = std::make_unique<ImGuiLearningWindow>(game.f(), game.app, backend, *dialog);
        game.f().Form2 = dialog.get();
        game.f().LearningForm = learning.get();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        // A window that never closes must not hang the run.
        watchdog = std::thread([this] {
            for (int i = 0; i < 200 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (done) return;
            ADD_FAILURE() << "the window did not close";
            SDL_Event esc = KeyDown(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
            while (!done) {
                SDL_PushEvent(&esc);
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
    }
    ~DrawnLearningWindowTest() override {
        done = true;
        watchdog.join();
        learning.reset();
        game.app.SetBackend(nullptr);
    }
};

TEST_F(DrawnLearningWindowTest, RAndEscapeCloseOnlyTheWindow) {
    for (SDL_Keycode closer : {SDLK_r, SDLK_ESCAPE}) {
        SCOPED_TRACE(closer == SDLK_r ? "R" : "Escape");
        SDL_Event typed = Typed("r");  // the character of the opening [R], still queued
        SDL_PushEvent(&typed);
        SDL_Event close = KeyDown(closer == SDLK_r ? SDL_SCANCODE_R : SDL_SCANCODE_ESCAPE, closer);
        SDL_PushEvent(&close);
        game.Char(u'r');
        EXPECT_FALSE(learning->IsOpen());
        EXPECT_FALSE(game.f().GameSetting) << "the game has its window back";
        EXPECT_FALSE(game.f().IsClosed()) << "the game does not quit";
        EXPECT_EQ(learning->VisibleRows(), kBuiltInQuestions) << "the opening key was not typed into the search";
    }
    done = true;
}

TEST_F(DrawnLearningWindowTest, TheSettingsDialogStillOpensAndCloses) {
    SDL_Event esc = KeyDown(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    SDL_PushEvent(&esc);
    game.Char(u's');
    done = true;
    EXPECT_FALSE(dialog->IsOpen());
    EXPECT_TRUE(dialog->Logic().IsClosed());
    EXPECT_FALSE(learning->IsOpen());
}

TEST_F(DrawnLearningWindowTest, WithTheAtlasPreparedTheFirstOpeningBuildsNone) {
    // An additional question whose idiom and meaning lie outside the common set.
    TForm1& f = game.f();
    f.questions.Append({"魑魅魍魎", "ちみもうりょう", "さまざまな化け物。鬱蒼とした山の", ""});
    f.progress.TuikaShutudaiSumi.push_back(false);
    learning->PrepareFonts();
    learning->PrepareAndDrawForBenchmark();
    EXPECT_EQ(learning->VisibleRows(), kBuiltInQuestions + 1);
    ImGuiLayer& layer = dialog->Layer();
    EXPECT_EQ(layer.AtlasBuilds(), 0);
    for (char32_t c : {U'魑', U'魎', U'鬱', U'蒼'}) EXPECT_TRUE(layer.HasGlyph(c));
    done = true;
}

SDL_Event PointerAt(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

// Frames the back end draws and shows for these events, each delivered and then
// given the frames it asks for (its widgets settle over a few).
uint64_t FramesFor(SdlEventBackend& backend, const std::vector<SDL_Event>& events) {
    const uint64_t before = backend.FramesShown();
    for (SDL_Event e : events) {
        SDL_PushEvent(&e);
        backend.PumpEvents();
        for (int frame = 0; frame < 6; ++frame) backend.DrawFrame();
    }
    return backend.FramesShown() - before;
}

TEST_F(DrawnLearningWindowTest, APointerMoveThatChangesNothingDrawsNoFrame) {
    uint64_t still = 0, overWidgets = 0, typed = 0, settled = 0;
    game.app.Post([&] {
        settled = FramesFor(backend, {PointerAt(500, 400), PointerAt(501, 400)});
        // Across the middle of the table: cells of text, nothing that lights up.
        std::vector<SDL_Event> moves;
        for (int x = 480; x < 520; x += 2) moves.push_back(PointerAt(x, 400 + (x - 480) / 8));
        still = FramesFor(backend, moves);
        // Along the tool bar, over the check boxes, the search box and the buttons.
        moves.clear();
        for (int x = 0; x < 1024; x += 16) moves.push_back(PointerAt(x, 58));
        overWidgets = FramesFor(backend, moves);
        typed = FramesFor(backend, {KeyDown(SDL_SCANCODE_TAB, SDLK_TAB), Typed("い")});
        SDL_Event esc = KeyDown(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
        SDL_PushEvent(&esc);
    });
    game.Char(u'r');
    done = true;
    EXPECT_FALSE(learning->IsOpen());
    EXPECT_GE(settled, 1u) << "the window was drawn";
    EXPECT_EQ(still, 0u) << "20 pointer moves over plain table cells";
    EXPECT_GE(overWidgets, 2u) << "widgets lit up under the pointer are drawn";
    EXPECT_GE(typed, 1u);
    EXPECT_LE(typed, 2u) << "a key and a typed character are drawn once each, not once for every frame their widgets settle over";
}

}  // namespace
