// Every meaning, laid out by the game and drawn by the real renderer with the
// real fonts, stays clear of the help panel in the bottom-right corner: as a hint
// during play and under the answer (the game-over screen places it the same way),
// at the window sizes where the panel stands beside it, at desktop scale 1 and 2.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/clear_of_help_panel.h"
#include "platform/sdl/fonts.h"
#include "platform/sdl/scene_renderer.h"
#include "tests/scenes/scene_output.h"
#include "tests/test_support/game_fixture.h"

namespace {

using game_test::GameFixture;
using scene_test::Display;
using scene_test::Output;

// A meaning of 60 characters, as a player may write one for an additional question.
const std::string kLongAdditionalMeaning =
    "どのような困難に出会っても決してあきらめることなく、最後まで自分の信じた道を歩き続けて、"
    "大きな目標を成し遂げること。";

std::string Describe(const SDL_Rect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" + std::to_string(r.h);
}

// The drawn text is on the screen, not on the panel, and (under the answer) not
// on the idiom between reading and meaning.
void ExpectClear(const SDL_Rect& text, const SDL_Rect& panel, const SDL_Rect* idiom, const Output& out,
                 const std::string& what) {
    ASSERT_FALSE(SDL_RectEmpty(&text)) << what << " was not drawn";
    EXPECT_FALSE(SDL_HasIntersection(&text, &panel))
        << what << " drawn at " << Describe(text) << " meets the help panel at " << Describe(panel);
    EXPECT_GE(text.x, -1) << what;
    EXPECT_GE(text.y, -1) << what;
    EXPECT_LE(text.x + text.w, out.Width() + 1) << what << " leaves the window: " << Describe(text);
    EXPECT_LE(text.y + text.h, out.Height() + 1) << what << " leaves the window: " << Describe(text);
    if (idiom) {
        EXPECT_FALSE(SDL_HasIntersection(&text, idiom))
            << what << " drawn at " << Describe(text) << " meets the idiom at " << Describe(*idiom);
    }
}

void CheckMeanings(const Display& d, const std::vector<int>& questions, bool withLongAdditional) {
    GameFixture fx;
    TForm1& f = fx.f();
    f.SetClientSize(d.clientW, d.clientH);
    Output out(d);
    const SDL_Rect panel = out.InPixels(*f.Scene().RectSosaHoho);
    struct Entry { std::string meaning, reading, idiom; };
    std::vector<Entry> entries;
    for (int q : questions) entries.push_back({f.Questions().At(q).Imi, f.Questions().At(q).Yomi, f.Questions().At(q).Jukugo});
    if (withLongAdditional) entries.push_back({kLongAdditionalMeaning, "さいごまであきらめない", "初志貫徹"});
    const std::string size = std::to_string(d.clientW) + "x" + std::to_string(d.clientH) + " at scale " +
                             std::to_string(d.scale);

    // The hint, where the design puts the meaning.
    f.Scene().LblImi->Visible = true;
    f.Scene().LblYomi->Visible = false;
    int reduced = 0;
    for (const Entry& e : entries) {
        f.Scene().LblImi->Text = e.meaning;
        f.Scene().LblYomi->Text = e.reading;
        f.FitAnswerLabels();
        ExpectClear(out.Area(f, *f.Scene().LblImi), panel, nullptr, out, "hint '" + e.meaning + "' " + size);
        reduced += f.Scene().LblImi->Font.Size < 24;
        EXPECT_GE(f.Scene().LblImi->Font.Size, kSmallestFontSize);
    }

    // Under the answer and under the game-over picture: reading, idiom, meaning.
    for (const Entry& e : entries) {
        f.Scene().LblImi->Text = e.meaning;
        f.Scene().LblYomi->Text = e.reading;
        f.Scene().LblKaitoMoji->Text = e.idiom;
        f.ShowAnswerLabels();
        const SDL_Rect idiom = out.Area(f, *f.Scene().LblKaitoMoji);
        ExpectClear(out.Area(f, *f.Scene().LblImi), panel, &idiom, out, "meaning '" + e.meaning + "' " + size);
        ExpectClear(out.Area(f, *f.Scene().LblYomi), panel, &idiom, out, "reading '" + e.reading + "' " + size);
        reduced += f.Scene().LblImi->Font.Size < 24;
    }
    // Breaking over lines is enough almost always; smaller type only for the odd long one.
    EXPECT_LE(reduced, 4) << size;
}

std::vector<int> AllBuiltIn() {
    std::vector<int> all(kBuiltInQuestions);
    for (int q = 0; q < kBuiltInQuestions; ++q) all[q] = q;
    return all;
}

TEST(ClearOfHelpPanel, EveryMeaningAt1280By720) { CheckMeanings({1280, 720, 1}, AllBuiltIn(), true); }

TEST(ClearOfHelpPanel, EveryMeaningAt1024By600) { CheckMeanings({1024, 600, 1}, AllBuiltIn(), true); }

// Scale 2 draws the same layout at twice the pixels; the longest meanings are
// enough to show the estimate holds for the larger glyphs too.
TEST(ClearOfHelpPanel, LongestMeaningsAtScaleTwo) {
    GameFixture probe;
    std::vector<int> longest = AllBuiltIn();
    std::sort(longest.begin(), longest.end(),
              [&](int a, int b) { return probe.f().Questions().At(a).Imi.size() > probe.f().Questions().At(b).Imi.size(); });
    longest.resize(6);
    CheckMeanings({1024, 600, 2}, longest, true);
    CheckMeanings({1920, 1080, 2}, longest, true);
}

}  // namespace
