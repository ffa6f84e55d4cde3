#include "persistence/ini_file.h"

#include <cstdint>

#include "platform/text_codec.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

// A line that will not convert as a whole is converted a character at a time;
// what still will not convert becomes "?", so one bad byte costs one character.
std::string DecodeLine(std::string_view cp932) {
    if (auto whole = Cp932ToUtf8(cp932)) return *whole;
    std::string out;
    std::size_t i = 0;
    while (i < cp932.size()) {
        if (auto one = Cp932ToUtf8(cp932.substr(i, 1))) {
            out += *one;
            i += 1;
        } else if (i + 1 < cp932.size() && Cp932ToUtf8(cp932.substr(i, 2))) {
            out += *Cp932ToUtf8(cp932.substr(i, 2));
            i += 2;
        } else {
            out += '?';
            i += 1;
        }
    }
    return out;
}


// A value must stay on its own line, whatever text it came from.
std::string OneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

std::optional<int> ParseHex(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    uint64_t v = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return std::nullopt;
        v = v * 16 + static_cast<uint64_t>(d);
        if (v > 0xFFFFFFFFull) return std::nullopt;
    }
    // Eight hex digits cover the whole 32-bit pattern, as "$FFFFFFFF" = -1.
    return static_cast<int32_t>(static_cast<uint32_t>(v));
}

std::optional<int> ParseDecimal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    int64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
        if (v > 2147483648LL) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > 2147483647LL || v < -2147483648LL) return std::nullopt;
    return static_cast<int>(v);
}

}  // namespace

std::optional<int> ParseIniInteger(std::string_view text) {
    if (!text.empty() && text[0] == '$') return ParseHex(text.substr(1));
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return ParseHex(text.substr(2));
    return ParseDecimal(text);
}

IniFile IniFile::Parse(std::string_view cp932) {
    IniFile ini;
    Section* current = nullptr;
    for (std::string_view raw : SplitLines(cp932)) {
        const std::string decoded = DecodeLine(raw);
        std::string_view line = Trim(decoded);
        if (line.empty() || line.front() == ';') continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            ini.sections_.push_back({std::string(Trim(line.substr(1, line.size() - 2))), {}});
            current = &ini.sections_.back();
            continue;
        }
        if (!current) continue;  // before the first section
        auto eq = line.find('=');
        if (eq == std::string_view::npos) {
            current->lines.push_back({std::string(line), std::nullopt});
        } else {
            current->lines.push_back({std::string(Trim(line.substr(0, eq))), std::string(Trim(line.substr(eq + 1)))});
        }
    }
    return ini;
}

std::string IniFile::Serialize() const {
    std::string text;
    for (const Section& s : sections_) {
        text += "[" + s.name + "]\r\n";
        for (const Line& l : s.lines) {
            text += l.key;
            if (l.value) text += "=" + *l.value;
            text += "\r\n";
        }
        text += "\r\n";
    }
    return Utf8ToCp932Lossy(text);
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    for (const Section& s : sections_)
        if (SameName(s.name, name)) return &s;
    return nullptr;
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
    return const_cast<Section*>(static_cast<const IniFile*>(this)->FindSection(name));
}

bool IniFile::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

std::optional<std::string> IniFile::Value(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (!s) return std::nullopt;
    for (const Line& l : s->lines)
        if (l.value && SameName(l.key, key)) return l.value;
    return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, const std::string& def) const {
    auto v = Value(section, key);
    return v ? *v : def;
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    auto v = Value(section, key);
    if (!v) return def;
    auto n = ParseIniInteger(*v);
    return n ? *n : def;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Section* s = FindSection(section);
    if (!s) {
        sections_.push_back({OneLine(section), {}});
        s = &sections_.back();
    }
    Line replacement{OneLine(key), OneLine(value)};
    for (Line& l : s->lines) {
        if (SameName(l.key, key)) {
            l = std::move(replacement);
            return;
        }
    }
    s->lines.push_back(std::move(replacement));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

IniLoad LoadIniFile(const std::string& path) {
    IniLoad load;
    FileRead read = ReadFileBytes(path);
    load.status = read.status;
    if (read.status == ReadStatus::Ok) load.ini = IniFile::Parse(read.bytes);
    return load;
}

bool SaveIniFile(const std::string& path, const IniFile& ini) {
    return WriteFileAtomically(path, ini.Serialize());
}
