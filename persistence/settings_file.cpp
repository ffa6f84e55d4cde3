#include "persistence/settings_file.h"

#include "persistence/ini_file.h"
#include "platform/text_codec.h"

namespace {

std::string MondaiSection(int slot) { return "Mondai" + std::to_string(slot); }

// Opens the file for a write: missing is an empty file; unreadable is no file
// to write over.
std::optional<IniFile> OpenForWrite(const std::string& path) {
    IniLoad load = LoadIniFile(path);
    if (load.status == ReadStatus::Failed) return std::nullopt;
    return std::move(load.ini);
}

}  // namespace

GameSettings ReadGameSettings(const std::string& path, bool* unreadable) {
    GameSettings settings;
    IniLoad load = LoadIniFile(path);
    if (unreadable) *unreadable = load.status == ReadStatus::Failed;
    if (load.status != ReadStatus::Ok) return settings;
    settings.isSound = load.ini.ReadBool("IsSound", "Value", true);
    settings.voiceMode = load.ini.ReadInteger("VoiceMode", "Value", 0);
    settings.isMusic = load.ini.ReadBool("IsMusic", "Value", true);
    return settings;
}

bool WriteSettingsOnSave(const std::string& path, const GameSettings& settings, const SavedBoardTexts* board,
                         WriteError* why) {
    std::optional<IniFile> ini = OpenForWrite(path);
    if (!ini) {
        if (why) *why = WriteError::KeptUnreadable;
        return false;
    }
    if (board) {
        for (int k = 0; k < 4; ++k) {
            const SavedQuestionText& q = (*board)[k];
            const std::string section = MondaiSection(k);
            ini->WriteString(section, "Jukugo", q.jukugo);
            ini->WriteString(section, "Imi", q.imi);
            ini->WriteString(section, "Yomi", q.yomi);
            ini->WriteString(section, "SpeakMoji", Cp932ToUtf8(q.speakMojiCp932).value_or(q.speakMojiCp932));
        }
    }
    ini->WriteBool("IsSound", "Value", settings.isSound);
    ini->WriteInteger("VoiceMode", "Value", settings.voiceMode);
    ini->WriteBool("IsMusic", "Value", settings.isMusic);
    return SaveIniFile(path, *ini, why);
}

bool WriteVoiceMode(const std::string& path, int voiceMode) {
    std::optional<IniFile> ini = OpenForWrite(path);
    if (!ini) return false;
    ini->WriteInteger("VoiceMode", "Value", voiceMode);
    return SaveIniFile(path, *ini);
}

bool ReadReviewOption(const std::string& path) {
    IniLoad load = LoadIniFile(path);
    return load.status == ReadStatus::Ok && load.ini.ReadBool("Review", "Value", false);
}

bool WriteReviewOption(const std::string& path, bool on) {
    std::optional<IniFile> ini = OpenForWrite(path);
    if (!ini) return false;
    ini->WriteBool("Review", "Value", on);
    return SaveIniFile(path, *ini);
}

std::optional<SavedBoardTexts> ReadSavedBoardTexts(const std::string& path) {
    IniLoad load = LoadIniFile(path);
    if (load.status != ReadStatus::Ok) return std::nullopt;
    SavedBoardTexts board;
    for (int k = 0; k < 4; ++k) {
        const std::string section = MondaiSection(k);
        board[k].jukugo = load.ini.ReadString(section, "Jukugo", "");
        board[k].imi = load.ini.ReadString(section, "Imi", "");
        board[k].yomi = load.ini.ReadString(section, "Yomi", "");
        board[k].speakMojiCp932 = Utf8ToCp932Lossy(load.ini.ReadString(section, "SpeakMoji", ""));
    }
    return board;
}
