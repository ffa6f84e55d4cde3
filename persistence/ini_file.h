#pragma once
// An INI file held in memory: sections of "key=value" lines. Sections and keys
// are found without regard to letter case. The file keeps its own bytes: every
// line the game does not change (comments, lines before the first section,
// sections and keys this game does not use, values written unchanged) goes back
// to disk byte for byte, in the file's own encoding and line ends. Lines the game
// changes or adds are written in the file's encoding: code page 932 for the
// game's own files, UTF-8 or UTF-16 for files another editor saved so.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "persistence/atomic_file.h"
#include "platform/text_codec.h"

// The integer forms a settings value may take: decimal with an optional sign,
// hexadecimal after "$", or after "0x"/"0X" when at least one digit follows.
// Anything else (including a value out of the 32-bit range) is no integer.
std::optional<int> ParseIniInteger(std::string_view text);

// Settings files larger than this are no settings file: not read, never replaced.
constexpr std::size_t kLargestSettingsFile = 1024 * 1024;

class IniFile {
public:
    // Parses the bytes of a file (encoding as DecodeTextFile chooses). A file
    // that cannot be decoded parses as empty and is not Decodable().
    static IniFile Parse(std::string_view bytes);
    bool Decodable() const { return decodable_; }
    // The file's bytes with the changes made since parsing. A new section is
    // "[name]", its lines and one empty line; new lines end as the file's first
    // line does (CR LF in a new file).
    std::string Serialize() const;

    bool HasSection(std::string_view section) const;
    // The value of the key, or nothing when the section or key is missing (a
    // line without "=" has no value either).
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    std::string ReadString(std::string_view section, std::string_view key, const std::string& def) const;
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    // Any non-zero integer is true; text that is no integer gives the default.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    // Replaces the key's line in place (left as it is when it already holds the
    // value), or appends it to its section; a missing section is appended after
    // the last one. Texts are UTF-8.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

private:
    enum class Kind { Other, Section, Entry, Blank };
    struct Line {
        std::string raw;  // the line's bytes as in the file, without its line end
        std::string end;  // its line end as in the file ("" for a last line without one)
        Kind kind = Kind::Other;
        std::string name;                  // section name, or the entry's key
        std::optional<std::string> value;  // the entry's value; nothing: no "=" in the line
    };
    // Index of the section's header line, or -1.
    int FindSection(std::string_view name) const;
    // One past the section's last line (the next header, or the end).
    int SectionEnd(int header) const;
    std::string Encode(std::string_view utf8) const;
    Line NewLine(Kind kind, std::string name, std::optional<std::string> value) const;

    TextEncoding encoding_ = TextEncoding::Cp932;
    bool decodable_ = true;
    std::vector<Line> lines_;
};

struct IniLoad {
    ReadStatus status = ReadStatus::Missing;
    IniFile ini;  // empty unless status is Ok
};

// Reads the whole file. A missing file gives an empty set of sections; a file
// that cannot be read, is larger than kLargestSettingsFile or cannot be decoded
// is Failed.
IniLoad LoadIniFile(const std::string& path);
// Replaces the file with the serialised content, whole or not at all; false
// without writing when the content would be larger than kLargestSettingsFile.
// why, when given, receives the reason of a failure.
bool SaveIniFile(const std::string& path, const IniFile& ini, WriteError* why = nullptr);
