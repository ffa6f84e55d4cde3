// A program folder without pictures, sounds, music or voices, no MeCab
// dictionary and no audio device: the game still starts and plays, silently
// where it must.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/sdl/sdl_audio.h"
#include "tests/faults/fault_game.h"
#include "tests/test_support/capturing_speech_sink.h"
#include "voice/mecab_reading.h"
#include "voice/openjtalk_speech.h"

namespace fs = std::filesystem;
using fault_test::FaultGame;

namespace {

TEST(MissingAssets, GameStartsAndPlaysWithoutDataVoicesOrDictionary) {
    FaultGame g;
    fs::remove(fs::path(g.programFolder) / "Data");  // the fixture's link to the pictures and sounds
    ASSERT_FALSE(fs::exists(fs::path(g.programFolder) / "Data" / "Png"));

    CapturingSpeechSink sink;
    OpenJTalkSpeech speech(g.programFolder, sink);  // no f1/ m1/ under the program folder
    MecabReading reading("/nonexistent/mecab/dic");
    FakeMusicBackend music(g.clock);  // knows no track: every Open fails
    g.Restart(std::unique_ptr<GameServices>(new GameServices{g.app, g.random, g.effects, music, speech, reading,
                                                             g.input, g.host, g.programFolder, g.documentsFolder}));
    g.f().Sound().IsSound = true;
    g.f().Sound().IsMusic = true;
    EXPECT_FALSE(g.f().Sound().VoiceReady[0] || g.f().Sound().VoiceReady[1]);
    EXPECT_FALSE(reading.Available());
    EXPECT_EQ(reading.ReadingOf("一石二鳥"), "");

    g.steering = true;  // aim at the gap, so answers, speech and music changes happen
    g.PlayABoard();
    g.Play(60000, [&] {
        if (g.f().GameBoard().MovingBallNo() == -1 && !g.f().CountdownRuns()) g.Key(VK_SHIFT_KEY);
    });
    EXPECT_GT(g.effects.played().size(), 0u) << "the game asked for no effect at all";
    EXPECT_TRUE(g.f().GameProgress().MondaiCount() > 1 || g.f().GameProgress().GameOver()) << "no board was finished in a minute of play";
    EXPECT_TRUE(sink.played().empty());

    // A continued game loads its pictures from the missing folder as well.
    g.MinimiseAndSave();
    g.Restart();
    g.Char(u'y');
    g.Char(u'a');
    g.Play(3000);
    g.form.reset();  // before the services declared after the game go
}

TEST(MissingAssets, SdlAudioPlaysNothingForMissingFilesAndKeepsTime) {
    VirtualClock clock;
    SdlAudio audio(clock);
    const uint32_t before = clock.NowMs();
    audio.PlayEffect("/nonexistent/Data/Sound/Down.wav", true);
    audio.PlayEffect("/nonexistent/Data/Sound/Bleep.wav", false);
    EXPECT_EQ(audio.EffectLengthMs("/nonexistent/Data/Sound/Down.wav"), 0);
    EXPECT_LT(clock.NowMs() - before, 100u) << "a missing synchronous effect held the game";
    int64_t length = -1;
    EXPECT_FALSE(audio.Open("/nonexistent/Data/Sound/Stage1.mp3", length));
    audio.Play();  // nothing open: nothing happens
    audio.Rewind();
    EXPECT_EQ(audio.PositionMs(), 0);
}

TEST(NoAudioDevice, SdlAudioFallsBackToSilence) {
    const char* saved = std::getenv("SDL_AUDIODRIVER");
    const std::string restore = saved ? saved : "";
    setenv("SDL_AUDIODRIVER", "no_such_audio_driver", 1);
    {
        VirtualClock clock;
        SdlAudio audio(clock);
        EXPECT_TRUE(audio.Silent());
        audio.PlayEffect(TERAMON_SOURCE_DIR "/Data/Sound/Down.wav", false);
        int64_t length = 0;
        audio.Open(TERAMON_SOURCE_DIR "/Data/Sound/Stage1.mp3", length);
        audio.Play();
    }
    if (saved) setenv("SDL_AUDIODRIVER", restore.c_str(), 1); else unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
