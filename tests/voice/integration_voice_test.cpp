// Tests against the real components: the speech service (in-process HTS synthesis)
// with the two voices installed in
// the build folder (scripts/fetch_voices.sh), and MeCab with the IPA dictionary.
// Every suite here starts with "Integration" so it can be filtered.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "platform/text_codec.h"
#include "tests/test_support/capturing_speech_sink.h"
#include "voice/mecab_reading.h"
#include "voice/openjtalk_speech.h"
#include "voice/speech_text.h"

using namespace std::chrono_literals;

namespace {

constexpr const char* kFarewell = "おつかれさまでした。またがんば'ってね。";

struct Heard {
    double seconds = 0;
    double rms = 0;
    double pitchHz = 0;
};

// Median fundamental frequency over voiced 40 ms frames, by normalised
// autocorrelation within 60..400 Hz.
double MedianPitch(const std::vector<int16_t>& s, int rate) {
    const size_t frame = rate / 25;
    const size_t minLag = rate / 400, maxLag = rate / 60;
    std::vector<double> pitches;
    for (size_t start = 0; start + frame + maxLag < s.size(); start += frame) {
        double energy = 0;
        for (size_t i = 0; i < frame; ++i) energy += double(s[start + i]) * s[start + i];
        if (energy / frame < 500.0 * 500.0) continue;  // silence or a quiet consonant
        double best = 0;
        size_t bestLag = 0;
        for (size_t lag = minLag; lag <= maxLag; ++lag) {
            double sum = 0, e2 = 0;
            for (size_t i = 0; i < frame; ++i) {
                sum += double(s[start + i]) * s[start + i + lag];
                e2 += double(s[start + i + lag]) * s[start + i + lag];
            }
            double r = sum / std::sqrt(energy * e2 + 1);
            if (r > best) best = r, bestLag = lag;
        }
        if (best > 0.6) pitches.push_back(double(rate) / bestLag);
    }
    if (pitches.empty()) return 0;
    std::nth_element(pitches.begin(), pitches.begin() + pitches.size() / 2, pitches.end());
    return pitches[pitches.size() / 2];
}

class IntegrationOpenJTalk : public ::testing::Test {
protected:
    void SetUp() override {
        for (int v : {0, 1}) {
            if (!std::filesystem::exists(OpenJTalkSpeech::VoiceFile(TERAMON_BINARY_DIR, v))) {
                GTEST_SKIP() << "voices not installed: run scripts/fetch_voices.sh " TERAMON_BINARY_DIR;
            }
        }
    }

    Heard Say(int voice, const std::string& utf8Notation, int speed) {
        CapturingSpeechSink sink;
        OpenJTalkSpeech speech(TERAMON_BINARY_DIR, sink);
        EXPECT_TRUE(speech.VoiceAvailable(voice));
        speech.Speak(voice, Utf8ToCp932(utf8Notation).value(), speed);
        if (!sink.WaitFor(1, 10s)) return {};
        auto played = sink.played()[0];
        Heard h;
        h.seconds = double(played.samples.size()) / played.sampleRate;
        double sum = 0;
        for (int16_t x : played.samples) sum += double(x) * x;
        h.rms = std::sqrt(sum / std::max<size_t>(1, played.samples.size()));
        h.pitchHz = MedianPitch(played.samples, played.sampleRate);
        return h;
    }
};

TEST_F(IntegrationOpenJTalk, BothVoicesSpeakTheFarewellAndAnIdiomWithItsMeaning) {
    MecabReading reading;
    std::string idiom = std::string("いちご/いち'え。") + "。" +
                        MakeSpeechText(reading, "一生に一度の出会い");
    for (int voice : {0, 1}) {
        for (const auto& [text, speed] : {std::pair{std::string(kFarewell), 110}, {idiom, 100}}) {
            Heard h = Say(voice, text, speed);
            EXPECT_GT(h.seconds, 0.5) << voice << " " << text;
            EXPECT_LT(h.seconds, 10.0) << voice << " " << text;
            EXPECT_GT(h.rms, 300.0) << voice << " " << text;
        }
    }
}

TEST_F(IntegrationOpenJTalk, TheMaleVoiceIsClearlyLower) {
    Heard female = Say(0, kFarewell, 110);
    Heard male = Say(1, "おつかれさまでした。また/がんば'ろお。", 110);
    std::printf("median pitch: female %.0f Hz, male %.0f Hz\n", female.pitchHz, male.pitchHz);
    ASSERT_GT(male.pitchHz, 0);
    EXPECT_LT(male.pitchHz, 0.75 * female.pitchHz);
}

TEST_F(IntegrationOpenJTalk, FasterSpeedGivesShorterSpeech) {
    Heard normal = Say(0, kFarewell, 100);
    Heard faster = Say(0, kFarewell, 110);
    EXPECT_LT(faster.seconds, normal.seconds * 0.97);
}

TEST(IntegrationMecab, ReadingsOfMeanings) {
    MecabReading reading;
    ASSERT_TRUE(reading.Available());
    EXPECT_EQ(reading.ReadingOf("今日は、晴れ"), "きょうは、はれ");
    EXPECT_EQ(MakeSpeechText(reading, "今日は、晴れ"), "きょうわ、はれ");
    EXPECT_EQ(MakeSpeechText(reading, "今日は、晴れ。明日は雨"), "きょうわ、はれ。あしたはあめ");
    EXPECT_EQ(reading.ReadingOf("一度きりの出会いを大切にすること"),
              "いちどきりのであいをたいせつにすること");
    // Words the dictionary does not know keep their written form; spaces stay.
    EXPECT_EQ(reading.ReadingOf("ABC と ｱｲｳ"), "ABC と ｱｲｳ");
    EXPECT_EQ(reading.ReadingOf(""), "");
}

TEST(IntegrationMecab, TextsOf1024Utf16UnitsOrMoreHaveNoReading) {
    MecabReading reading;
    auto repeat = [](const std::string& s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i) out += s;
        return out;
    };
    EXPECT_EQ(reading.ReadingOf(repeat("あ", 1023)), repeat("あ", 1023));
    EXPECT_EQ(reading.ReadingOf(repeat("あ", 1024)), "");
    // A character outside the basic plane counts two units.
    EXPECT_EQ(reading.ReadingOf(repeat("あ", 1022) + "𠮷"), "");
}

TEST(IntegrationMecab, AMissingDictionaryGivesNoReadings) {
    MecabReading reading("/nonexistent/mecab-dictionary");
    EXPECT_FALSE(reading.Available());
    EXPECT_EQ(reading.ReadingOf("今日は、晴れ"), "");
}

TEST(IntegrationMecab, TheReadingButtonInsertsBelowTheCaretLine) {
    MecabReading reading;
    NoReadings none;
    using Lines = std::vector<std::string>;
    struct Case {
        const char* what;
        ReadingService& service;
        Lines before;
        int caret;
        Lines after;
    } cases[] = {
        {"middle line", reading, {"一期一会", "意味"}, 0, {"一期一会", "いちごいちえ", "意味"}},
        {"last line appends", reading, {"一期一会", "花鳥風月"}, 1,
         {"一期一会", "花鳥風月", "かちょうふうげつ"}},
        {"empty line", reading, {"一期一会", ""}, 1, {"一期一会", ""}},
        {"reading fails", none, {"一期一会"}, 0, {"一期一会"}},
    };
    for (auto& c : cases) {
        Lines lines = c.before;
        EXPECT_EQ(InsertReadingAfterLine(lines, c.caret, c.service), c.after != c.before) << c.what;
        EXPECT_EQ(lines, c.after) << c.what;
    }
}

}  // namespace
