// The pitch line laid over an utterance follows its accent marks.
#include <gtest/gtest.h>

#include <cmath>

#include "voice/accent_contour.h"
#include "voice/full_context_labels.h"
#include "voice/notation.h"

namespace {

const double kSemitone = std::log(2.0) / 12.0;

std::vector<std::string> LabelsOf(const std::string& notation) {
    return FullContextLabels(*ParseNotation(notation));
}

}  // namespace

TEST(AccentContour, TokyoPatternOfEachMark) {
    struct Case {
        int morae, accent;
        const char* highs;  // H or L per mora
    } cases[] = {
        {4, 0, "LHHH"}, {4, 1, "HLLL"}, {4, 2, "LHLL"}, {4, 3, "LHHL"},
        {1, 0, "H"},    {1, 1, "H"},    {2, 1, "HL"},   {6, 5, "LHHHHL"},
    };
    for (const Case& c : cases) {
        std::string got;
        for (int m = 1; m <= c.morae; ++m) got += MoraIsHigh(m, c.morae, c.accent) ? 'H' : 'L';
        EXPECT_EQ(got, c.highs) << c.morae << " morae, nucleus " << c.accent;
    }
}

TEST(AccentContour, MoraeAndPhrasesFromTheLabels) {
    // は'んし/はんしょお: two phrases; the second has no mark. Each label lasts
    // 10 frames; silences belong to no mora, and a consonant joins its vowel.
    const auto labels = LabelsOf("は'んし/はんしょお");
    const std::vector<size_t> frames(labels.size(), 10);
    const auto morae = AccentMorae(labels, frames);
    ASSERT_EQ(morae.size(), 7u);  // は ん し | は ん しょ お
    EXPECT_EQ(morae[0].phrase, 0);
    EXPECT_EQ(morae[0].accent, 1);
    EXPECT_EQ(morae[0].firstFrame, 10u);  // after the opening silence
    EXPECT_EQ(morae[0].endFrame, 30u);    // h + a
    EXPECT_EQ(morae[3].phrase, 1);
    EXPECT_EQ(morae[3].mora, 1);
    EXPECT_EQ(morae[3].accent, 0);  // no mark: high to the end
    const auto closure = AccentMorae(LabelsOf("いっ'き"), std::vector<size_t>(8, 10));
    ASSERT_EQ(closure.size(), 3u);
    EXPECT_TRUE(closure[1].closure);
}

TEST(AccentContour, AFlatVoiceGetsTheFallAndKeepsItsUnvoicedFrames) {
    // ふわら'いどお said on one flat pitch: after shaping the marked mora stands
    // well above the next, the first mora is low, and nothing jumps.
    const auto labels = LabelsOf("ふわら'いどお");
    const std::vector<size_t> frames(labels.size(), 12);
    const auto morae = AccentMorae(labels, frames);
    size_t total = 0;
    for (size_t f : frames) total += f;
    std::vector<double> logF0(total, std::log(200.0));
    std::vector<bool> voiced(total, true);
    voiced[morae[0].firstFrame] = false;  // the f of ふ
    logF0[morae[0].firstFrame] = -1e10;
    ShapeAccentContour(logF0, voiced, morae);

    auto mean = [&](const AccentMora& m) {
        double s = 0;
        int n = 0;
        for (size_t t = m.firstFrame + 3; t + 3 < m.endFrame; ++t)
            if (voiced[t]) s += logF0[t], ++n;
        return s / n;
    };
    ASSERT_EQ(morae.size(), 6u);
    EXPECT_LT(mean(morae[0]), mean(morae[1]) - 2 * kSemitone);  // a low start rises
    EXPECT_NEAR(mean(morae[1]), mean(morae[2]), 0.5 * kSemitone);
    EXPECT_LT(mean(morae[3]), mean(morae[2]) - 3 * kSemitone);  // the fall after ら
    EXPECT_EQ(logF0[morae[0].firstFrame], -1e10);                // unvoiced left alone
    for (size_t t = 1; t < total; ++t)
        if (voiced[t] && voiced[t - 1]) {
            EXPECT_LE(std::abs(logF0[t] - logF0[t - 1]), 2.0 * kSemitone + 1e-9);
        }
}
