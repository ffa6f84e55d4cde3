// Settei.ini: the exact bytes a save writes, the reading rules, and what a
// write must leave alone.
#include <gtest/gtest.h>

#include "persistence/ini_file.h"
#include "persistence/settings_file.h"
#include "platform/text_codec.h"
#include "tests/test_support/temp_folder.h"

namespace {

const std::string CRLF = "\r\n";

std::string EmptyMondai(int k) {
    return "[Mondai" + std::to_string(k) + "]" + CRLF + "Jukugo=" + CRLF + "Imi=" + CRLF + "Yomi=" + CRLF +
           "SpeakMoji=" + CRLF + CRLF;
}

}  // namespace

// A score-challenge save from scratch with additional questions in slots 1 and
// 3: 33 lines in code page 932 with CR LF and an empty line after each section.
TEST(SettingsFile, SaveFromScratchWritesTheExactBytes) {
    TempFolder folder;
    const std::string path = folder.File("Settei.ini");
    SavedBoardTexts board;
    board[1] = {"一期一会", "佐々木①髙", "いちごいちえ", Hex("83 43 83 60 83 53 2F 83 43 83 60 83 47")};
    board[3] = {"温故知新", "々", "①", "onko"};
    ASSERT_TRUE(WriteSettingsOnSave(path, GameSettings{true, true, 0}, &board));

    const std::string expected =
        EmptyMondai(0) +
        "[Mondai1]" + CRLF +
        "Jukugo=" + Hex("88 EA 8A FA 88 EA 89 EF") + CRLF +
        "Imi=" + Hex("8D B2 81 58 96 D8 87 40 FB FC") + CRLF +  // 髙 as Windows writes it
        "Yomi=" + Hex("82 A2 82 BF 82 B2 82 A2 82 BF 82 A6") + CRLF +
        "SpeakMoji=" + Hex("83 43 83 60 83 53 2F 83 43 83 60 83 47") + CRLF + CRLF +
        EmptyMondai(2) +
        "[Mondai3]" + CRLF +
        "Jukugo=" + Hex("89 B7 8C CC 92 6D 90 56") + CRLF +
        "Imi=" + Hex("81 58") + CRLF +
        "Yomi=" + Hex("87 40") + CRLF +
        "SpeakMoji=onko" + CRLF + CRLF +
        "[IsSound]" + CRLF + "Value=1" + CRLF + CRLF +
        "[VoiceMode]" + CRLF + "Value=0" + CRLF + CRLF +
        "[IsMusic]" + CRLF + "Value=1" + CRLF + CRLF;
    EXPECT_EQ(ReadBytes(path), expected);

    // And it reads back to the same texts.
    auto texts = ReadSavedBoardTexts(path);
    ASSERT_TRUE(texts);
    EXPECT_EQ((*texts)[1].imi, "佐々木①髙");
    EXPECT_EQ((*texts)[1].speakMojiCp932, board[1].speakMojiCp932);
    EXPECT_EQ((*texts)[0].jukugo, "");
}

TEST(SettingsFile, IntegerForms) {
    struct Case { const char* text; int expected; };
    const Case cases[] = {
        {"1", 1}, {"-5", -5}, {"+7", 7}, {"0x1", 1}, {"0X1f", 31}, {"$10", 16}, {"$FFFFFFFF", -1},
        {"yes", 42}, {"", 42}, {"0x", 42}, {"$", 42}, {"12abc", 42}, {"1 2", 42}, {"-", 42},
        {"2147483647", 2147483647}, {"2147483648", 42}, {"-2147483648", -2147483647 - 1}, {"$100000000", 42},
    };
    for (const Case& c : cases) {
        IniFile ini = IniFile::Parse(std::string("[VoiceMode]\r\nValue=") + c.text + "\r\n");
        EXPECT_EQ(ini.ReadInteger("VoiceMode", "Value", 42), c.expected) << "value \"" << c.text << "\"";
    }
}

TEST(SettingsFile, StartupReadRules) {
    struct Case { const char* file; GameSettings expected; };
    const Case cases[] = {
        {"", {true, true, 0}},
        {"[ISSOUND]\r\nvalue=0\r\n[ismusic]\r\nVALUE = 0 \r\n", {false, false, 0}},  // letter case, blanks
        {"[IsSound]\r\nValue=yes\r\n[IsMusic]\r\nValue=2\r\n", {true, true, 0}},     // not an integer: default
        {"[VoiceMode]\r\nValue=0x1\r\n", {true, true, 1}},
        {"[VoiceMode]\r\nValue=$10\r\n", {true, true, 16}},                           // taken over unchanged
        {"Value=0\r\n;[IsSound]\r\n[IsSound]\r\n;Value=0\r\nValue\r\n", {true, true, 0}},  // comments, no section
        {"\t [ IsSound ] \nValue=0\rjunk\n", {false, true, 0}},                       // LF and lone CR line ends
    };
    TempFolder folder;
    const std::string path = folder.File("Settei.ini");
    for (const Case& c : cases) {
        WriteBytes(path, c.file);
        GameSettings s = ReadGameSettings(path);
        EXPECT_EQ(s.isSound, c.expected.isSound) << c.file;
        EXPECT_EQ(s.isMusic, c.expected.isMusic) << c.file;
        EXPECT_EQ(s.voiceMode, c.expected.voiceMode) << c.file;
    }
    std::filesystem::remove(path);
    GameSettings none = ReadGameSettings(path);
    EXPECT_TRUE(none.isSound && none.isMusic && none.voiceMode == 0);
}

// Sections, keys, comments and stray lines added by hand survive byte for byte;
// a changed value is replaced in place with the writer's spelling of the key, a
// value written unchanged leaves its line alone; new keys go to the end of
// their section and new sections after the last one. A stroke-challenge save
// (no board) leaves the "Mondai" sections as they were.
TEST(SettingsFile, WritesKeepEveryLineTheyDoNotChange) {
    TempFolder folder;
    const std::string path = folder.File("Settei.ini");
    const std::string nec = Hex("87 9A ED 40");  // NEC-row and NEC-selected bytes that re-encode differently
    WriteBytes(path,
               "; my notes " + nec + "\r\n"
               "stray=1\r\n"
               "[Mondai1]\r\nJukugo=" + Hex("88 EA 8A FA 88 EA 89 EF") + "\r\nImi=x\r\nYomi=y\r\nSpeakMoji=z\r\n"
               "[ISSOUND]\r\nmine=keep me\r\nvalue=0\r\n"
               "[Window]\r\n  Left = 10 \r\nflag\r\ntitle=" + nec + "\r\n"
               "[IsMusic]\r\nvalue = 0\r\n");
    ASSERT_TRUE(WriteSettingsOnSave(path, GameSettings{true, false, 1}, nullptr));
    const std::string expected =
        "; my notes " + nec + "\r\n"
        "stray=1\r\n"
        "[Mondai1]\r\nJukugo=" + Hex("88 EA 8A FA 88 EA 89 EF") + "\r\nImi=x\r\nYomi=y\r\nSpeakMoji=z\r\n"
        "[ISSOUND]\r\nmine=keep me\r\nValue=1\r\n"
        "[Window]\r\n  Left = 10 \r\nflag\r\ntitle=" + nec + "\r\n"
        "[IsMusic]\r\nvalue = 0\r\n"
        "\r\n[VoiceMode]\r\nValue=1\r\n\r\n";
    EXPECT_EQ(ReadBytes(path), expected);

    ASSERT_TRUE(WriteVoiceMode(path, 0));
    IniFile after = LoadIniFile(path).ini;
    EXPECT_EQ(after.ReadInteger("VoiceMode", "Value", 9), 0);
    EXPECT_EQ(after.ReadString("Window", "Left", ""), "10");
    EXPECT_EQ(after.ReadString("Mondai1", "Jukugo", ""), "一期一会");
    EXPECT_EQ(ReadBytes(path).substr(0, expected.size() - 10), expected.substr(0, expected.size() - 10));
}

// The same settings saved by other editors: read alike, and a write changes
// only the line of the changed value, in the file's own encoding and line ends.
TEST(SettingsFile, FilesInOtherEncodingsAreReadAndKept) {
    const auto utf16 = [](const std::string& utf8, bool little) {
        std::string out;
        for (const std::string& ch : SplitUtf8Characters(utf8)) {
            const std::string cp = ch == "々" ? "\x05\x30" : std::string(1, ch[0]) + '\0';  // ASCII and 々 only
            out += little ? cp : std::string{cp[1], cp[0]};
        }
        return out;
    };
    const std::string text = "; 佐々木\n[Window]\nLeft=10\n[VoiceMode]\nValue=0\n[IsMusic]\nValue=0\n";
    const std::string changed = "; 佐々木\n[Window]\nLeft=10\n[VoiceMode]\nValue=1\n[IsMusic]\nValue=0\n";
    struct Case {
        const char* what;
        std::string before, after;
    };
    const std::string simple = "; x々\r\n[VoiceMode]\r\nValue=0\r\n";
    const Case cases[] = {
        {"code page 932, LF", *Utf8ToCp932(text), *Utf8ToCp932(changed)},
        {"UTF-8 without a byte-order mark", text, changed},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + text, "\xEF\xBB\xBF" + changed},
        {"UTF-16LE", "\xFF\xFE" + utf16(simple, true), "\xFF\xFE" + utf16("; x々\r\n[VoiceMode]\r\nValue=1\r\n", true)},
        {"UTF-16BE", "\xFE\xFF" + utf16(simple, false), "\xFE\xFF" + utf16("; x々\r\n[VoiceMode]\r\nValue=1\r\n", false)},
    };
    TempFolder folder;
    const std::string path = folder.File("Settei.ini");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(path, c.before);
        EXPECT_EQ(ReadGameSettings(path).voiceMode, 0);
        ASSERT_TRUE(WriteVoiceMode(path, 1));
        EXPECT_EQ(ReadBytes(path), c.after);
        EXPECT_EQ(ReadGameSettings(path).voiceMode, 1);
    }
}

// A settings file the game cannot decode, or one too large to be a settings
// file, counts as unreadable: defaults at start-up, and it is never replaced.
TEST(SettingsFile, UndecodableOrHugeFilesAreUnreadable) {
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"a byte that is no code page 932", "[IsSound]\r\nValue=0\r\n[Notes]\r\nx=" + Hex("88 EA 81 20") + "\r\n"},
        {"UTF-8 mark over code page 932", "\xEF\xBB\xBF[IsSound]\r\nValue=0\r\nx=" + Hex("88 EA 89 EF") + "\r\n"},
        {"UTF-16 of odd length", std::string("\xFF\xFE[\0I\0", 6) + "s"},
        {"larger than 1 MiB", "[IsSound]\r\nValue=0\r\n" + std::string(kLargestSettingsFile, ';')},
    };
    TempFolder folder;
    const std::string path = folder.File("Settei.ini");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(path, c.bytes);
        EXPECT_EQ(LoadIniFile(path).status, ReadStatus::Failed);
        EXPECT_TRUE(ReadGameSettings(path).isSound);
        EXPECT_FALSE(ReadSavedBoardTexts(path));
        EXPECT_FALSE(WriteSettingsOnSave(path, GameSettings{false, false, 1}, nullptr));
        EXPECT_FALSE(WriteVoiceMode(path, 1));
        EXPECT_EQ(ReadBytes(path), c.bytes);
    }
}

// A write that would make the file too large to be read again is not done.
TEST(SettingsFile, AWriteNeverMakesTheFileTooLargeToRead) {
    TempFolder folder;
    const std::string path = folder.File("Settei.ini");
    const std::string bytes = "[Notes]\r\n" + std::string(kLargestSettingsFile - 9 - 2, ';') + "\r\n";
    ASSERT_EQ(bytes.size(), kLargestSettingsFile);
    WriteBytes(path, bytes);
    EXPECT_EQ(LoadIniFile(path).status, ReadStatus::Ok);
    EXPECT_FALSE(WriteVoiceMode(path, 1));
    EXPECT_EQ(ReadBytes(path), bytes);
}

// A settings file that exists but cannot be read is not written over.
TEST(SettingsFile, UnreadableFileIsNotReplaced) {
    TempFolder folder;
    const std::string path = folder.File("Settei.ini");
    std::filesystem::create_directory(path);
    EXPECT_FALSE(WriteSettingsOnSave(path, GameSettings{}, nullptr));
    EXPECT_FALSE(WriteVoiceMode(path, 1));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_FALSE(ReadSavedBoardTexts(path));
    GameSettings s = ReadGameSettings(path);
    EXPECT_TRUE(s.isSound && s.isMusic && s.voiceMode == 0);
}
