// The INI reader behind Settei.ini: any bytes parse, a file the game can decode
// goes back to disk byte for byte, the game's reads and writes work on whatever
// was parsed, and a written file reads back as written.
#include <string>
#include <string_view>

#include "persistence/ini_file.h"
#include "tests/fuzz/fuzz_target.h"

TM_FUZZ_TARGET(ini) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IniFile ini = IniFile::Parse(bytes);
    if (!ini.Decodable()) {
        FUZZ_CHECK(ini.Serialize().empty());  // nothing of it is ever written back
        return 0;
    }
    FUZZ_CHECK(ini.Serialize() == bytes);

    // The reads of start-up and of a continued game.
    (void)ini.ReadBool("IsSound", "Value", true);
    (void)ini.ReadInteger("VoiceMode", "Value", 0);
    (void)ini.ReadBool("IsMusic", "Value", true);
    for (const char* section : {"Mondai1", "Mondai2", "Mondai3", "Mondai4"})
        for (const char* key : {"Jukugo", "Imi", "Yomi", "SpeakMoji"}) (void)ini.ReadString(section, key, "");
    (void)ParseIniInteger(bytes.substr(0, 16));

    // The writes of a save keep their values and leave the file parseable.
    ini.WriteInteger("VoiceMode", "Value", 1);
    ini.WriteBool("IsMusic", "Value", false);
    ini.WriteString("Mondai1", "Jukugo", "一石二鳥");
    const IniFile reread = IniFile::Parse(ini.Serialize());
    FUZZ_CHECK(reread.Decodable());
    FUZZ_CHECK(reread.ReadInteger("VoiceMode", "Value", -7) == 1);
    FUZZ_CHECK(reread.ReadBool("IsMusic", "Value", true) == false);
    FUZZ_CHECK(reread.ReadString("Mondai1", "Jukugo", "") == "一石二鳥");
    return 0;
}
