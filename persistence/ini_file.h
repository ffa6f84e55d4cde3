#pragma once
// An INI file held in memory: sections of "key=value" lines, read from and
// written to code page 932 text with CR LF line ends. Sections and keys are
// found without regard to letter case; lines this game does not use survive a
// write unchanged. Comment lines (";") and lines before the first section are
// dropped on reading, as the Windows-era settings files always were.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "persistence/atomic_file.h"

// The integer forms a settings value may take: decimal with an optional sign,
// hexadecimal after "$", or after "0x"/"0X" when at least one digit follows.
// Anything else (including a value out of the 32-bit range) is no integer.
std::optional<int> ParseIniInteger(std::string_view text);

class IniFile {
public:
    // Parses code page 932 bytes. Bytes that are not valid code page 932 become
    // "?" in their line; the rest of the file is read normally.
    static IniFile Parse(std::string_view cp932);
    // The file text in code page 932: every section as "[name]", its lines, one
    // empty line; CR LF after every line.
    std::string Serialize() const;

    bool HasSection(std::string_view section) const;
    // The value of the key, or nothing when the section or key is missing (a
    // line without "=" has no value either).
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    std::string ReadString(std::string_view section, std::string_view key, const std::string& def) const;
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    // Any non-zero integer is true; text that is no integer gives the default.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    // Replaces the key's line in place, or appends it to its section; a missing
    // section is appended after the last one. Texts are UTF-8.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

private:
    struct Line {
        std::string key;
        std::optional<std::string> value;  // nothing: the line held no "="
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
    };
    const Section* FindSection(std::string_view name) const;
    Section* FindSection(std::string_view name);

    std::vector<Section> sections_;
};

struct IniLoad {
    ReadStatus status = ReadStatus::Missing;
    IniFile ini;  // empty unless status is Ok
};

// Reads the whole file. A missing file gives an empty set of sections.
IniLoad LoadIniFile(const std::string& path);
// Replaces the file with the serialised content, whole or not at all.
bool SaveIniFile(const std::string& path, const IniFile& ini);
