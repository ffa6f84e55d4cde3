#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>

#include "platform/application.h"
#include "platform/sdl/input_translator.h"
#include "platform/sdl/key_mapping.h"

TEST(KeyMapping, VirtualKeysAndTypedCharactersFollowTheEventsModifiers) {
    struct Case {
        SDL_Keycode key;
        Uint16 mod;
        int vk;
        char16_t ch;
    } cases[] = {
        {SDLK_a, KMOD_NONE, 'A', u'a'},
        {SDLK_s, KMOD_NUM, 'S', u's'},  // Num Lock does not change letters
        {SDLK_a, KMOD_LSHIFT, 'A', u'A'},
        {SDLK_y, KMOD_RSHIFT, 'Y', u'Y'},
        {SDLK_z, KMOD_CAPS, 'Z', u'Z'},
        {SDLK_x, KMOD_CAPS | KMOD_LSHIFT, 'X', u'X'},
        {SDLK_LSHIFT, KMOD_LSHIFT, 16, 0},
        {SDLK_RSHIFT, KMOD_RSHIFT, 16, 0},
        {SDLK_LALT, KMOD_LALT, 18, 0},
        {SDLK_RALT, KMOD_RALT, 18, 0},
        {SDLK_ESCAPE, KMOD_NONE, 27, 0},
        {SDLK_LCTRL, KMOD_LCTRL, 17, 0},
        {SDLK_F1, KMOD_NONE, 112, 0},
        {SDLK_5, KMOD_NONE, '5', u'5'},
        // Held for the fast slide, Ctrl turns letters into control characters.
        {SDLK_a, KMOD_LCTRL, 'A', 1},
        {SDLK_x, KMOD_RCTRL, 'X', 24},
        {SDLK_d, KMOD_LCTRL | KMOD_CAPS, 'D', 4},
        {SDLK_s, KMOD_LCTRL | KMOD_LSHIFT, 'S', 19},
    };
    for (const Case& c : cases) {
        KeyPress p = TranslateKeyDown(c.key, c.mod);
        EXPECT_EQ(p.virtualKey, c.vk) << SDL_GetKeyName(c.key);
        EXPECT_EQ(p.character, c.ch) << SDL_GetKeyName(c.key) << " mod " << c.mod;
    }
    KeyPress shifted = TranslateKeyDown(SDLK_a, KMOD_LSHIFT | KMOD_RCTRL);
    EXPECT_TRUE(shifted.shift.Shift);
    EXPECT_TRUE(shifted.shift.Ctrl);
    EXPECT_FALSE(shifted.shift.Alt);
}

namespace {

struct TranslatorFixture : ::testing::Test {
    VirtualClock clock;
    Application app{clock};
    TForm form{800, 600};
    InputState input;
    SdlInputTranslator translator{app, form, input};

    void Send(const SDL_Event& e) {
        translator.Translate(e);
        app.ProcessMessages();
    }
    static SDL_Event Key(Uint32 type, SDL_Keycode key, Uint16 mod) {
        SDL_Event e{};
        e.type = type;
        e.key.keysym.sym = key;
        e.key.keysym.mod = mod;
        return e;
    }
    static SDL_Event Button(Uint32 type, Uint8 button) {
        SDL_Event e{};
        e.type = type;
        e.button.button = button;
        return e;
    }
    static SDL_Event Window(Uint8 what, int a = 0, int b = 0) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = what;
        e.window.data1 = a;
        e.window.data2 = b;
        return e;
    }
};

}  // namespace

TEST_F(TranslatorFixture, MouseMovesReachTheFormInLogicalPixelsAndSetTheScreenPosition) {
    // The window lies at (100, 50) on the screen (window coordinates); the form
    // has a client area of 800 x 600 logical pixels.
    struct Case {
        const char* name;
        PixelMapping mapping;
        float k;  // logical pixels per window unit
    } cases[] = {
        {"factor 1", {1, 1}, 1},
        {"factor 2, window units are physical pixels (X11)", {2, 1}, 0.5f},
        {"factor 2, window units are logical already (high-DPI Wayland)", {2, 2}, 1},
        {"factor 1.5", {1.5f, 1}, 1 / 1.5f},
    };
    TImage* logo = form.Create<TImage>(&form);  // takes the move without a handler
    logo->SetBounds(300, 200, 50, 50);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        translator.SetWindowGeometry(100, 50, 0, 0);
        translator.SetPixelMapping(c.mapping);
        float gotX = -1, gotY = -1;
        form.OnMouseMove = [&](SceneObject*, TShiftState, float x, float y) { gotX = x; gotY = y; };

        // Logical (150, 120): beside the logo.
        SDL_Event move{};
        move.type = SDL_MOUSEMOTION;
        move.motion.x = static_cast<int>(std::lround(150 / c.k));
        move.motion.y = static_cast<int>(std::lround(120 / c.k));
        Send(move);
        EXPECT_NEAR(gotX, 150, 0.5f);
        EXPECT_NEAR(gotY, 120, 0.5f);
        EXPECT_NEAR(input.ScreenMouseX, (100 + move.motion.x) * c.k, 0.01f);
        EXPECT_NEAR(input.ScreenMouseY, (50 + move.motion.y) * c.k, 0.01f);

        gotX = -1;
        move.motion.x = static_cast<int>(std::lround(320 / c.k));  // over the logo at logical (320, 220)
        move.motion.y = static_cast<int>(std::lround(220 / c.k));
        Send(move);
        EXPECT_FLOAT_EQ(gotX, -1);
        EXPECT_NEAR(input.ScreenMouseX, (100 + move.motion.x) * c.k, 0.01f);
    }
}

TEST_F(TranslatorFixture, ButtonsAndCtrlComeFromEventsAndAreForgottenWhenFocusIsLost) {
    Send(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT));
    Send(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT));
    EXPECT_TRUE(input.LeftButton);
    EXPECT_TRUE(input.RightButton);
    Send(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT));
    EXPECT_FALSE(input.LeftButton);
    EXPECT_TRUE(input.RightButton);

    Send(Key(SDL_KEYDOWN, SDLK_LCTRL, KMOD_LCTRL));
    EXPECT_TRUE(input.Ctrl);
    Send(Key(SDL_KEYUP, SDLK_LCTRL, KMOD_NONE));
    EXPECT_FALSE(input.Ctrl);
    Send(Key(SDL_KEYDOWN, SDLK_RCTRL, KMOD_RCTRL));
    Send(Window(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_FALSE(input.Ctrl);
    EXPECT_FALSE(input.RightButton);
}

TEST_F(TranslatorFixture, KeyFocusCloseAndResizeReachTheirHandlers) {
    std::vector<std::pair<int, char16_t>> keys;
    int activations = 0, closes = 0;
    translator.handlers.onKeyDown = [&](int vk, char16_t ch, TShiftState) { keys.emplace_back(vk, ch); };
    translator.handlers.onActivate = [&] { ++activations; };
    translator.handlers.onCloseRequest = [&] { ++closes; };

    Send(Key(SDL_KEYDOWN, SDLK_LSHIFT, KMOD_LSHIFT));
    Send(Key(SDL_KEYDOWN, SDLK_a, KMOD_NONE));
    Send(Key(SDL_KEYDOWN, SDLK_ESCAPE, KMOD_NONE));
    EXPECT_EQ(keys, (std::vector<std::pair<int, char16_t>>{{16, 0}, {'A', u'a'}, {27, 0}}));

    Send(Window(SDL_WINDOWEVENT_FOCUS_GAINED));
    EXPECT_EQ(activations, 1);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Send(quit);
    EXPECT_EQ(closes, 1);

    TImage* pad = form.Create<TImage>(&form);
    pad->SetBounds(104, 544, 64, 26);
    pad->Align = TAlignLayout::alScale;
    Send(Window(SDL_WINDOWEVENT_SIZE_CHANGED, 1920, 1080));
    EXPECT_EQ(form.ClientWidth(), 1920);
    EXPECT_EQ(form.ClientHeight(), 1080);
    EXPECT_FLOAT_EQ(pad->Position.X, 249.6f);

    // At factor 2 a 3840 x 2160 window is a client area of 1920 x 1080.
    Send(Window(SDL_WINDOWEVENT_SIZE_CHANGED, 1280, 720));
    translator.SetPixelMapping({2, 1});
    Send(Window(SDL_WINDOWEVENT_SIZE_CHANGED, 3840, 2160));
    EXPECT_EQ(form.ClientWidth(), 1920);
    EXPECT_EQ(form.ClientHeight(), 1080);
    EXPECT_FLOAT_EQ(pad->Position.X, 249.6f);
}
