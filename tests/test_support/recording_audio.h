#pragma once
// Audio back ends for tests and benchmarks: they play nothing, record what
// was asked of them, and keep time on the game's Clock.
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/clock.h"

// Length of a PCM wave file in milliseconds from its header; 0 when the file is
// missing or not a wave file we understand.
int64_t WaveFileLengthMs(const std::string& path);

// Records every effect and keeps the one-effect-at-a-time rule: a new effect cuts
// the one still sounding. A synchronous effect waits on the clock for its length.
class RecordingEffectPlayer : public EffectPlayer {
public:
    struct Played {
        std::string path;
        bool synchronous = false;
        uint32_t startMs = 0;
        int64_t lengthMs = 0;
        bool cutShort = false;  // a later effect started before this one ended
    };

    explicit RecordingEffectPlayer(Clock& clock) : clock_(clock) {}

    void PlayEffect(const std::string& path, bool synchronous) override;

    // Overrides the length of a file (otherwise read from its wave header).
    void SetLength(const std::string& path, int64_t lengthMs) { lengths_[path] = lengthMs; }
    const std::vector<Played>& played() const { return played_; }
    void Clear() { played_.clear(); }
    // The effect heard at the clock's current time, or "" when all is quiet.
    std::string Audible() const;

private:
    int64_t LengthOf(const std::string& path);
    bool Sounding(const Played& p) const;

    Clock& clock_;
    std::map<std::string, int64_t> lengths_;
    std::vector<Played> played_;
};

// Music back end with lengths set by the test. The position follows the clock
// while playing and stops at the end of the track.
class FakeMusicBackend : public MusicBackend {
public:
    explicit FakeMusicBackend(Clock& clock) : clock_(clock) {}

    // Makes path openable with the given length; unknown paths cannot be opened.
    void SetTrack(const std::string& path, int64_t lengthMs) { tracks_[path] = lengthMs; }

    bool Open(const std::string& path, int64_t& lengthMs) override;
    void Close() override;
    void Play() override;
    void Pause() override;
    void Rewind() override;
    int64_t PositionMs() override;

    const std::string& openPath() const { return openPath_; }
    // True while a track is running and has not yet reached its end.
    bool Audible();
    int playCalls() const { return playCalls_; }

private:
    Clock& clock_;
    std::map<std::string, int64_t> tracks_;
    std::string openPath_;
    bool open_ = false;
    bool running_ = false;
    int64_t lengthMs_ = 0;
    int64_t basePosMs_ = 0;      // position when last started or paused
    uint32_t runningSinceMs_ = 0;
    int playCalls_ = 0;
};

// Records utterances handed to the speech channel. Thread safe like the real one.
class RecordingSpeechSink : public SpeechAudioSink {
public:
    struct Utterance {
        size_t sampleCount = 0;
        int sampleRate = 0;
    };
    void PlaySpeech(const int16_t* samples, size_t count, int sampleRate) override;
    void StopSpeech() override;
    std::vector<Utterance> utterances() const;
    int stopCalls() const;

private:
    mutable std::mutex mutex_;
    std::vector<Utterance> utterances_;
    int stopCalls_ = 0;
};
