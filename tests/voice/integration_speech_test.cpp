// Speech with the real components: the HTS voices installed in the build folder
// (scripts/fetch_voices.sh) and the Open JTalk program with its dictionary.
// Every suite here starts with "Integration" so it can be filtered.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "game/question_table.h"
#include "tests/test_support/audio_levels.h"
#include "voice/full_context_labels.h"
#include "voice/notation.h"
#include "voice/notation_synthesizer.h"
#include "voice/openjtalk_speech.h"

using namespace std::chrono_literals;
using audio_test::ActiveRmsDb;

namespace {

std::string VoiceFile(int v) { return OpenJTalkSpeech::VoiceFile(TERAMON_BINARY_DIR, v); }

bool VoicesInstalled() {
    return std::filesystem::exists(VoiceFile(0)) && std::filesystem::exists(VoiceFile(1));
}


double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::string Phonemes(const std::vector<std::string>& labels) {
    std::string out;
    for (const std::string& l : labels) out += ReadLabel(l).phoneme + " ";
    return out;
}
// Per phoneme: the accent phrase it belongs to (mora count and accent type).
std::string Accents(const std::vector<std::string>& labels) {
    std::string out;
    for (const std::string& l : labels) {
        LabelFields f = ReadLabel(l);
        out += f.accentPhraseMorae + "_" + f.accentType + " ";
    }
    return out;
}

class IntegrationSpeech : public ::testing::Test {
protected:
    void SetUp() override {
        if (!VoicesInstalled())
            GTEST_SKIP() << "voices not installed: run scripts/fetch_voices.sh " TERAMON_BINARY_DIR;
    }
    std::vector<BuiltInQuestion> rows_ = ParseQuestionTable(kBuiltInQuestionTable);
    OpenJTalkSetup setup_;
    std::atomic<bool> cancel_{false};
};

// Where Open JTalk, reading an idiom in kanji, arrives at the same phonemes and
// accents as our notation, the labels we build are its labels word for word,
// apart from the part-of-speech fields (the notation has none).
TEST_F(IntegrationSpeech, OurLabelsAreOpenJTalksWhereItsReadingAgrees) {
    OpenJTalkLabeler labeler(setup_.engine, setup_.dictionary, 5s);
    if (!labeler.Ready()) GTEST_SKIP() << "the open_jtalk program or its dictionary is missing";
    int agreeing = 0;
    for (size_t q = 0; q < rows_.size(); ++q) {
        SCOPED_TRACE("row " + std::to_string(q) + " " + rows_[q].jukugo + " " + rows_[q].speech);
        std::optional<std::vector<std::string>> theirs = labeler.Labels(rows_[q].jukugo, VoiceFile(0), cancel_);
        ASSERT_TRUE(theirs);
        std::vector<std::string> ours = FullContextLabels(*ParseNotation(rows_[q].speech));
        if (Phonemes(ours) != Phonemes(*theirs) || Accents(ours) != Accents(*theirs)) continue;
        ++agreeing;
        ASSERT_EQ(ours.size(), theirs->size());
        for (size_t i = 0; i < ours.size(); ++i)
            EXPECT_EQ(WithoutWordFields(ours[i]), WithoutWordFields((*theirs)[i])) << i;
    }
    std::printf("rows where Open JTalk's reading of the kanji agrees: %d of %zu\n", agreeing, rows_.size());
    EXPECT_GE(agreeing, 40);  // the comparison must cover a good part of the table
}

// All 340 idiom utterances (170 idioms, two voices): never at full scale, short
// quiet ends, and the two voices equally loud.
TEST_F(IntegrationSpeech, EveryIdiomInBothVoicesIsLevelledAndTrimmed) {
    NotationSynthesizer synth(setup_.engine, setup_.dictionary, 5s);
    std::vector<double> loudness[2];
    int peak[2] = {0, 0};
    double longestEdgeMs = 0;
    for (int v : {0, 1}) {
        for (size_t q = 0; q < rows_.size(); ++q) {
            SCOPED_TRACE("voice " + std::to_string(v) + " row " + std::to_string(q));
            std::optional<SpeechPcm> pcm = synth.Synthesize(VoiceFile(v), rows_[q].speech, 1.0, cancel_);
            ASSERT_TRUE(pcm);
            ASSERT_EQ(pcm->sampleRate, 48000);
            int p = 0;
            for (int16_t x : pcm->samples) p = std::max(p, std::abs(int(x)));
            EXPECT_LT(p, 32767);
            peak[v] = std::max(peak[v], p);
            double lead = LeadingSilenceMs(pcm->samples, pcm->sampleRate);
            double trail = TrailingSilenceMs(pcm->samples, pcm->sampleRate);
            EXPECT_LE(lead, 50.0);
            EXPECT_LE(trail, 50.0);
            longestEdgeMs = std::max({longestEdgeMs, lead, trail});
            loudness[v].push_back(ActiveRmsDb(pcm->samples, pcm->sampleRate));
        }
    }
    double f = Median(loudness[0]), m = Median(loudness[1]);
    std::printf("active RMS median: female %.1f dBFS, male %.1f dBFS; peaks %d / %d; longest quiet end %.0f ms\n",
                f, m, peak[0], peak[1], longestEdgeMs);
    EXPECT_LE(std::abs(f - m), 2.0);
}

// A question of the player's own: the reading is said from the notation and the
// kanji meaning is read by Open JTalk's analysis, both in-process.
TEST_F(IntegrationSpeech, AnOwnQuestionsMeaningIsReadByTheAnalyser) {
    NotationSynthesizer synth(setup_.engine, setup_.dictionary, 5s);
    OpenJTalkLabeler labeler(setup_.engine, setup_.dictionary, 5s);
    if (!labeler.Ready()) GTEST_SKIP() << "the open_jtalk program or its dictionary is missing";
    const std::string text = "いちにさんし。一人で長い間待つこと";
    std::vector<LabelRun> runs = synth.Labels(VoiceFile(0), text, cancel_);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_FALSE(runs[0].analysed);
    EXPECT_TRUE(runs[1].analysed);
    EXPECT_EQ(runs[1].labels, *labeler.Labels("一人で長い間待つこと。", VoiceFile(0), cancel_));
    std::optional<SpeechPcm> both = synth.Synthesize(VoiceFile(1), text, 1.0, cancel_);
    std::optional<SpeechPcm> reading = synth.Synthesize(VoiceFile(1), "いちにさんし。", 1.0, cancel_);
    ASSERT_TRUE(both && reading);
    EXPECT_GT(both->samples.size(), reading->samples.size() + 48000u / 2);

    // Without the program the meaning is left out and the reading still said.
    NotationSynthesizer alone("/nonexistent/open_jtalk", setup_.dictionary, 5s);
    std::optional<SpeechPcm> only = alone.Synthesize(VoiceFile(1), text, 1.0, cancel_);
    ASSERT_TRUE(only);
    EXPECT_NEAR(double(only->samples.size()), double(reading->samples.size()), 48000 * 0.02);
}

TEST_F(IntegrationSpeech, ABrokenVoiceFileIsSilent) {
    std::string bad = ::testing::TempDir() + "/broken.htsvoice";
    FILE* f = std::fopen(bad.c_str(), "w");
    std::fputs("not a voice", f);
    std::fclose(f);
    NotationSynthesizer synth(setup_.engine, setup_.dictionary, 5s);
    EXPECT_FALSE(synth.Synthesize(bad, "あ。", 1.0, cancel_));
    EXPECT_TRUE(synth.Synthesize(VoiceFile(0), "あ。", 1.0, cancel_));
}

}  // namespace
