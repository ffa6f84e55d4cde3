#pragma once
// The game's speech: the HTS voices of voices.h (a female and a male one) from the program
// folder, synthesised on one worker thread and played through the speech
// channel. Utterances prepared in advance start at once from a cache. The
// synthesiser turns our notation into labels in-process (NotationSynthesizer);
// the whole-text Open JTalk program path is kept for comparison and tests.
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/audio.h"
#include "voice/speech.h"
#include "voice/speech_synthesizer.h"
#include "voice/voices.h"

struct OpenJTalkSetup {
    std::string programFolder;  // holds each voice's folder (voices.h)
    // In-process synthesis from the notation; false: the open_jtalk program speaks
    // the whole text with the marks removed.
    bool inProcess = true;
    std::string engine;         // empty: open_jtalk on PATH, else /usr/bin/open_jtalk
    std::string dictionary = OpenJTalkEngine::kDefaultDictionary;
    std::chrono::milliseconds timeout{5000};  // an engine running longer is killed
    size_t cacheEntries = 64;
    size_t cacheBytes = 64u << 20;
};

// The sink is called from Speak (prepared utterances) or from the worker thread,
// with the service's lock held: it must not call back into the service.
class OpenJTalkSpeech : public SpeechService {
public:
    OpenJTalkSpeech(const std::string& programFolder, SpeechAudioSink& sink);
    OpenJTalkSpeech(const OpenJTalkSetup& setup, SpeechAudioSink& sink);
    // With a synthesiser of the caller's own in place of the engine program.
    OpenJTalkSpeech(const OpenJTalkSetup& setup, SpeechAudioSink& sink,
                    std::unique_ptr<SpeechSynthesizer> synthesizer);
    ~OpenJTalkSpeech() override;
    OpenJTalkSpeech(const OpenJTalkSpeech&) = delete;
    OpenJTalkSpeech& operator=(const OpenJTalkSpeech&) = delete;

    bool VoiceAvailable(int voice) const override;
    void Speak(int voice, const std::string& cp932Text, int speed) override;
    void Prepare(int voice, const std::string& cp932Text, int speed) override;

    // Waits until nothing is waiting to be synthesised or being synthesised.
    // Returns false when the time ran out first.
    bool WaitUntilIdle(std::chrono::milliseconds limit);

    // The voice file of a voice (its place in kVoices) under a program folder.
    static std::string VoiceFile(const std::string& programFolder, int voice);

private:
    struct Utterance {
        int voice = 0;
        int speed = 100;
        std::string text;  // one line, ready for the engine
        auto operator<=>(const Utterance&) const = default;
    };
    using Samples = std::shared_ptr<const SpeechPcm>;

    std::optional<Utterance> MakeUtterance(int voice, const std::string& cp932Text, int speed) const;
    Samples CachedLocked(const Utterance& u);
    void StoreLocked(const Utterance& u, Samples pcm);
    void PlayLocked(const SpeechPcm& pcm);
    void WorkerLoop();

    OpenJTalkSetup setup_;
    SpeechAudioSink& sink_;
    std::unique_ptr<SpeechSynthesizer> synthesizer_;
    std::array<std::string, kVoiceCount> voiceFiles_;
    std::array<bool, kVoiceCount> voiceAvailable_{};

    std::mutex mutex_;
    std::condition_variable wake_;      // the worker: new work or stop
    std::condition_variable idle_;      // WaitUntilIdle
    std::optional<Utterance> pendingSpeech_;  // the newest Speak not yet played
    std::deque<Utterance> toPrepare_;
    std::optional<Utterance> inProgress_;
    std::list<std::pair<Utterance, Samples>> cache_;  // most recently used first
    std::map<Utterance, decltype(cache_)::iterator> cacheIndex_;
    size_t cachedBytes_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread worker_;
};
