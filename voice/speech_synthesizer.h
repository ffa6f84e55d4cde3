#pragma once
// Turns one line of text into speech samples. The real one runs the Open JTalk
// program; tests put in their own.
#include <atomic>
#include <chrono>
#include <optional>
#include <string>

#include "voice/wav_data.h"

class SpeechSynthesizer {
public:
    virtual ~SpeechSynthesizer() = default;
    // Whether the engine itself (program and dictionary) is there.
    virtual bool Ready() const = 0;
    // Synthesises `utf8Line` (one line, no newline) with the voice file at `rate`
    // (1.0 normal). Gives up when `cancel` becomes true. nullopt on any failure.
    virtual std::optional<SpeechPcm> Synthesize(const std::string& voiceFile,
                                                const std::string& utf8Line, double rate,
                                                const std::atomic<bool>& cancel) = 0;
};

// Runs `open_jtalk -x DIC -m VOICE -r RATE -ow OUT.wav` with the text on stdin,
// killing it when it overruns the timeout. Not for use from several threads.
class OpenJTalkEngine : public SpeechSynthesizer {
public:
    static constexpr const char* kDefaultDictionary = "/var/lib/mecab/dic/open-jtalk/naist-jdic";

    // enginePath empty: open_jtalk from PATH, else /usr/bin/open_jtalk. Reports each
    // missing piece with one line on stderr.
    OpenJTalkEngine(const std::string& enginePath, const std::string& dictionaryDir,
                    std::chrono::milliseconds timeout);
    ~OpenJTalkEngine() override;

    bool Ready() const override { return ready_; }
    std::optional<SpeechPcm> Synthesize(const std::string& voiceFile, const std::string& utf8Line,
                                        double rate, const std::atomic<bool>& cancel) override;

    const std::string& EnginePath() const { return engine_; }

private:
    std::string engine_;
    std::string dictionary_;
    std::chrono::milliseconds timeout_;
    bool ready_ = false;
};

// The open_jtalk program: found on PATH, else /usr/bin/open_jtalk; empty if neither.
std::string FindOpenJTalkProgram();
