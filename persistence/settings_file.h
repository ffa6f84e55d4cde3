#pragma once
// "Settei.ini": the player's three settings and, for a suspended score
// challenge, the texts of the additional questions on its board, so the board
// can be rebuilt even after the list of additional questions was edited.
#include <array>
#include <optional>
#include <string>

#include "persistence/atomic_file.h"

struct GameSettings {
    bool isSound = true;
    bool isMusic = true;
    int voiceMode = 0;  // 0 female, 1 male; other values are kept as they are
};

// The texts of one board slot. All empty for a built-in question.
struct SavedQuestionText {
    std::string jukugo, imi, yomi;  // UTF-8
    std::string speakMojiCp932;     // the speech text, code page 932 like the question lists
};
using SavedBoardTexts = std::array<SavedQuestionText, 4>;

// Start-up read. A missing or unreadable file, section or key gives the default;
// unreadable, when given, tells a file that exists but could not be read.
GameSettings ReadGameSettings(const std::string& path, bool* unreadable = nullptr);

// The write of a save: the four "Mondai" sections when board is given (score
// challenge), then "IsSound", "VoiceMode", "IsMusic". Every other section and
// key in the file stays. Returns false when nothing was written: the file could
// not be written, or it exists but could not be read (writing then would throw
// away what it holds). why, when given, receives the reason of a failure.
bool WriteSettingsOnSave(const std::string& path, const GameSettings& settings, const SavedBoardTexts* board,
                         WriteError* why = nullptr);

// The settings dialog's write of the voice alone.
bool WriteVoiceMode(const std::string& path, int voiceMode);

// The learning window's "review misses more often" option, section [Review]
// (off when the file, section or key is missing). Written only when the player
// changes it, so a file from a game that never touched it stays as it was.
bool ReadReviewOption(const std::string& path);
bool WriteReviewOption(const std::string& path, bool on);

// The question texts of the four "Mondai" sections; nothing when the file does
// not exist or cannot be read.
std::optional<SavedBoardTexts> ReadSavedBoardTexts(const std::string& path);
