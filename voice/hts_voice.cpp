#include "voice/hts_voice.h"

#include <HTS_engine.h>

#include <algorithm>
#include <thread>

#include "voice/accent_contour.h"

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
    // Three steps, so that the pitch can be set to the accent marks between the
    // parameters and the waveform.
    bool ok = HTS_Engine_generate_state_sequence_from_strings(e, lines.data(), lines.size()) == TRUE &&
              HTS_Engine_generate_parameter_sequence(e) == TRUE;
    if (ok) {
        RememberLabelFrames(labels.size());
        if (accentShaping_) ShapePitch(labels);
        ok = HTS_Engine_generate_sample_sequence(e) == TRUE;
    }
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

void HtsVoice::RememberLabelFrames(size_t labels) {
    HTS_Engine* e = &engine_->hts;
    const size_t statesPerLabel = HTS_Engine_get_nstate(e);
    const size_t states = HTS_Engine_get_total_state(e);
    lastLabelFrames_.assign(labels, 0);
    for (size_t s = 0; s < states && statesPerLabel > 0; ++s) {
        const size_t label = s / statesPerLabel;
        if (label < labels) lastLabelFrames_[label] += HTS_Engine_get_state_duration(e, s);
    }
}

size_t HtsVoice::FramePeriod() const {
    return loaded_ ? HTS_Engine_get_fperiod(&engine_->hts) : 0;
}

// The log-F0 stream is the second one; it holds values for voiced frames only,
// in order, and its flags say which frames are voiced.
void HtsVoice::ShapePitch(const std::vector<std::string>& labels) {
    HTS_PStreamSet& streams = engine_->hts.pss;
    constexpr size_t kLogF0Stream = 1;
    if (streams.nstream <= kLogF0Stream) return;
    HTS_PStream& lf0 = streams.pstream[kLogF0Stream];
    if (!lf0.msd_flag || lf0.vector_length < 1) return;
    const size_t frames = streams.total_frame;
    std::vector<bool> voiced(frames);
    std::vector<double> logF0(frames, 0);
    size_t v = 0;
    for (size_t t = 0; t < frames; ++t) {
        voiced[t] = lf0.msd_flag[t] == TRUE && v < lf0.length;
        if (voiced[t]) logF0[t] = lf0.par[v++][0];
    }
    ShapeAccentContour(logF0, voiced, AccentMorae(labels, lastLabelFrames_));
    v = 0;
    for (size_t t = 0; t < frames; ++t)
        if (voiced[t]) lf0.par[v++][0] = logF0[t];
}
