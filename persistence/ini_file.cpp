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

namespace {

// The lines of a file's bytes in its encoding: CR LF, a lone CR and a lone LF
// each end a line. Each comes with its line end exactly as found.
std::vector<std::pair<std::string_view, std::string_view>> SplitRawLines(std::string_view bytes, TextEncoding encoding) {
    const bool wide = encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE;
    const std::size_t unit = wide ? 2 : 1;
    const auto unitAt = [&](std::size_t i) -> unsigned {
        if (!wide) return static_cast<unsigned char>(bytes[i]);
        const unsigned a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return encoding == TextEncoding::Utf16LE ? a | (b << 8) : (a << 8) | b;
    };
    std::vector<std::pair<std::string_view, std::string_view>> lines;
    std::size_t start = 0, i = 0;
    while (i + unit <= bytes.size()) {
        const unsigned u = unitAt(i);
        if (u != '\r' && u != '\n') {
            i += unit;
            continue;
        }
        std::size_t endLength = unit;
        if (u == '\r' && i + 2 * unit <= bytes.size() && unitAt(i + unit) == '\n') endLength += unit;
        lines.emplace_back(bytes.substr(start, i - start), bytes.substr(i, endLength));
        i += endLength;
        start = i;
    }
    if (start < bytes.size()) lines.emplace_back(bytes.substr(start), std::string_view());
    return lines;
}

}  // namespace

IniFile IniFile::Parse(std::string_view bytes) {
    IniFile ini;
    ini.encoding_ = DetectTextEncoding(bytes);
    const std::string bom = ByteOrderMark(ini.encoding_);
    const std::string_view body = bytes.substr(bom.size());
    // The whole text is decoded at once; its lines match the raw lines one for
    // one, since a line end is never part of a character in these encodings.
    const std::optional<std::string> text = DecodeAs(ini.encoding_, body);
    auto rawLines = SplitRawLines(body, ini.encoding_);
    const std::vector<std::string_view> decodedLines = text ? SplitLines(*text) : std::vector<std::string_view>{};
    if (!text || decodedLines.size() != rawLines.size()) {
        // Text the game cannot read makes a file it must not rewrite.
        ini.decodable_ = false;
        return ini;
    }
    ini.lines_.reserve(rawLines.size());
    for (std::size_t n = 0; n < rawLines.size(); ++n) {
        Line parsed;
        parsed.raw = rawLines[n].first;
        parsed.end = rawLines[n].second;
        const std::string_view line = Trim(decodedLines[n]);
        if (line.empty()) {
            parsed.kind = Kind::Blank;
        } else if (line.front() == ';') {
            parsed.kind = Kind::Other;
        } else if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            parsed.kind = Kind::Section;
            parsed.name = std::string(Trim(line.substr(1, line.size() - 2)));
        } else {
            parsed.kind = Kind::Entry;  // before the first section it is never looked at
            const auto eq = line.find('=');
            if (eq == std::string_view::npos) {
                parsed.name = std::string(line);
            } else {
                parsed.name = std::string(Trim(line.substr(0, eq)));
                parsed.value = std::string(Trim(line.substr(eq + 1)));
            }
        }
        ini.lines_.push_back(std::move(parsed));
    }
    // The byte-order mark stays with the first line.
    if (!bom.empty()) {
        if (ini.lines_.empty()) ini.lines_.push_back(Line{});
        ini.lines_.front().raw.insert(0, bom);
    }
    return ini;
}

std::string IniFile::Serialize() const {
    std::string bytes;
    for (const Line& l : lines_) bytes += l.raw + l.end;
    return bytes;
}

std::string IniFile::Encode(std::string_view utf8) const { return EncodeAsLossy(encoding_, utf8); }

IniFile::Line IniFile::NewLine(Kind kind, std::string name, std::optional<std::string> value) const {
    Line line;
    line.kind = kind;
    std::string text;
    if (kind == Kind::Section) text = "[" + name + "]";
    if (kind == Kind::Entry) text = name + "=" + value.value_or("");
    line.raw = Encode(text);
    line.end = Encode("\r\n");
    for (const Line& l : lines_)
        if (!l.end.empty()) {
            line.end = l.end;  // new lines end as the file's lines do
            break;
        }
    line.name = std::move(name);
    line.value = std::move(value);
    return line;
}

int IniFile::FindSection(std::string_view name) const {
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Kind::Section && SameName(lines_[i].name, name)) return static_cast<int>(i);
    return -1;
}

int IniFile::SectionEnd(int header) const {
    std::size_t i = static_cast<std::size_t>(header) + 1;
    while (i < lines_.size() && lines_[i].kind != Kind::Section) ++i;
    return static_cast<int>(i);
}

bool IniFile::HasSection(std::string_view section) const { return FindSection(section) >= 0; }

std::optional<std::string> IniFile::Value(std::string_view section, std::string_view key) const {
    const int header = FindSection(section);
    if (header < 0) return std::nullopt;
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const Line& l = lines_[i];
        if (l.kind == Kind::Entry && l.value && SameName(l.name, key)) return l.value;
    }
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
    const std::string k = OneLine(key);
    const std::string v(Trim(OneLine(value)));
    int header = FindSection(section);
    if (header < 0) {
        // A new section goes after the last one, set off by an empty line.
        if (!lines_.empty()) {
            if (lines_.back().end.empty()) lines_.back().end = NewLine(Kind::Blank, "", std::nullopt).end;
            if (lines_.back().kind != Kind::Blank) lines_.push_back(NewLine(Kind::Blank, "", std::nullopt));
        }
        lines_.push_back(NewLine(Kind::Section, OneLine(section), std::nullopt));
        lines_.push_back(NewLine(Kind::Entry, k, v));
        lines_.push_back(NewLine(Kind::Blank, "", std::nullopt));
        return;
    }
    const int end = SectionEnd(header);
    int lastEntry = header;
    for (int i = header + 1; i < end; ++i) {
        Line& l = lines_[i];
        if (l.kind != Kind::Entry) continue;
        lastEntry = i;
        if (!SameName(l.name, key)) continue;
        if (l.value == v) return;  // the same value: the line stays as it is
        const std::string lineEnd = l.end;
        l = NewLine(Kind::Entry, k, v);
        l.end = lineEnd;
        return;
    }
    if (lines_[lastEntry].end.empty()) lines_[lastEntry].end = NewLine(Kind::Blank, "", std::nullopt).end;
    lines_.insert(lines_.begin() + lastEntry + 1, NewLine(Kind::Entry, k, v));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

IniLoad LoadIniFile(const std::string& path) {
    IniLoad load;
    FileRead read = ReadWholeFile(path, kLargestSettingsFile);
    load.status = read.status;
    if (read.status != ReadStatus::Ok) return load;
    load.ini = IniFile::Parse(read.bytes);
    if (!load.ini.Decodable()) {
        load.status = ReadStatus::Failed;
        load.ini = IniFile{};
    }
    return load;
}

bool SaveIniFile(const std::string& path, const IniFile& ini, WriteError* why) {
    if (why) *why = WriteError::Other;
    if (!ini.Decodable()) return false;
    const std::string bytes = ini.Serialize();
    // A file the next start could not read would cost every setting in it.
    if (bytes.size() > kLargestSettingsFile) return false;
    return WriteFileAtomically(path, bytes, why);
}
