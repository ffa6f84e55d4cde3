// The learning window on SDL's dummy video driver: opened with [R] over the
// game, closed by [R] or Escape without quitting the game, the opening key not
// typed into the search box, and the settings dialog still working beside it.
#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

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
    f.progress.AddAdditionalQuestion(false);
    learning->PrepareFonts();
    learning->PrepareAndDrawForBenchmark();
    EXPECT_EQ(learning->VisibleRows(), kBuiltInQuestions + 1);
    ImGuiLayer& layer = dialog->Layer();
    EXPECT_EQ(layer.AtlasBuilds(), 0);
    for (char32_t c : {U'魑', U'魎', U'鬱', U'蒼'}) EXPECT_TRUE(layer.HasGlyph(c));
    done = true;
}

}  // namespace
