#pragma once
// The game's voices, one row each. A voice is known everywhere by its place in
// this table (Settei.ini's voice number, the settings dialog's choice, the speech
// service's voice argument). Its files are <program folder>/<folder>/voice.htsvoice
// with the voice's licence files beside it; scripts/fetch_voices.sh fetches them and
// cmake/install.cmake installs them, each naming these same folders.
#include <array>
#include <cstddef>

struct VoiceRow {
    const char* folder;       // under the program folder
    const char* displayName;  // in the settings dialog
    const char* description;  // in messages on stderr
    const char* farewell;     // said after おつかれさまでした。, in our notation
};

inline constexpr std::array<VoiceRow, 2> kVoices = {{
    {"f1", "女声", "female", "またがんば'ってね。"},
    {"m1", "男声", "male", "また/がんば'ろお。"},
}};

constexpr int kVoiceCount = static_cast<int>(kVoices.size());
constexpr bool IsVoice(int voice) { return voice >= 0 && voice < kVoiceCount; }
