#pragma once
// One HTS voice loaded in-process: full-context labels in, 48 kHz samples out.
// Not for use from several threads at once.
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class HtsVoice {
public:
    HtsVoice();
    ~HtsVoice();
    HtsVoice(const HtsVoice&) = delete;
    HtsVoice& operator=(const HtsVoice&) = delete;

    // Loads an .htsvoice file (the previous one is dropped). False when it cannot
    // be read as a voice.
    bool Load(const std::string& voiceFile);
    bool Loaded() const { return loaded_; }
    const std::string& File() const { return file_; }
    int SampleRate() const;

    // Samples in 16-bit units (not yet limited to the 16-bit range) for the labels
    // at `rate` (1.0 normal, 1.1 a little faster). nullopt on failure or when
    // `cancel` turned true while it ran.
    std::optional<std::vector<double>> Synthesize(const std::vector<std::string>& labels,
                                                  double rate, const std::atomic<bool>* cancel = nullptr);

    // The pitch is set to the accent marks of the labels (on by default); off
    // leaves the voice's own pitch, for comparisons.
    void SetAccentShaping(bool on) { accentShaping_ = on; }

    // Of the last synthesis: frames each label lasted, and samples per frame.
    const std::vector<size_t>& LastLabelFrames() const { return lastLabelFrames_; }
    size_t FramePeriod() const;

private:
    void RememberLabelFrames(size_t labels);
    void ShapePitch(const std::vector<std::string>& labels);

    struct Engine;
    std::unique_ptr<Engine> engine_;
    bool loaded_ = false;
    std::string file_;
    bool accentShaping_ = true;
    std::vector<size_t> lastLabelFrames_;
};
