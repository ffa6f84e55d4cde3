#pragma once
// teramon2-say's command line, apart from the program so that its rules can be
// checked without speaking.
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "voice/voices.h"

struct SayOptions {
    int voice = 0;
    int speed = 100;
    std::string wavFile;
    bool labels = false;
    std::string text;               // when no question is named
    std::optional<int> question;    // --question N
};

// The usage lines, the voices listed from the voices table.
inline std::string SayUsage() {
    std::string usage =
        "usage: teramon2-say [--voice N] [--speed N] [--wav OUT.wav] [--labels] TEXT\n"
        "       teramon2-say [--voice N] [--speed N] [--wav OUT.wav] [--labels] --question N\n"
        "voices:";
    for (int v = 0; v < kVoiceCount; ++v)
        usage += std::string(v ? "," : "") + " " + std::to_string(v) + " " + kVoices[v].description;
    return usage + "\n";
}

// nullopt on anything the usage does not allow: an unknown option, a voice
// outside the voices table (0..voiceCount - 1), a speed of 0 or less, both or
// neither of TEXT and --question.
inline std::optional<SayOptions> ParseSayOptions(const std::vector<std::string>& args,
                                                 int voiceCount = kVoiceCount) {
    const auto number = [](const std::string& text) -> std::optional<int> {
        char* end = nullptr;
        const long v = std::strtol(text.c_str(), &end, 10);
        if (text.empty() || *end || v < -1000000 || v > 1000000) return std::nullopt;
        return static_cast<int>(v);
    };
    SayOptions o;
    bool haveText = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "--voice" || arg == "--speed" || arg == "--question" || arg == "--wav";
        if (takesValue && i + 1 >= args.size()) return std::nullopt;
        if (arg == "--voice" || arg == "--speed" || arg == "--question") {
            const std::optional<int> n = number(args[++i]);
            if (!n) return std::nullopt;
            (arg == "--voice" ? o.voice : arg == "--speed" ? o.speed : o.question.emplace()) = *n;
        } else if (arg == "--wav") {
            o.wavFile = args[++i];
        } else if (arg == "--labels") {
            o.labels = true;
        } else if (!haveText && (arg.empty() || arg[0] != '-')) {
            o.text = arg;
            haveText = true;
        } else {
            return std::nullopt;
        }
    }
    if (haveText == o.question.has_value() || o.voice < 0 || o.voice >= voiceCount || o.speed <= 0)
        return std::nullopt;
    return o;
}
