// Speech latency: from Speak to the first sample reaching the speech channel,
// for an utterance made on demand and for one prepared in advance; and the time
// to synthesise one whole correct-answer utterance in-process (labels from the
// notation, HTS engine) against the Open JTalk program path.
// Needs the voices beside the program (scripts/fetch_voices.sh BUILD_DIR).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "platform/audio.h"
#include "platform/text_codec.h"
#include "platform/user_folders.h"
#include "game/question_table.h"
#include "voice/notation_synthesizer.h"
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

// Idiom and meaning of built-in question 109, as said after a correct answer.
std::string AnswerText() {
    std::vector<BuiltInQuestion> rows = ParseQuestionTable(kBuiltInQuestionTable);
    return rows[109].speech + "。" + rows[109].meaningSpeech;
}

void TimeSynthesis(benchmark::State& state, SpeechSynthesizer& synth) {
    const std::string voice = OpenJTalkSpeech::VoiceFile(ProgramFolder(), 0);
    const std::string text = AnswerText();
    std::atomic<bool> cancel{false};
    if (!synth.Synthesize(voice, text, 1.0, cancel)) return state.SkipWithError("no speech");
    // CPU time of this process and of the programs it ran: on a shared machine
    // the wall time mostly measures the neighbours.
    auto cpuMs = [] {
        double total = 0;
        for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
            rusage u{};
            getrusage(who, &u);
            total += (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 +
                     (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
        }
        return total;
    };
    std::vector<double> ms, cpu;
    for (auto _ : state) {
        double cpuBefore = cpuMs();
        auto start = Clock::now();
        auto pcm = synth.Synthesize(voice, text, 1.0, cancel);
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        cpu.push_back(cpuMs() - cpuBefore);
        benchmark::DoNotOptimize(pcm);
        state.SetIterationTime(seconds);
        ms.push_back(seconds * 1000);
    }
    Report(state, ms);
    std::sort(cpu.begin(), cpu.end());
    state.counters["median_cpu_ms"] = cpu[cpu.size() / 2];
}

void BM_AnswerInProcess(benchmark::State& state) {
    OpenJTalkSetup setup;
    NotationSynthesizer synth(setup.engine, setup.dictionary, setup.timeout);
    TimeSynthesis(state, synth);
}

void BM_AnswerOpenJTalkProcess(benchmark::State& state) {
    OpenJTalkSetup setup;
    OpenJTalkEngine synth(setup.engine, setup.dictionary, setup.timeout);
    TimeSynthesis(state, synth);
}

BENCHMARK(BM_AnswerInProcess)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnswerOpenJTalkProcess)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpeakOnDemand)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpeakPrepared)->UseManualTime()->Iterations(200)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
