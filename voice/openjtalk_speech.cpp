#include "voice/openjtalk_speech.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/text_codec.h"
#include "platform/user_folders.h"
#include "voice/notation_synthesizer.h"
#include "voice/speech_text.h"

namespace {

// Prepared utterances waiting their turn; older requests give way to newer ones.
constexpr size_t kMaxPrepareQueue = 64;

double EngineRate(int speed) {
    // 100 is normal speed; keep absurd values within what the engine accepts.
    return std::clamp(speed, 50, 200) / 100.0;
}

}  // namespace

std::string OpenJTalkSpeech::VoiceFile(const std::string& programFolder, int voice) {
    return WithTrailingSlash(programFolder) + (IsVoice(voice) ? kVoices[voice].folder : "none") + "/voice.htsvoice";
}

namespace {
OpenJTalkSetup DefaultSetup(const std::string& programFolder) {
    OpenJTalkSetup setup;
    setup.programFolder = programFolder;
    return setup;
}
}  // namespace

OpenJTalkSpeech::OpenJTalkSpeech(const std::string& programFolder, SpeechAudioSink& sink)
    : OpenJTalkSpeech(DefaultSetup(programFolder), sink) {}

namespace {
std::unique_ptr<SpeechSynthesizer> MakeSynthesizer(const OpenJTalkSetup& setup) {
    if (setup.inProcess)
        return std::make_unique<NotationSynthesizer>(setup.engine, setup.dictionary, setup.timeout);
    return std::make_unique<OpenJTalkEngine>(setup.engine, setup.dictionary, setup.timeout);
}
}  // namespace

OpenJTalkSpeech::OpenJTalkSpeech(const OpenJTalkSetup& setup, SpeechAudioSink& sink)
    : OpenJTalkSpeech(setup, sink, MakeSynthesizer(setup)) {}

OpenJTalkSpeech::OpenJTalkSpeech(const OpenJTalkSetup& setup, SpeechAudioSink& sink,
                                 std::unique_ptr<SpeechSynthesizer> synthesizer)
    : setup_(setup), sink_(sink), synthesizer_(std::move(synthesizer)) {
    bool engineReady = synthesizer_ && synthesizer_->Ready();
    for (int v = 0; v < kVoiceCount; ++v) {
        voiceFiles_[v] = VoiceFile(setup_.programFolder, v);
        std::error_code ec;
        bool present = std::filesystem::is_regular_file(voiceFiles_[v], ec);
        if (!present) {
            std::fprintf(stderr, "speech: the %s voice %s is missing; that voice is silent\n",
                         kVoices[v].description, voiceFiles_[v].c_str());
        }
        voiceAvailable_[v] = engineReady && present;
    }
    if (std::find(voiceAvailable_.begin(), voiceAvailable_.end(), true) != voiceAvailable_.end()) {
        worker_ = std::thread([this] { WorkerLoop(); });
    }
}

OpenJTalkSpeech::~OpenJTalkSpeech() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;  // also makes a running engine be killed at once
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

bool OpenJTalkSpeech::VoiceAvailable(int voice) const {
    return IsVoice(voice) && voiceAvailable_[voice];
}

std::optional<OpenJTalkSpeech::Utterance> OpenJTalkSpeech::MakeUtterance(
    int voice, const std::string& cp932Text, int speed) const {
    if (!VoiceAvailable(voice)) return std::nullopt;
    std::optional<std::string> utf8 = Cp932ToUtf8(cp932Text);
    if (!utf8) return std::nullopt;
    // The first line, marks and all: the synthesiser reads them.
    std::string line = utf8->substr(0, utf8->find_first_of("\r\n"));
    if (NotationToOpenJTalkText(line).empty()) return std::nullopt;  // marks only
    return Utterance{voice, speed, std::move(line)};
}

void OpenJTalkSpeech::Speak(int voice, const std::string& cp932Text, int speed) {
    std::optional<Utterance> u = MakeUtterance(voice, cp932Text, speed);
    if (!u) return;
    std::lock_guard lock(mutex_);
    if (Samples pcm = CachedLocked(*u)) {
        pendingSpeech_.reset();  // an older utterance still being made must not follow
        PlayLocked(*pcm);
        return;
    }
    // Replaces a pending one; when u is being made right now the worker plays it
    // as soon as it is done.
    pendingSpeech_ = std::move(u);
    wake_.notify_one();
}

void OpenJTalkSpeech::Prepare(int voice, const std::string& cp932Text, int speed) {
    std::optional<Utterance> u = MakeUtterance(voice, cp932Text, speed);
    if (!u) return;
    std::lock_guard lock(mutex_);
    if (CachedLocked(*u)) return;  // kept, now as the most recently wanted
    if (inProgress_ == u ||
        std::find(toPrepare_.begin(), toPrepare_.end(), *u) != toPrepare_.end()) {
        return;
    }
    if (toPrepare_.size() >= kMaxPrepareQueue) toPrepare_.pop_front();
    toPrepare_.push_back(std::move(*u));
    wake_.notify_one();
}

bool OpenJTalkSpeech::WaitUntilIdle(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, limit, [this] {
        return !pendingSpeech_ && toPrepare_.empty() && !inProgress_;
    });
}

OpenJTalkSpeech::Samples OpenJTalkSpeech::CachedLocked(const Utterance& u) {
    auto found = cacheIndex_.find(u);
    if (found == cacheIndex_.end()) return nullptr;
    cache_.splice(cache_.begin(), cache_, found->second);  // now the most recently used
    return found->second->second;
}

void OpenJTalkSpeech::StoreLocked(const Utterance& u, Samples pcm) {
    if (cacheIndex_.count(u)) return;
    cachedBytes_ += pcm->samples.size() * sizeof(int16_t);
    cache_.emplace_front(u, std::move(pcm));
    cacheIndex_[u] = cache_.begin();
    while (cache_.size() > 1 &&
           (cache_.size() > setup_.cacheEntries || cachedBytes_ > setup_.cacheBytes)) {
        cachedBytes_ -= cache_.back().second->samples.size() * sizeof(int16_t);
        cacheIndex_.erase(cache_.back().first);
        cache_.pop_back();
    }
}

void OpenJTalkSpeech::PlayLocked(const SpeechPcm& pcm) {
    // Under the lock, so that a newer utterance can never be overtaken by an older one.
    sink_.PlaySpeech(pcm.samples.data(), pcm.samples.size(), pcm.sampleRate);
}

void OpenJTalkSpeech::WorkerLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || pendingSpeech_ || !toPrepare_.empty(); });
        if (stopping_) return;

        Utterance job;
        if (pendingSpeech_) {
            job = *pendingSpeech_;
            if (Samples pcm = CachedLocked(job)) {  // made meanwhile as a prepared one
                pendingSpeech_.reset();
                PlayLocked(*pcm);
                idle_.notify_all();
                continue;
            }
        } else {
            job = std::move(toPrepare_.front());
            toPrepare_.pop_front();
            if (cacheIndex_.count(job)) {
                idle_.notify_all();
                continue;
            }
        }
        inProgress_ = job;
        lock.unlock();

        std::optional<SpeechPcm> made =
            synthesizer_->Synthesize(voiceFiles_[job.voice], job.text, EngineRate(job.speed), stopping_);

        lock.lock();
        inProgress_.reset();
        bool wanted = pendingSpeech_ == job;
        if (wanted) pendingSpeech_.reset();  // failed or not, this request is settled
        if (made) {
            auto pcm = std::make_shared<const SpeechPcm>(std::move(*made));
            StoreLocked(job, pcm);
            if (wanted) PlayLocked(*pcm);
        }
        idle_.notify_all();
    }
}
