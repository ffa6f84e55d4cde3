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

private:
    struct Engine;
    std::unique_ptr<Engine> engine_;
    bool loaded_ = false;
    std::string file_;
};
