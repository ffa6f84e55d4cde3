#pragma once
// The game's synthesiser: texts in our notation become full-context labels
// directly and are synthesised in-process with the HTS voice; a sentence that
// is ordinary Japanese (it holds kanji or other characters outside the
// notation) is analysed by Open JTalk and its labels synthesised the same way.
// Every utterance is finished to the same loudness, under full scale, with
// short quiet ends. Not for use from several threads at once.
#include <map>
#include <memory>

#include "voice/hts_voice.h"
#include "voice/openjtalk_labels.h"
#include "voice/speech_levels.h"
#include "voice/speech_synthesizer.h"

struct LabelRun {
    bool analysed = false;  // labels from Open JTalk's analysis, not from the notation
    std::string text;
    std::vector<std::string> labels;
};

class NotationSynthesizer : public SpeechSynthesizer {
public:
    // engine, dictionary and timeout are those of the Open JTalk program used for
    // ordinary text; without it such sentences are left out.
    NotationSynthesizer(const std::string& engine, const std::string& dictionary,
                        std::chrono::milliseconds timeout, SpeechLevels levels = {});

    bool Ready() const override { return true; }
    std::optional<SpeechPcm> Synthesize(const std::string& voiceFile, const std::string& utf8Line,
                                        double rate, const std::atomic<bool>& cancel) override;

    // The labels of each part of the text: runs of notation sentences, and runs
    // of ordinary sentences analysed by Open JTalk (its labels need a voice file
    // to run). An analysed run that failed is left out.
    std::vector<LabelRun> Labels(const std::string& voiceFile, const std::string& utf8Line,
                                 const std::atomic<bool>& cancel);

    // Gap between an idiom said from the notation and a meaning read by analysis.
    static constexpr int kRunGapMs = 250;

private:
    HtsVoice* Voice(const std::string& voiceFile);

    OpenJTalkLabeler labeler_;
    SpeechLevels levels_;
    std::map<std::string, std::unique_ptr<HtsVoice>> voices_;
};

// The text cut into sentences at "。" (each without it), grouped into runs of
// notation and runs of ordinary text, in order.
std::vector<std::pair<bool, std::string>> SplitIntoRuns(const std::string& utf8Line);
