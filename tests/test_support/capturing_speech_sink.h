#pragma once
// A speech channel for tests: keeps every utterance's samples and lets a test
// wait for the next one.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/audio.h"

class CapturingSpeechSink : public SpeechAudioSink {
public:
    struct Played {
        std::vector<int16_t> samples;
        int sampleRate = 0;
        std::chrono::steady_clock::time_point at;
    };

    void PlaySpeech(const int16_t* samples, size_t count, int sampleRate) override {
        std::lock_guard lock(mutex_);
        played_.push_back({std::vector<int16_t>(samples, samples + count), sampleRate,
                           std::chrono::steady_clock::now()});
        arrived_.notify_all();
    }
    void StopSpeech() override {}

    std::vector<Played> played() const {
        std::lock_guard lock(mutex_);
        return played_;
    }
    size_t count() const {
        std::lock_guard lock(mutex_);
        return played_.size();
    }
    // Waits until at least n utterances have arrived.
    bool WaitFor(size_t n, std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, limit, [&] { return played_.size() >= n; });
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Played> played_;
};
