// SdlAudio through the real SDL2_mixer on SDL's dummy audio driver: every shipped
// sound decodes, lengths are right, and effects and speech reach the mix.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include <chrono>
#include <filesystem>
#include <mutex>

#include "game/question_table.h"
#include "platform/sdl/sdl_audio.h"
#include "tests/test_support/audio_levels.h"
#include "tests/test_support/recording_audio.h"
#include "voice/notation_synthesizer.h"
#include "voice/openjtalk_speech.h"

using audio_test::ActiveRmsDb;

namespace {

const std::string kSoundDir = std::string(TERAMON_SOURCE_DIR) + "/Data/Sound/";
const char* kEffects[] = {"Down.wav",      "Bleep.wav", "Bakuhatu.wav", "Pad_hit.wav",
                          "Miss.wav",      "Block_hit.wav", "Buzz.wav", "Copy.wav",
                          "Seikai1.wav",   "seikai.wav", "gameover.wav"};
const char* kMusic[] = {"Stage1.mp3", "Stage2.mp3", "Stage3.mp3", "parade.mp3"};

// Length of an MP3 from lame's Info/Xing tag: frames × 1152 less the encoder
// delay and padding. -1 when the file has no such tag.
double LameTagSeconds(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), {});
    size_t pos = 0;
    if (b.size() > 10 && b[0] == 'I' && b[1] == 'D' && b[2] == '3')
        pos = 10 + ((b[6] & 0x7f) << 21 | (b[7] & 0x7f) << 14 | (b[8] & 0x7f) << 7 | (b[9] & 0x7f));
    if (pos + 200 > b.size() || b[pos] != 0xFF || (b[pos + 1] & 0xF8) != 0xF8) return -1;  // MPEG-1
    static const int rates[] = {44100, 48000, 32000, 0};
    int rate = rates[(b[pos + 2] >> 2) & 3];
    bool mono = (b[pos + 3] >> 6) == 3;
    size_t tag = pos + 4 + (mono ? 17 : 32);
    std::string id(b.begin() + tag, b.begin() + tag + 4);
    if (id != "Xing" && id != "Info") return -1;
    auto be32 = [&](size_t p) { return uint32_t(b[p]) << 24 | b[p + 1] << 16 | b[p + 2] << 8 | b[p + 3]; };
    uint32_t flags = be32(tag + 4), frames = 0;
    size_t p = tag + 8;
    if (flags & 1) frames = be32(p), p += 4;
    if (flags & 2) p += 4;
    if (flags & 4) p += 100;
    if (flags & 8) p += 4;
    if (std::string(b.begin() + p, b.begin() + p + 4) != "LAME") return -1;
    int delay = b[p + 21] << 4 | b[p + 22] >> 4;
    int padding = (b[p + 22] & 0x0f) << 8 | b[p + 23];
    return (double(frames) * 1152 - delay - padding) / rate;
}

std::atomic<int> gMixPeak{0};
void SDLCALL CapturePeak(void*, Uint8* stream, int len) {
    auto* s = reinterpret_cast<const int16_t*>(stream);
    int peak = 0;
    for (int i = 0; i < len / 2; ++i) peak = std::max(peak, std::abs(int(s[i])));
    if (peak > gMixPeak.load()) gMixPeak.store(peak);
}

// Waits (real time) until the mix has carried a sample above `level`.
bool MixReaches(int level, int timeoutMs = 2000) {
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (gMixPeak.load() > level) return true;
        SDL_Delay(10);
    }
    return false;
}

class SdlMixerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_AUDIODRIVER", "dummy", 1);  // never make a noise on a developer's desk
        clock = new VirtualClock();
        audio = new SdlAudio(*clock);
    }
    static void TearDownTestSuite() {
        Mix_SetPostMix(nullptr, nullptr);
        delete audio;
        delete clock;
    }
    void SetUp() override {
        ASSERT_TRUE(audio->MixerOpen());
        Mix_HaltChannel(-1);
        audio->Close();
        gMixPeak = 0;
    }
    static VirtualClock* clock;
    static SdlAudio* audio;
};
VirtualClock* SdlMixerTest::clock = nullptr;
SdlAudio* SdlMixerTest::audio = nullptr;

TEST_F(SdlMixerTest, EveryMusicFileDecodesWithItsTaggedLength) {
    for (const char* name : kMusic) {
        SCOPED_TRACE(name);
        double tagged = LameTagSeconds(kSoundDir + name);
        ASSERT_GT(tagged, 20.0) << "missing lame Info/Xing tag";
        int64_t lengthMs = 0;
        ASSERT_TRUE(audio->Open(kSoundDir + name, lengthMs));
        EXPECT_NEAR(lengthMs / 1000.0, tagged, 0.1);
        // The game restarts a track after its whole seconds: a stage loop's seam sits
        // there, and the file runs on a short way into the loop's own beginning.
        if (std::string(name).rfind("Stage", 0) == 0) {
            EXPECT_NEAR(double(lengthMs % 1000), 300.0, 50.0);
        }
        audio->Play();
        EXPECT_TRUE(Mix_PlayingMusic());
        audio->Close();
    }
    int64_t lengthMs = 123;
    EXPECT_FALSE(audio->Open(kSoundDir + "NoSuchTrack.mp3", lengthMs));
    EXPECT_EQ(lengthMs, 0);
}

TEST_F(SdlMixerTest, EveryEffectDecodesAndASynchronousOneHoldsTheClockForItsLength) {
    for (const char* name : kEffects) {
        SCOPED_TRACE(name);
        int64_t fileMs = WaveFileLengthMs(kSoundDir + name);
        ASSERT_GT(fileMs, 50);
        EXPECT_NEAR(audio->EffectLengthMs(kSoundDir + name), fileMs, 2);
    }
    uint32_t before = clock->NowMs();
    audio->PlayEffect(kSoundDir + "Seikai1.wav", true);
    EXPECT_NEAR(double(clock->NowMs() - before), double(WaveFileLengthMs(kSoundDir + "Seikai1.wav")), 2);
    before = clock->NowMs();
    audio->PlayEffect(kSoundDir + "Bleep.wav", false);
    audio->PlayEffect(kSoundDir + "Missing.wav", true);  // silent, no wait
    EXPECT_EQ(clock->NowMs(), before);
}

TEST_F(SdlMixerTest, AnEffectIsHeardInTheMixAndTheNextOneReplacesIt) {
    Mix_SetPostMix(CapturePeak, nullptr);
    audio->PlayEffect(kSoundDir + "Copy.wav", false);
    EXPECT_TRUE(MixReaches(1000));
    audio->PlayEffect(kSoundDir + "Bakuhatu.wav", false);
    ASSERT_TRUE(Mix_Playing(SdlAudio::kEffectChannel));
    EXPECT_EQ(Mix_Playing(-1), 1);  // one effect at a time
    int rate = audio->DeviceRate();
    int64_t playingMs = int64_t(Mix_GetChunk(SdlAudio::kEffectChannel)->alen) / 4 * 1000 / rate;
    EXPECT_NEAR(double(playingMs), 1300.0, 2.0);  // the explosion, not the sparkle
    Mix_SetPostMix(nullptr, nullptr);
}

// A 16-bit stereo wave file of a quiet tone, used as a very short "track".
std::string WriteShortTrack(int ms) {
    std::string path = ::testing::TempDir() + "/short_track.wav";
    auto le32 = [](std::ofstream& o, uint32_t v) { for (int i = 0; i < 4; ++i) o.put(char(v >> (8 * i))); };
    auto le16 = [](std::ofstream& o, uint16_t v) { o.put(char(v)); o.put(char(v >> 8)); };
    uint32_t frames = 44100 * ms / 1000, bytes = frames * 4;
    std::ofstream o(path, std::ios::binary);
    o.write("RIFF", 4); le32(o, 36 + bytes); o.write("WAVE", 4);
    o.write("fmt ", 4); le32(o, 16); le16(o, 1); le16(o, 2); le32(o, 44100); le32(o, 44100 * 4);
    le16(o, 4); le16(o, 16);
    o.write("data", 4); le32(o, bytes);
    for (uint32_t i = 0; i < frames; ++i) {
        auto v = int16_t(3000 * std::sin(2 * M_PI * 440.0 * i / 44100));
        le16(o, uint16_t(v)); le16(o, uint16_t(v));
    }
    return path;
}

TEST_F(SdlMixerTest, TrackThatRanToItsEndStaysPlayingAndRewindsToPlayAgain) {
    TMediaPlayer player(*audio);
    player.SetFileName(WriteShortTrack(300));
    ASSERT_EQ(player.State(), TMPState::Stopped);
    EXPECT_NEAR(double(player.Duration()), 3000000.0, 20000.0);
    player.Play();
    for (int waited = 0; Mix_PlayingMusic() && waited < 3000; waited += 10) SDL_Delay(10);
    ASSERT_FALSE(Mix_PlayingMusic()) << "the mixer never finished the track";
    EXPECT_EQ(player.State(), TMPState::Playing);
    EXPECT_EQ(player.CurrentTime(), player.Duration());

    // The game's restart after the end: Stop, CurrentTime := 0, Play.
    player.Stop();
    player.SetCurrentTime(0);
    EXPECT_EQ(player.CurrentTime(), 0);
    player.Play();
    EXPECT_TRUE(Mix_PlayingMusic());
    EXPECT_LT(player.CurrentTime(), player.Duration());

    player.SetFileName(kSoundDir + "NoSuchTrack.mp3");  // closes the old one, stays silent
    EXPECT_FALSE(Mix_PlayingMusic());
    player.Play();
    EXPECT_EQ(player.State(), TMPState::Stopped);
    EXPECT_FALSE(Mix_PlayingMusic());
}

TEST_F(SdlMixerTest, SpeechFromAWorkerThreadIsMixedOnItsOwnChannel) {
    Mix_SetPostMix(CapturePeak, nullptr);
    // Three seconds at 48 kHz: long enough to be still playing when checked,
    // however slowly a loaded machine runs the loop below.
    std::vector<int16_t> voice(48000 * 3);
    for (size_t i = 0; i < voice.size(); ++i)
        voice[i] = int16_t(8000 * std::sin(2 * M_PI * 300.0 * double(i) / 48000));
    std::thread worker([&] {
        for (int i = 0; i < 20; ++i) audio->PlaySpeech(voice.data(), voice.size(), 48000);
    });
    for (int i = 0; i < 20; ++i) audio->PlayEffect(kSoundDir + "Pad_hit.wav", false);
    worker.join();
    ASSERT_TRUE(Mix_Playing(SdlAudio::kSpeechChannel));
    int64_t speechMs = int64_t(Mix_GetChunk(SdlAudio::kSpeechChannel)->alen) / 4 * 1000 / audio->DeviceRate();
    EXPECT_NEAR(double(speechMs), 3000.0, 5.0);  // resampled to the device rate, not cut
    Mix_HaltChannel(SdlAudio::kEffectChannel);
    gMixPeak = 0;
    EXPECT_TRUE(MixReaches(4000));
    audio->StopSpeech();
    EXPECT_FALSE(Mix_Playing(SdlAudio::kSpeechChannel));
    Mix_SetPostMix(nullptr, nullptr);
}

// The mix as heard: left channel of every mixed block while capturing.
std::mutex gCaptureMutex;
std::vector<int16_t> gCaptured;
bool gCapturing = false;
void SDLCALL CaptureMix(void*, Uint8* stream, int len) {
    std::lock_guard lock(gCaptureMutex);
    if (!gCapturing) return;
    auto* s = reinterpret_cast<const int16_t*>(stream);
    for (int i = 0; i + 1 < len / 2; i += 2) gCaptured.push_back(s[i]);
}
std::vector<int16_t> Capture(int ms) {
    {
        std::lock_guard lock(gCaptureMutex);
        gCaptured.clear();
        gCapturing = true;
    }
    SDL_Delay(ms);
    std::lock_guard lock(gCaptureMutex);
    gCapturing = false;
    return gCaptured;
}

// The voice over the loudest stage music: the music is lowered while speech
// plays, so that the voice stands at least 6 dB above it, and comes back after.
TEST_F(SdlMixerTest, SpeechStandsWellAboveTheLoudestMusic) {
    std::string voices[2] = {OpenJTalkSpeech::VoiceFile(TERAMON_BINARY_DIR, 0),
                             OpenJTalkSpeech::VoiceFile(TERAMON_BINARY_DIR, 1)};
    for (const std::string& v : voices)
        if (!std::filesystem::exists(v)) GTEST_SKIP() << "voices not installed";
    const int rate = audio->DeviceRate();
    Mix_SetPostMix(CaptureMix, nullptr);

    // The music as it plays, then while (silent) speech lowers it, then after.
    int64_t lengthMs = 0;
    ASSERT_TRUE(audio->Open(kSoundDir + "Stage2.mp3", lengthMs));
    audio->Play();
    SDL_Delay(300);
    double full = ActiveRmsDb(Capture(1000), rate);
    std::vector<int16_t> quiet(48000 * 2, 0);
    // Waits (real time, at most 3 s) until the music stands lowered by `db`.
    auto settlesAt = [](double db) {
        for (int waited = 0; waited < 3000; waited += 10) {
            if (std::abs(audio->MusicDuckDb() - db) < 0.01) return true;
            SDL_Delay(10);
        }
        return false;
    };
    audio->PlaySpeech(quiet.data(), quiet.size(), 48000);
    auto ducking = std::chrono::steady_clock::now();
    ASSERT_TRUE(settlesAt(SdlAudio::kSpeechDuckDb));
    // Quickly: three or four mixing blocks (each about 23 ms), more on a slow machine.
    EXPECT_LT(std::chrono::steady_clock::now() - ducking, std::chrono::milliseconds(1000));
    double lowered = ActiveRmsDb(Capture(1000), rate);
    audio->StopSpeech();
    ASSERT_TRUE(settlesAt(0.0));
    double after = ActiveRmsDb(Capture(500), rate);
    audio->Close();

    // Each voice alone, saying a whole answer.
    std::vector<BuiltInQuestion> rows = ParseQuestionTable(kBuiltInQuestionTable);
    NotationSynthesizer synth("", OpenJTalkSetup().dictionary, std::chrono::seconds(5));
    std::atomic<bool> cancel{false};
    double voice[2];
    for (int v : {0, 1}) {
        std::optional<SpeechPcm> pcm =
            synth.Synthesize(voices[v], rows[109].speech + "。" + rows[109].meaningSpeech, 1.0, cancel);
        ASSERT_TRUE(pcm);
        audio->PlaySpeech(pcm->samples.data(), pcm->samples.size(), pcm->sampleRate);
        int ms = int(pcm->samples.size() * 1000 / pcm->sampleRate);
        voice[v] = ActiveRmsDb(Capture(ms - 100), rate);
        audio->StopSpeech();
    }
    Mix_SetPostMix(nullptr, nullptr);
    std::printf("music %.1f dBFS, lowered %.1f, after %.1f; voices %.1f / %.1f dBFS\n", full, lowered,
                after, voice[0], voice[1]);
    EXPECT_NEAR(lowered - full, SdlAudio::kSpeechDuckDb, 2.0);
    EXPECT_NEAR(after, full, 2.0);
    for (int v : {0, 1}) EXPECT_GE(voice[v] - lowered, 6.0) << "voice " << v;
}

}  // namespace

namespace {
TEST(SdlAudioFallbackTest, WithoutADeviceItFallsBackToTheDummyDriverWithOneLineOnStderr) {
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    VirtualClock clock;
    ::testing::internal::CaptureStderr();
    {
        SdlAudio audio(clock);
        EXPECT_TRUE(audio.MixerOpen());
        EXPECT_TRUE(audio.Silent());
        audio.PlayEffect(kSoundDir + "Bleep.wav", true);  // still usable, just unheard
        EXPECT_GT(clock.NowMs(), 100000u);
    }
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("without sound"), std::string::npos) << err;
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}
}  // namespace
