#include "platform/sdl/display_scale.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

TEST(DisplayScale, FactorComesFromTheFirstSourceThatHoldsANumberAndStaysWithinOneToFour) {
    struct Case {
        const char* name;
        ScaleSources sources;
        float factor;
    } cases[] = {
        {"nothing set", {}, 1},
        {"Xft.dpi 192", {"Xft.dpi:\t192\n", {}, 0}, 2},
        {"Xft.dpi 144", {"Xft.dpi: 144", {}, 0}, 1.5f},
        {"Xft.dpi 96", {"Xft.dpi:\t96\n", {}, 0}, 1},
        {"Xft.dpi among other resources",
         {"Xcursor.size:\t48\nXft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n", {}, 0}, 2},
        {"GDK_SCALE 2 alone", {{}, "2", 0}, 2},
        {"drawable ratio 2 alone", {{}, {}, 2}, 2},
        {"Xft.dpi before GDK_SCALE and the drawable", {"Xft.dpi: 144\n", "3", 2}, 1.5f},
        {"GDK_SCALE before the drawable", {{}, "3", 2}, 3},
        {"resources without Xft.dpi fall through", {"Xcursor.size: 48\n", "2", 0}, 2},
        {"a dpi that is no number falls through", {"Xft.dpi: big\n", "2", 0}, 2},
        {"an empty GDK_SCALE falls through", {{}, "", 2}, 2},
        {"Xft.dpi 0 is clamped", {"Xft.dpi: 0\n", "2", 0}, 1},
        {"Xft.dpi 1000 is clamped", {"Xft.dpi: 1000\n", {}, 0}, 4},
        {"GDK_SCALE 0 is clamped", {{}, "0", 0}, 1},
        {"GDK_SCALE 1000 is clamped", {{}, "1000", 0}, 4},
        {"GDK_SCALE -2 is clamped", {{}, "-2", 0}, 1},
        {"GDK_SCALE nan is no number", {{}, "nan", 0}, 1},
        {"drawable ratio 9 is clamped", {{}, {}, 9}, 4},
    };
    for (const Case& c : cases) EXPECT_FLOAT_EQ(ScaleFactorFrom(c.sources), c.factor) << c.name;
}

TEST(DisplayScale, XftDpiIsFoundByItsFullName) {
    EXPECT_EQ(XftDpiOf("Xft.dpi:\t192\n"), "192");
    EXPECT_EQ(XftDpiOf("*dpi: 120\nXft.dpi : 144 \r\n"), "144");
    EXPECT_FALSE(XftDpiOf("MyXft.dpi: 192\nXft.dpiX: 100\n").has_value());
    EXPECT_FALSE(XftDpiOf("").has_value());
}

// On SDL's dummy video driver only the environment can give a scale.
TEST(DisplayScale, TheRunningDesktopIsAskedForGdkScale) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_Window* window = SDL_CreateWindow("scale", 0, 0, 64, 48, 0);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    const char* old = std::getenv("GDK_SCALE");
    const std::string saved = old ? old : "";

    setenv("GDK_SCALE", "2", 1);
    EXPECT_FLOAT_EQ(ScaleFactorFrom(CurrentScaleSources(window)), 2);
    unsetenv("GDK_SCALE");
    EXPECT_FLOAT_EQ(ScaleFactorFrom(CurrentScaleSources(window)), 1);

    if (old) setenv("GDK_SCALE", saved.c_str(), 1);
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
