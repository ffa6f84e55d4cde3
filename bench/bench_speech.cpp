// Speech latency: from Speak to the first sample reaching the speech channel,
// for an utterance made on demand and for one prepared in advance.
// Needs the voices beside the program (scripts/fetch_voices.sh BUILD_DIR).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "platform/audio.h"
#include "platform/text_codec.h"
#include "voice/openjtalk_speech.h"

namespace {

using Clock = std::chrono::steady_clock;

// Notes when the first sample of each utterance arrives.
class TimingSink : public SpeechAudioSink {
public:
    void PlaySpeech(const int16_t*, size_t, int) override {
        std::lock_guard lock(mutex_);
        arrivals_.push_back(Clock::now());
        arrived_.notify_all();
    }
    void StopSpeech() override {}
    Clock::time_point WaitFor(size_t n) {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, std::chrono::seconds(10), [&] { return arrivals_.size() >= n; });
        return arrivals_.size() >= n ? arrivals_[n - 1] : Clock::now();
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Clock::time_point> arrivals_;
};

// The benchmark lives in the build folder, which is the game's program folder.
std::string ProgramFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

const std::string kTexts[] = {
    Utf8ToCp932("おつかれさまでした。またがんば'ってね。").value(),
    Utf8ToCp932("いちご/いち'え。。いっしょうにいちどのであい").value(),
};

void Report(benchmark::State& state, std::vector<double>& ms) {
    if (ms.empty()) return;
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["max_ms"] = ms.back();
}

void BM_SpeakOnDemand(benchmark::State& state) {
    TimingSink sink;
    OpenJTalkSetup setup;
    setup.programFolder = ProgramFolder();
    setup.cacheEntries = 1;  // alternating texts never find the other one cached
    OpenJTalkSpeech speech(setup, sink);
    if (!speech.VoiceAvailable(0)) return state.SkipWithError("voices not installed");
    std::vector<double> ms;
    size_t n = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        speech.Speak(0, kTexts[n % 2], 100);
        auto first = sink.WaitFor(++n);
        double seconds = std::chrono::duration<double>(first - start).count();
        state.SetIterationTime(seconds);
        ms.push_back(seconds * 1000);
    }
    Report(state, ms);
}

void BM_SpeakPrepared(benchmark::State& state) {
    TimingSink sink;
    OpenJTalkSpeech speech(ProgramFolder(), sink);
    if (!speech.VoiceAvailable(0)) return state.SkipWithError("voices not installed");
    for (const std::string& text : kTexts) speech.Prepare(0, text, 100);
    speech.WaitUntilIdle(std::chrono::seconds(10));
    std::vector<double> ms;
    size_t n = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        speech.Speak(0, kTexts[n % 2], 100);
        auto first = sink.WaitFor(++n);
        double seconds = std::chrono::duration<double>(first - start).count();
        state.SetIterationTime(seconds);
        ms.push_back(seconds * 1000);
    }
    Report(state, ms);
}

BENCHMARK(BM_SpeakOnDemand)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpeakPrepared)->UseManualTime()->Iterations(200)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
