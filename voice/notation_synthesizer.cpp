#include "voice/notation_synthesizer.h"

#include <cmath>

#include "voice/full_context_labels.h"
#include "voice/notation.h"

std::vector<std::pair<bool, std::string>> SplitIntoRuns(const std::string& line) {
    static const std::string kStop = "。";
    std::vector<std::pair<bool, std::string>> runs;  // (is notation, text)
    size_t at = 0;
    while (at <= line.size()) {
        size_t stop = line.find(kStop, at);
        std::string sentence = line.substr(at, stop == std::string::npos ? std::string::npos : stop - at);
        at = stop == std::string::npos ? line.size() + 1 : stop + kStop.size();
        bool notation = IsNotation(sentence);
        // Empty sentences and ones holding only marks say nothing.
        if (notation) {
            std::optional<SpokenText> spoken = ParseNotation(sentence);
            if (!spoken || spoken->empty()) continue;
        } else if (sentence.find_first_not_of(" \t") == std::string::npos) {
            continue;
        }
        if (!runs.empty() && runs.back().first == notation) {
            runs.back().second += kStop + sentence;
        } else {
            runs.push_back({notation, sentence});
        }
    }
    for (auto& run : runs) run.second += kStop;
    return runs;
}

NotationSynthesizer::NotationSynthesizer(const std::string& engine, const std::string& dictionary,
                                         std::chrono::milliseconds timeout, SpeechLevels levels)
    : labeler_(engine, dictionary, timeout), levels_(levels) {}

HtsVoice* NotationSynthesizer::Voice(const std::string& voiceFile) {
    auto found = voices_.find(voiceFile);
    if (found != voices_.end()) return found->second.get();
    auto voice = std::make_unique<HtsVoice>();
    if (!voice->Load(voiceFile)) return nullptr;  // tried again next time: the file may appear
    return (voices_[voiceFile] = std::move(voice)).get();
}

std::vector<LabelRun> NotationSynthesizer::Labels(const std::string& voiceFile,
                                                  const std::string& utf8Line,
                                                  const std::atomic<bool>& cancel) {
    std::vector<LabelRun> out;
    for (auto& [notation, text] : SplitIntoRuns(utf8Line)) {
        LabelRun run;
        run.analysed = !notation;
        run.text = text;
        if (notation) {
            run.labels = FullContextLabels(*ParseNotation(text));
        } else if (auto labels = labeler_.Labels(text, voiceFile, cancel)) {
            run.labels = std::move(*labels);
        }
        if (!run.labels.empty()) out.push_back(std::move(run));
    }
    return out;
}

std::optional<SpeechPcm> NotationSynthesizer::Synthesize(const std::string& voiceFile,
                                                         const std::string& utf8Line, double rate,
                                                         const std::atomic<bool>& cancel) {
    HtsVoice* voice = Voice(voiceFile);
    if (!voice) return std::nullopt;
    const int sampleRate = voice->SampleRate();
    std::vector<double> all;
    for (const LabelRun& run : Labels(voiceFile, utf8Line, cancel)) {
        if (cancel) return std::nullopt;
        std::optional<std::vector<double>> samples = voice->Synthesize(run.labels, rate, &cancel);
        if (!samples) return std::nullopt;
        // Each run starts and ends in the voice's own silence: cut it, and put a
        // short gap between runs instead.
        size_t first = 0, end = samples->size();
        while (first < end && std::abs((*samples)[first]) < 100.0) ++first;
        while (end > first && std::abs((*samples)[end - 1]) < 100.0) --end;
        if (!all.empty()) all.insert(all.end(), size_t(sampleRate) * kRunGapMs / 1000, 0.0);
        all.insert(all.end(), samples->begin() + first, samples->begin() + end);
    }
    if (all.empty()) return std::nullopt;
    SpeechPcm pcm;
    pcm.sampleRate = sampleRate;
    pcm.samples = FinishSpeech(std::move(all), sampleRate, levels_);
    if (pcm.samples.empty()) return std::nullopt;
    return pcm;
}
