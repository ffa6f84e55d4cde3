// Speech made ahead: the fixed phrases and each board's idioms in both voices,
// the chosen voice first, so that a change of voice never makes one late.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/test_support/game_fixture.h"

using game_test::GameFixture;

namespace {

bool Has(const std::vector<game_test::RecordingSpeech::Said>& list, int voice, const std::string& text,
         int speed) {
    return std::any_of(list.begin(), list.end(), [&](const auto& s) {
        return s.voice == voice && s.text == text && s.speed == speed;
    });
}

}  // namespace

TEST(SpeechPreparation, FixedPhrasesAndTheBoardsIdiomsAreMadeForBothVoicesChosenFirst) {
    const std::string farewell[2] = {"おつかれさまでした。またがんば'ってね。",
                                     "おつかれさまでした。また/がんば'ろお。"};
    for (int chosen : {0, 1}) {
        SCOPED_TRACE("chosen voice " + std::to_string(chosen));
        GameFixture fx;
        TForm1& g = fx.f();
        g.Sound().VoiceMode = chosen;
        fx.speech.prepared.clear();
        fx.StartAt(0, 1);
        auto& prepared = fx.speech.prepared;
        for (int v : {0, 1}) {
            EXPECT_TRUE(Has(prepared, v, farewell[v], 110)) << v;
            EXPECT_FALSE(Has(prepared, v, farewell[1 - v], 110)) << v;  // each its own farewell
            EXPECT_TRUE(Has(prepared, v, "やったね、しんき'ろく。おめでとお。", 110)) << v;
            EXPECT_TRUE(Has(prepared, v, "やったね。おめでとお。", 110)) << v;
            for (int s = 0; s < 4; ++s)
                EXPECT_TRUE(Has(prepared, v, *Cp932ToUtf8(g.IdiomSpeechText(s)), 100)) << v << " " << s;
        }
        // The chosen voice's idioms come before any of the other voice's.
        ASSERT_FALSE(prepared.empty());
        EXPECT_EQ(prepared.front().voice, chosen);
        EXPECT_EQ(prepared.front().speed, 100);
    }
}

TEST(SpeechPreparation, NothingIsMadeWithTheSoundOff) {
    GameFixture fx(/*sound=*/false);
    fx.speech.prepared.clear();
    fx.StartAt(0, 1);
    EXPECT_TRUE(fx.speech.prepared.empty());
}
