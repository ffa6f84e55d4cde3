// The learning window on SDL's dummy video driver: opened with [R] over the
// game, closed by [R] or Escape without quitting the game, the opening key not
// typed into the search box, the settings dialog still working beside it, and
// the keyboard alone reaching the table, the cards and the buttons.
#include <gtest/gtest.h>

#include <SDL.h>
#include <imgui.h>
#include <imgui_impl_sdlrenderer.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
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

SDL_Event Press(SDL_Keycode sym) {
    return KeyDown(SDL_GetScancodeFromKey(sym), sym);
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
    SdlWindow window;
    FontLibrary fonts;
    SceneRenderer scene{window.Renderer(), fonts};
    SdlEventBackend backend{game.app, window, scene, game.f(), game.input};
    std::unique_ptr<ImGuiSettingsDialog> dialog;
    std::unique_ptr<ImGuiLearningWindow> learning;
    std::atomic<bool> done{false};
    std::thread watchdog;

    explicit DrawnLearningWindowTest(const SdlWindowOptions& options = SoftwareWindow()) : window(options) {
        game.services->calendar = &calendar;
        game.f().OpenLearningRecord();
        game.app.SetBackend(&backend);
        dialog = std::make_unique<ImGuiSettingsDialog>(game.f(), game.app, window, backend);
        learning = std::make_unique<ImGuiLearningWindow>(game.f(), game.app, backend, *dialog);
        game.f().SetSettingsDialog(dialog.get());
        game.f().SetLearningWindow(learning.get());
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        // A window that never closes must not hang the run: [Enter] answers a
        // question left open (with the button it starts on), [Esc] closes the rest.
        watchdog = std::thread([this] {
            for (int i = 0; i < 1200 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (done) return;
            ADD_FAILURE() << "the window did not close";
            SDL_Event esc = KeyDown(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
            SDL_Event enter = KeyDown(SDL_SCANCODE_RETURN, SDLK_RETURN);
            while (!done) {
                SDL_PushEvent(&enter);
                SDL_PushEvent(&esc);
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
            }
        });
    }
    // Opens the window and presses the keys one by one, each once the window
    // has taken the one before and had time to draw what it did (a question box
    // it opened drawn too, however slow the machine); returns when it has closed.
    void OpenAndPress(const std::vector<SDL_Keycode>& keys) {
        const ImGuiMessageBoxes& boxes = learning->Boxes();
        std::thread presser([keys, &boxes] {
            const auto waitUntil = [](const auto& ready) {
                for (int i = 0; i < 1000 && !ready(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            };
            for (SDL_Keycode k : keys) {
                waitUntil([] { return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 0; });
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                if (boxes.ShownFrames() >= 0) {
                    waitUntil([&boxes] { return boxes.ShownFrames() >= 1; });
                    std::this_thread::sleep_for(std::chrono::milliseconds(300));
                }
                SDL_Event e = Press(k);
                SDL_PushEvent(&e);
            }
        });
        game.Char(u'r');
        presser.join();
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
        EXPECT_FALSE(game.f().Screens().GameSetting) << "the game has its window back";
        EXPECT_FALSE(game.f().IsClosed()) << "the game does not quit";
        EXPECT_EQ(learning->VisibleRows(), kBuiltInQuestions) << "the opening key was not typed into the search";
    }
    done = true;
}

TEST_F(DrawnLearningWindowTest, AQuitRequestClosesTheWindowFirstAndThenReachesTheGame) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    game.Char(u'r');
    done = true;

    EXPECT_FALSE(learning->IsOpen());
    EXPECT_FALSE(game.f().Screens().GameSetting);
    EXPECT_FALSE(SDL_IsTextInputActive()) << "game keys go to the game again, not to an input method";
    SDL_PumpEvents();
    EXPECT_EQ(SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT), 1)
        << "the quit is passed on once the window has closed";
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
    f.Questions().Append({"魑魅魍魎", "ちみもうりょう", "さまざまな化け物。鬱蒼とした山の", ""});
    GameStateSetUp(f).progress().AddAdditionalQuestion(false);
    learning->PrepareFonts();
    learning->PrepareAndDrawForBenchmark();
    EXPECT_EQ(learning->VisibleRows(), kBuiltInQuestions + 1);
    ImGuiLayer& layer = dialog->Layer();
    EXPECT_EQ(layer.AtlasBuilds(), 0);
    for (char32_t c : {U'魑', U'魎', U'鬱', U'蒼'}) EXPECT_TRUE(layer.HasGlyph(c));
    // The cards' large idioms and hiragana are in it too, at their own sizes.
    ASSERT_NE(layer.HeadingFont(), nullptr);
    ASSERT_NE(layer.ReadingFont(), nullptr);
    for (char32_t c : {U'魑', U'魍', U'付', U'同'}) EXPECT_NE(layer.HeadingFont()->FindGlyphNoFallback(c), nullptr);
    for (char32_t c : {U'ぁ', U'ふ', U'ゔ', U'ー'}) EXPECT_NE(layer.ReadingFont()->FindGlyphNoFallback(c), nullptr);
    EXPECT_GT(layer.HeadingFont()->FontSize, layer.ReadingFont()->FontSize);
    EXPECT_GT(layer.ReadingFont()->FontSize, ImGui::GetFont()->FontSize);
    done = true;
}

TEST_F(DrawnLearningWindowTest, KeyboardIntoTheTableOntoACardAndBackOut) {
    learning->OpenWithoutLoop();
    const auto press = [this](SDL_Keycode k) { learning->EventWithoutLoop(Press(k)); };
    EXPECT_EQ(learning->FocusedRow(), -1) << "the keyboard starts on the controls";
    press(SDLK_DOWN);  // the filters' line
    press(SDLK_DOWN);
    EXPECT_EQ(learning->FocusedRow(), 0) << "down from the controls goes onto the first row";
    press(SDLK_DOWN);
    EXPECT_EQ(learning->FocusedRow(), 1);
    press(SDLK_RETURN);
    EXPECT_EQ(learning->CardQuestion(), 1) << "no record: the rows are in question order";
    press(SDLK_ESCAPE);
    EXPECT_EQ(learning->CardQuestion(), -1) << "[Esc] closes the card first";
    EXPECT_EQ(learning->FocusedRow(), 1) << "and the keyboard is back on its row";
    press(SDLK_UP);
    EXPECT_EQ(learning->FocusedRow(), 0);
    press(SDLK_UP);
    EXPECT_EQ(learning->FocusedRow(), -1) << "up from the first row goes back to the controls, not the header";
    press(SDLK_DOWN);
    EXPECT_EQ(learning->FocusedRow(), 0);
    press(SDLK_ESCAPE);
    EXPECT_EQ(learning->FocusedRow(), -1);
    EXPECT_FALSE(learning->CloseRequested()) << "[Esc] in the table leaves the table";
    press(SDLK_ESCAPE);
    EXPECT_TRUE(learning->CloseRequested()) << "the next [Esc] closes the window";
    done = true;
}

TEST_F(DrawnLearningWindowTest, ClearingStartsOnNoAndOnlyYesEmptiesTheRecord) {
    TForm1& f = game.f();
    f.LearningRecordLog().Missed(f.Questions().At(3));
    ASSERT_TRUE(f.LearningRecordLog().SaveIfChanged());
    // 記録を消す is right of the first control; one more [Space] after opening the question.
    OpenAndPress({SDLK_RIGHT, SDLK_SPACE, SDLK_SPACE, SDLK_ESCAPE});
    EXPECT_FALSE(learning->IsOpen());
    EXPECT_EQ(f.LearningRecordLog().Record().Table().rows.size(), 1u) << "the question opened on いいえ";
    OpenAndPress({SDLK_RIGHT, SDLK_SPACE, SDLK_LEFT, SDLK_SPACE, SDLK_ESCAPE});
    EXPECT_TRUE(f.LearningRecordLog().Record().Table().rows.empty()) << "はい, chosen, empties it";
    done = true;
}

TEST_F(DrawnLearningWindowTest, ListeningWithTheSoundOffSaysHowToTurnItOn) {
    for (bool sound : {false, true}) {
        SCOPED_TRACE(sound ? "sound on" : "sound off");
        game.f().Sound().IsSound = sound;
        // Onto the first row, its card, 聞く (where the card puts the keyboard), then out.
        OpenAndPress({SDLK_DOWN, SDLK_DOWN, SDLK_RETURN, SDLK_SPACE, SDLK_ESCAPE, SDLK_ESCAPE, SDLK_ESCAPE});
        EXPECT_FALSE(learning->IsOpen());
        if (sound) {
            EXPECT_EQ(learning->Notice(), "");
        } else {
            EXPECT_NE(learning->Notice().find("音が切れている"), std::string::npos) << learning->Notice();
            EXPECT_NE(learning->Notice().find("[C] キー"), std::string::npos) << learning->Notice();
        }
    }
    done = true;
}

// A refused record: the button beside the problem line asks first, with いいえ
// under the keyboard, and only はい keeps the file under a new name.
TEST_F(DrawnLearningWindowTest, StartingAfreshAsksWithNoChosenAndKeepsTheFile) {
    const std::string record = game.DataFile("Gakushu.tsv");
    std::ofstream(record, std::ios::binary) << "\xff";
    game.f().OpenLearningRecord();
    // The keys one after another, each once the window has drawn what it asks:
    // the thread waits on the question box rather than on the clock, so a slow
    // machine cannot send a key before the box is there to take it.
    const ImGuiMessageBoxes& boxes = learning->Boxes();
    const auto waitUntil = [](const std::function<bool()>& ready) {
        for (int i = 0; i < 1000 && !ready(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    };
    const auto boxShown = [&] { return boxes.ShownFrames() >= 1; };
    const auto boxClosed = [&] { return boxes.ShownFrames() < 0; };
    const auto settle = [] { std::this_thread::sleep_for(std::chrono::milliseconds(400)); };
    const auto press = [](SDL_Scancode sc, SDL_Keycode sym) {
        SDL_Event down = KeyDown(sc, sym), up = down;
        up.type = SDL_KEYUP;
        SDL_PushEvent(&down);
        SDL_PushEvent(&up);
    };
    std::atomic<bool> keptAfterNo{false};
    std::thread keys([&] {
        settle();  // the window's first frames
        press(SDL_SCANCODE_SPACE, SDLK_SPACE);  // the button, first under the keyboard
        waitUntil(boxShown);
        settle();
        press(SDL_SCANCODE_RETURN, SDLK_RETURN);  // いいえ
        waitUntil(boxClosed);
        settle();
        keptAfterNo = std::filesystem::exists(record);
        press(SDL_SCANCODE_SPACE, SDLK_SPACE);
        waitUntil(boxShown);
        settle();
        press(SDL_SCANCODE_LEFT, SDLK_LEFT);  // to はい
        settle();
        press(SDL_SCANCODE_RETURN, SDLK_RETURN);
        waitUntil([&] { return !std::filesystem::exists(record); });
        waitUntil(boxShown);  // what was done
        settle();
        press(SDL_SCANCODE_RETURN, SDLK_RETURN);
        waitUntil(boxClosed);
        settle();
        press(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    });
    game.Char(u'r');
    keys.join();
    done = true;
    EXPECT_TRUE(keptAfterNo) << "Enter on the question said yes";
    EXPECT_FALSE(learning->IsOpen());
    EXPECT_FALSE(std::filesystem::exists(record));
    std::ifstream kept(record + ".20261210-120000.bad", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "\xff");
    EXPECT_TRUE(game.f().LearningRecordLog().Recording());
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
        // Across the lines above the table: the headline, then the check boxes,
        // the search box and the buttons.
        moves.clear();
        for (int y = 58; y < 170; y += 14)
            for (int x = 0; x < 1024; x += 32) moves.push_back(PointerAt(x, y));
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

SDL_Event KeyUp(SDL_Keycode sym) {
    SDL_Event e = Press(sym);
    e.type = SDL_KEYUP;
    return e;
}

SDL_Event Wheel(int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = y;
    return e;
}

SDL_Event Click(Uint32 type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    return e;
}

std::vector<Uint32> PixelsOf(SDL_Renderer* r) {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(r, &w, &h);
    std::vector<Uint32> pixels(static_cast<std::size_t>(w) * h);
    if (SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), w * 4) != 0) pixels.clear();
    for (Uint32& p : pixels) p |= 0xFF000000u;  // the window's alpha is not shown
    return pixels;
}

class DrawnInPartsTest : public DrawnLearningWindowTest {
protected:
    explicit DrawnInPartsTest(float scale = 1) : DrawnLearningWindowTest(Options(scale)) {}
    static SdlWindowOptions Options(float scale) {
        SdlWindowOptions o = SoftwareWindow();
        o.width = static_cast<int>(1024 * scale);
        o.height = static_cast<int>(768 * scale);
        o.scaleFactor = scale;
        return o;
    }

    // Goes through a player's steps with the window open. After each, what the
    // window shows (drawn in parts) must be what drawing the whole scene and
    // the whole of Dear ImGui's frame gives, pixel for pixel.
    void ExpectEachStepAsDrawnWhole(float scale) {
        SDL_Renderer* r = window.Renderer();
        const int s = static_cast<int>(scale);
        struct Step {
            const char* what;
            std::vector<SDL_Event> events;
            std::function<bool()> reached = [] { return true; };  // the step did what it says
        };
        const int allRows = learning->VisibleRows();
        std::vector<SDL_Event> sweep;
        for (int y = 300; y < 560; y += 9) sweep.push_back(PointerAt((300 + y) * s, y * s));
        const std::vector<Step> steps = {
            {"pointer over the table's rows", sweep},
            {"pointer onto the close button", {PointerAt(990 * s, 90 * s)}},
            {"pointer over the check boxes", {PointerAt(60 * s, 130 * s), PointerAt(61 * s, 131 * s)}},
            {"[Tab] into the search box", {Press(SDLK_TAB), KeyUp(SDLK_TAB)}},
            {"い typed", {Typed("い")}, [&] { return learning->VisibleRows() < allRows; }},
            {"ち typed", {Typed("ち")}},
            {"[BackSpace]", {Press(SDLK_BACKSPACE), KeyUp(SDLK_BACKSPACE)}},
            {"[BackSpace] again", {Press(SDLK_BACKSPACE), KeyUp(SDLK_BACKSPACE)},
             [&] { return learning->VisibleRows() == allRows; }},
            {"wheel down over the table", {PointerAt(500 * s, 400 * s), Wheel(-3)}},
            {"wheel back up", {Wheel(2)}},
            {"a row clicked: its card", {PointerAt(200 * s, 330 * s), Click(SDL_MOUSEBUTTONDOWN, 200 * s, 330 * s),
                                         Click(SDL_MOUSEBUTTONUP, 200 * s, 330 * s)},
             [&] { return learning->CardQuestion() >= 0; }},
            {"pointer across the card", {PointerAt(400 * s, 300 * s), PointerAt(520 * s, 420 * s)}},
            {"[Esc]: the card closes", {Press(SDLK_ESCAPE), KeyUp(SDLK_ESCAPE)},
             [&] { return learning->CardQuestion() < 0; }},
        };
        // Drawn whole once more, after the scene's own first drawing here (its
        // pictures may take their copies at this size only now).
        scene.Draw(game.f());
        game.f().Invalidate();
        backend.DrawFrame();
        const uint64_t inPartsBefore = backend.OverlayAreaFrames();
        for (const Step& step : steps) {
            for (SDL_Event e : step.events) {
                SDL_PushEvent(&e);
                backend.PumpEvents();
                for (int frame = 0; frame < 6; ++frame) backend.DrawFrame();
            }
            EXPECT_TRUE(step.reached()) << step.what;
            const std::vector<Uint32> inParts = PixelsOf(r);
            // The frame as it was drawn before: everything, in one go.
            scene.Draw(game.f());
            SDL_RenderSetScale(r, scale, scale);
            ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
            SDL_RenderSetScale(r, 1, 1);
            const std::vector<Uint32> whole = PixelsOf(r);
            ASSERT_EQ(inParts.size(), whole.size());
            ASSERT_FALSE(whole.empty());
            // Inside the window only: the title's pictures beside it come out a
            // shade apart (one level of green) from one whole drawing of the
            // scene to the next, drawn in parts or not.
            const int w = static_cast<int>(1024 * scale);
            const int width = static_cast<int>(1024 * 0.94f), height = static_cast<int>(768 * 0.94f);
            const int left = (1024 - width) / 2 * s, top = (768 - height) / 2 * s;
            std::size_t differing = 0, first = 0;
            for (int y = top; y < top + height * s; ++y)
                for (int x = left; x < left + width * s; ++x) {
                    const std::size_t i = static_cast<std::size_t>(y) * w + x;
                    if (inParts[i] != whole[i] && differing++ == 0) first = i;
                }
            EXPECT_EQ(differing, 0u) << "after " << step.what << ": first at (" << first % w << ", " << first / w
                                     << ") " << std::hex << inParts[first] << " instead of " << whole[first];
        }
        EXPECT_GE(backend.OverlayAreaFrames() - inPartsBefore, steps.size() - 2)
            << "the steps were drawn in parts, not whole";
        // Out of the search box, then the window closes.
        for (int i = 0; i < 3; ++i) {
            SDL_Event esc = Press(SDLK_ESCAPE);
            SDL_PushEvent(&esc);
            backend.PumpEvents();
            for (int frame = 0; frame < 4; ++frame) backend.DrawFrame();
        }
    }
};

TEST_F(DrawnInPartsTest, DrawnInPartsTheWindowLooksAsDrawnWhole) {
    game.app.Post([this] { ExpectEachStepAsDrawnWhole(1); });
    game.Char(u'r');
    done = true;
    EXPECT_FALSE(learning->IsOpen());
}

class DrawnInPartsAtScale2Test : public DrawnInPartsTest {
protected:
    DrawnInPartsAtScale2Test() : DrawnInPartsTest(2) {}
};

TEST_F(DrawnInPartsAtScale2Test, DrawnInPartsTheWindowLooksAsDrawnWhole) {
    game.app.Post([this] { ExpectEachStepAsDrawnWhole(2); });
    game.Char(u'r');
    done = true;
    EXPECT_FALSE(learning->IsOpen());
}

}  // namespace
