#pragma once
// The two sound channels the game uses: one wave effect at a time, and one
// music track at a time. Back ends: SDL2_mixer (platform/sdl) and a recording
// back end for tests (tests/test_support/recording_audio.h).
#include <cstdint>
#include <string>

// Plays one effect at a time for the whole process: a new effect ends the one
// still playing. A missing or unplayable file is silent.
class EffectPlayer {
public:
    virtual ~EffectPlayer() = default;
    // Asynchronous: returns at once. Synchronous: returns when the sound has ended
    // (the UI thread is held; on a virtual clock the clock advances by its length).
    virtual void PlayEffect(const std::string& path, bool synchronous) = 0;
};

// What the media player needs from an audio back end for music.
class MusicBackend {
public:
    virtual ~MusicBackend() = default;
    // Opens a file (closing the previous one). Returns false when it cannot be
    // played; lengthMs is then 0.
    virtual bool Open(const std::string& path, int64_t& lengthMs) = 0;
    virtual void Close() = 0;
    virtual void Play() = 0;     // starts or continues playback
    virtual void Pause() = 0;    // stops playback, keeps the position
    virtual void Rewind() = 0;   // back to the beginning (also after the end)
    virtual int64_t PositionMs() = 0;
};

enum class TMPState { Unavailable = 0, Playing = 1, Stopped = 2 };

// The background-music player. It does not loop by itself, and its State stays
// Playing after the end of the file until Stop().
class TMediaPlayer {
public:
    explicit TMediaPlayer(MusicBackend& backend) : backend_(backend) {}
    // Closes the open file and opens the new one; State becomes Stopped.
    void SetFileName(const std::string& path);
    const std::string& FileName() const { return fileName_; }
    void Play();
    void Stop();
    TMPState State() const { return state_; }
    // Length and position in units of 100 ns.
    int64_t Duration() const { return durationHns_; }
    int64_t CurrentTime() const;
    void SetCurrentTime(int64_t hns);  // 0 rewinds

private:
    MusicBackend& backend_;
    std::string fileName_;
    TMPState state_ = TMPState::Unavailable;
    bool opened_ = false;
    int64_t durationHns_ = 0;
};

// Speech playback channel: PCM samples, mixed independently of effects and music.
class SpeechAudioSink {
public:
    virtual ~SpeechAudioSink() = default;
    // Plays 16-bit mono samples at the given rate, replacing any utterance still
    // playing. May be called from any thread.
    virtual void PlaySpeech(const int16_t* samples, size_t count, int sampleRate) = 0;
    virtual void StopSpeech() = 0;
};
