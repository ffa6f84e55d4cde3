#pragma once
// SDL2_mixer back end for effects, music and speech.
//
// Mixer channels: 0 = effects (one at a time for the whole process), 1 = speech.
// Music uses the mixer's music stream.
//
// Threads: effects and music are driven from the UI thread only. PlaySpeech and
// StopSpeech may come from a speech worker thread: they convert the samples on
// the caller's thread, then swap the speech chunk under speechMutex_. Every
// SDL_mixer call they make (halt, play, free chunk) takes the mixer's own audio
// device lock, so it cannot race the mixing callback or the UI thread's calls.
#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/audio.h"
#include "platform/clock.h"

class SdlAudio : public EffectPlayer, public MusicBackend, public SpeechAudioSink {
public:
    // Initialises SDL's audio subsystem and opens the mixer. Without a usable
    // device it retries with SDL's dummy driver (one line on stderr) and the game
    // runs silent. A synchronous effect waits on `clock` for its length.
    explicit SdlAudio(Clock& clock);
    ~SdlAudio() override;
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    bool MixerOpen() const { return mixerOpen_; }
    bool Silent() const { return silent_; }  // dummy driver or no mixer at all
    int DeviceRate() const { return deviceRate_; }

    // EffectPlayer
    void PlayEffect(const std::string& path, bool synchronous) override;
    // Length of a loaded effect in ms, 0 when it cannot be played.
    int64_t EffectLengthMs(const std::string& path);

    // MusicBackend
    bool Open(const std::string& path, int64_t& lengthMs) override;
    void Close() override;
    void Play() override;
    void Pause() override;
    void Rewind() override;
    int64_t PositionMs() override;

    // SpeechAudioSink
    void PlaySpeech(const int16_t* samples, size_t count, int sampleRate) override;
    void StopSpeech() override;

    static constexpr int kEffectChannel = 0;
    static constexpr int kSpeechChannel = 1;
    // The music's own volume, a little under the effects and the voice.
    static constexpr int kMusicVolume = MIX_MAX_VOLUME * 3 / 4;
    // While speech plays the music is lowered this far, quickly, and raised again
    // smoothly afterwards.
    static constexpr double kSpeechDuckDb = -12.0;
    static constexpr double kDuckAttackDbPerBlock = 4.0;
    static constexpr double kDuckReleaseDbPerBlock = 1.0;
    // How far the music is lowered at the moment (0 or down to kSpeechDuckDb).
    double MusicDuckDb() const { return duckDb_.load(); }

private:
    bool OpenMixer();
    Mix_Chunk* EffectChunk(const std::string& path);
    int64_t ChunkLengthMs(const Mix_Chunk* chunk) const;
    std::vector<Uint8> ConvertToDevice(const int16_t* samples, size_t count, int sampleRate) const;
    void ReleaseSpeechChunk();  // caller holds speechMutex_
    // Runs on the audio thread after each block is mixed: moves the music's
    // volume one step towards where the speech wants it.
    static void SDLCALL DuckStep(int channel, void* stream, int len, void* self);

    Clock& clock_;
    bool mixerOpen_ = false;
    bool silent_ = false;
    int deviceRate_ = 0;
    Uint16 deviceFormat_ = 0;
    int deviceChannels_ = 0;

    std::unordered_map<std::string, Mix_Chunk*> effects_;  // nullptr: cannot be played

    Mix_Music* music_ = nullptr;
    int64_t musicLengthMs_ = 0;
    bool musicStarted_ = false;  // Mix_PlayMusic has run since Open or a rewind at the end

    std::atomic<double> duckDb_{0.0};

    std::mutex speechMutex_;
    Mix_Chunk* speechChunk_ = nullptr;
    std::vector<Uint8> speechBuffer_;  // the samples speechChunk_ points into
};
