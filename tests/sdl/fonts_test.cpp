#include "platform/sdl/fonts.h"

#include <SDL_ttf.h>
#include <gtest/gtest.h>

namespace {

int WidthOf(TTF_Font* font, const char* text) {
    int w = 0, h = 0;
    EXPECT_EQ(TTF_SizeUTF8(font, text, &w, &h), 0);
    return w;
}

}  // namespace

TEST(Fonts, BothJapaneseFacesAreFoundAndTheHelpPanelsFaceIsFixedPitch) {
    FontLibrary fonts;
    EXPECT_FALSE(fonts.FileOf(FontFace::Proportional).empty());
    EXPECT_NE(fonts.FileOf(FontFace::Proportional), fonts.FileOf(FontFace::FixedPitch));
    EXPECT_EQ(FaceForFamily("ＭＳ ゴシック"), FontFace::FixedPitch);
    EXPECT_EQ(FaceForFamily(""), FontFace::Proportional);

    // The help text lines its columns up counting a full-width character as two
    // half-width ones; only a fixed-pitch face keeps that.
    TTF_Font* fixed = fonts.Get(FontFace::FixedPitch, 16, false);
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(WidthOf(fixed, "終了"), WidthOf(fixed, "[Es]"));
    EXPECT_EQ(WidthOf(fixed, "ゲームモード"), WidthOf(fixed, "............"));
    TTF_Font* proportional = fonts.Get(FontFace::Proportional, 16, false);
    ASSERT_NE(proportional, nullptr);
    EXPECT_NE(WidthOf(proportional, "iiii"), WidthOf(proportional, "MMMM"));
    // Same size, same font object.
    EXPECT_EQ(fonts.Get(FontFace::FixedPitch, 16, false), fixed);
    EXPECT_NE(fonts.Get(FontFace::FixedPitch, 16, true), fixed);
}

TEST(Fonts, ThePatternLookupOnlyAcceptsFontsThatShowJapanese) {
    EXPECT_NE(FindJapaneseFontFile("sans-serif:lang=ja"), "");
    // A Latin-only font (DejaVu comes with fontconfig on Debian) must not pass
    // for a Japanese one: its labels would show empty boxes.
    EXPECT_EQ(FindJapaneseFontFile("DejaVu Sans"), "");
}
