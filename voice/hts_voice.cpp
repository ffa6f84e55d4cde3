#include "voice/hts_voice.h"

#include <HTS_engine.h>

#include <algorithm>
#include <thread>

struct HtsVoice::Engine {
    HTS_Engine hts;
};

HtsVoice::HtsVoice() : engine_(std::make_unique<Engine>()) { HTS_Engine_initialize(&engine_->hts); }

HtsVoice::~HtsVoice() { HTS_Engine_clear(&engine_->hts); }

bool HtsVoice::Load(const std::string& voiceFile) {
    HTS_Engine_clear(&engine_->hts);
    HTS_Engine_initialize(&engine_->hts);
    std::string path = voiceFile;
    char* voices[] = {path.data()};
    loaded_ = HTS_Engine_load(&engine_->hts, voices, 1) == TRUE;
    file_ = loaded_ ? voiceFile : std::string();
    if (!loaded_) {
        HTS_Engine_clear(&engine_->hts);
        HTS_Engine_initialize(&engine_->hts);
    }
    return loaded_;
}

int HtsVoice::SampleRate() const {
    return loaded_ ? static_cast<int>(HTS_Engine_get_sampling_frequency(&engine_->hts)) : 0;
}

std::optional<std::vector<double>> HtsVoice::Synthesize(const std::vector<std::string>& labels,
                                                        double rate, const std::atomic<bool>* cancel) {
    if (!loaded_ || labels.empty()) return std::nullopt;
    HTS_Engine* e = &engine_->hts;
    HTS_Engine_set_speed(e, std::clamp(rate, 0.5, 2.0));
    HTS_Engine_set_stop_flag(e, FALSE);
    std::vector<std::string> copies(labels);
    std::vector<char*> lines;
    for (std::string& l : copies) lines.push_back(l.data());

    // The engine checks its stop flag while it works; a watcher sets it when the
    // caller cancels.
    std::atomic<bool> done{false};
    std::thread watcher;
    if (cancel) {
        watcher = std::thread([&] {
            while (!done.load()) {
                if (cancel->load()) {
                    HTS_Engine_set_stop_flag(e, TRUE);
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
    }
    bool ok = HTS_Engine_synthesize_from_strings(e, lines.data(), lines.size()) == TRUE;
    done = true;
    if (watcher.joinable()) watcher.join();
    std::optional<std::vector<double>> out;
    if (ok && !(cancel && cancel->load())) {
        size_t n = HTS_Engine_get_nsamples(e);
        std::vector<double> samples(n);
        for (size_t i = 0; i < n; ++i) samples[i] = HTS_Engine_get_generated_speech(e, i);
        if (n > 0) out = std::move(samples);
    }
    HTS_Engine_refresh(e);
    return out;
}
