// The music player's state rules and the recording effect player, on the virtual clock.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "platform/audio.h"
#include "tests/test_support/recording_audio.h"

namespace {

class MediaPlayerTest : public ::testing::Test {
protected:
    VirtualClock clock;
    FakeMusicBackend backend{clock};
    TMediaPlayer player{backend};
    void SetUp() override {
        backend.SetTrack("Stage1.mp3", 95600);
        backend.SetTrack("parade.mp3", 30000);
    }
};

TEST_F(MediaPlayerTest, StateRunsUnavailableStoppedPlayingAndStaysPlayingAfterTheEnd) {
    EXPECT_EQ(player.State(), TMPState::Unavailable);
    EXPECT_EQ(player.Duration(), 0);
    player.Play();  // no file: nothing happens
    player.Stop();
    EXPECT_EQ(player.State(), TMPState::Unavailable);
    EXPECT_EQ(backend.playCalls(), 0);

    player.SetFileName("Stage1.mp3");
    EXPECT_EQ(player.State(), TMPState::Stopped);
    EXPECT_EQ(player.Duration(), 956000000);  // 95.6 s in 100-ns units
    EXPECT_EQ(player.CurrentTime(), 0);

    player.Play();
    EXPECT_EQ(player.State(), TMPState::Playing);
    clock.Advance(1500);
    EXPECT_EQ(player.CurrentTime(), 15000000);

    clock.Advance(200000);  // far past the end of the track
    EXPECT_EQ(player.State(), TMPState::Playing);
    EXPECT_EQ(player.CurrentTime(), player.Duration());
    EXPECT_FALSE(backend.Audible());

    player.Stop();
    EXPECT_EQ(player.State(), TMPState::Stopped);
}

TEST_F(MediaPlayerTest, RewindAfterTheEndPlaysTheTrackAgainFromTheStart) {
    player.SetFileName("Stage1.mp3");
    player.Play();
    clock.Advance(96000);
    ASSERT_FALSE(backend.Audible());

    // The game's restart: Stop, CurrentTime := 0, Play.
    player.Stop();
    player.SetCurrentTime(0);
    EXPECT_EQ(player.CurrentTime(), 0);
    player.Play();
    EXPECT_TRUE(backend.Audible());
    clock.Advance(2000);
    EXPECT_EQ(player.CurrentTime(), 20000000);

    // Rewinding without Stop while the player is Playing keeps it playing.
    clock.Advance(100000);
    player.SetCurrentTime(0);
    EXPECT_EQ(player.State(), TMPState::Playing);
    EXPECT_TRUE(backend.Audible());
    EXPECT_EQ(player.CurrentTime(), 0);
}

TEST_F(MediaPlayerTest, NewFileNameEndsThePlaybackAndStartsTheNewFileFromItsBeginning) {
    player.SetFileName("Stage1.mp3");
    player.Play();
    clock.Advance(5000);
    player.SetFileName("parade.mp3");
    EXPECT_EQ(player.State(), TMPState::Stopped);
    EXPECT_FALSE(backend.Audible());
    EXPECT_EQ(player.Duration(), 300000000);
    player.Play();
    EXPECT_EQ(backend.openPath(), "parade.mp3");
    EXPECT_EQ(player.CurrentTime(), 0);
    EXPECT_TRUE(backend.Audible());
}

TEST_F(MediaPlayerTest, UnplayableFileStaysSilentAndStopped) {
    player.SetFileName("Stage1.mp3");
    player.Play();
    player.SetFileName("missing.mp3");
    EXPECT_EQ(player.State(), TMPState::Stopped);
    EXPECT_EQ(player.Duration(), 0);
    EXPECT_FALSE(backend.Audible());  // the old track was closed

    int callsBefore = backend.playCalls();
    player.Play();
    player.SetCurrentTime(0);
    EXPECT_EQ(player.State(), TMPState::Stopped);  // so the game never "restarts" it
    EXPECT_EQ(backend.playCalls(), callsBefore);
    EXPECT_EQ(player.CurrentTime(), 0);
    player.Stop();
    EXPECT_EQ(player.State(), TMPState::Stopped);
}

// ---- effects ----

// A 16-bit stereo 44.1 kHz wave file of the given number of frames.
void WriteWave(const std::string& path, uint32_t frames) {
    auto le32 = [](std::ofstream& o, uint32_t v) { for (int i = 0; i < 4; ++i) o.put(char(v >> (8 * i))); };
    auto le16 = [](std::ofstream& o, uint16_t v) { o.put(char(v)); o.put(char(v >> 8)); };
    std::ofstream o(path, std::ios::binary);
    uint32_t dataBytes = frames * 4;
    o.write("RIFF", 4); le32(o, 36 + 8 + 4 + dataBytes); o.write("WAVE", 4);
    o.write("LIST", 4); le32(o, 4); o.write("INFO", 4);  // an extra chunk to skip
    o.write("fmt ", 4); le32(o, 16); le16(o, 1); le16(o, 2); le32(o, 44100); le32(o, 44100 * 4);
    le16(o, 4); le16(o, 16);
    o.write("data", 4); le32(o, dataBytes);
    std::vector<char> zeros(dataBytes);
    o.write(zeros.data(), zeros.size());
}

TEST(RecordingEffectPlayerTest, SynchronousEffectHoldsTheClockForTheSoundsLength) {
    std::string wav = ::testing::TempDir() + "/chime_test.wav";
    WriteWave(wav, 44100 * 3 / 4);  // 750 ms
    EXPECT_EQ(WaveFileLengthMs(wav), 750);

    VirtualClock clock(5000);
    RecordingEffectPlayer effects(clock);
    effects.PlayEffect(wav, true);
    EXPECT_EQ(clock.NowMs(), 5750u);
    effects.PlayEffect(wav, false);  // asynchronous: returns at once
    EXPECT_EQ(clock.NowMs(), 5750u);

    effects.SetLength("jingle.wav", 1800);  // a table the test sets wins over the file
    effects.PlayEffect("jingle.wav", true);
    EXPECT_EQ(clock.NowMs(), 7550u);

    effects.PlayEffect("/no/such/file.wav", true);  // missing: silent, no wait
    EXPECT_EQ(clock.NowMs(), 7550u);
    EXPECT_EQ(effects.Audible(), "");
    ASSERT_EQ(effects.played().size(), 4u);
    EXPECT_EQ(effects.played()[3].lengthMs, 0);
    std::remove(wav.c_str());
}

TEST(RecordingEffectPlayerTest, OnlyOneEffectAtATimeTheLaterCutsTheEarlier) {
    VirtualClock clock;
    RecordingEffectPlayer effects(clock);
    effects.SetLength("Pad_hit.wav", 200);
    effects.SetLength("Block_hit.wav", 300);
    effects.PlayEffect("Pad_hit.wav", false);
    effects.PlayEffect("Block_hit.wav", false);  // same frame tick
    EXPECT_EQ(effects.Audible(), "Block_hit.wav");
    clock.Advance(250);
    EXPECT_EQ(effects.Audible(), "Block_hit.wav");
    clock.Advance(100);
    EXPECT_EQ(effects.Audible(), "");
    ASSERT_EQ(effects.played().size(), 2u);
    EXPECT_TRUE(effects.played()[0].cutShort);
    EXPECT_FALSE(effects.played()[1].cutShort);

    // An effect that has already ended is not cut by the next one.
    effects.PlayEffect("Pad_hit.wav", false);
    EXPECT_FALSE(effects.played()[1].cutShort);
}

}  // namespace
