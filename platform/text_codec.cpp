#include "platform/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace {

// Runs one whole conversion; nullopt on any invalid, unconvertible or truncated input.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    std::string input(in);
    char* inPtr = input.data();
    std::size_t inLeft = input.size();
    char buffer[1024];
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr - buffer);
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            ok = false;  // EILSEQ (invalid or unconvertible) or EINVAL (truncated)
            break;
        }
        // iconv counts irreversible conversions in rc; we never want substitutes.
        if (rc != static_cast<std::size_t>(-1) && rc > 0) {
            ok = false;
            break;
        }
    }
    if (ok) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) ok = false;
        out.append(buffer, outPtr - buffer);
    }
    iconv_close(cd);
    if (!ok) return std::nullopt;
    return out;
}

}  // namespace

Utf8Char DecodeUtf8At(std::string_view s, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) return {lead, 1};
    std::size_t length;
    long cp;
    long minimum;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return {-1, 1};
    }
    if (pos + length > s.size()) return {-1, 1};
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80) return {-1, 1};
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {-1, 1};
    return {cp, length};
}

Utf8CodePoints DecodeUtf8(std::string_view utf8) {
    Utf8CodePoints out;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Utf8Char step = DecodeUtf8At(utf8, pos);
        out.offsets.push_back(pos);
        out.codePoints.push_back(step.codePoint < 0 ? U'\uFFFD' : static_cast<char32_t>(step.codePoint));
        pos += step.length;
    }
    out.offsets.push_back(utf8.size());
    return out;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
        return;
    }
    if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
    } else {
        if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        }
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (cp & 0x3F));
}

std::vector<std::string_view> SplitAtTabs(std::string_view row) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = row.find('\t', start);
        fields.push_back(row.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
    return Convert("UTF-8", "CP932", cp932);
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
    if (!IsValidUtf8(utf8)) return std::nullopt;
    return Convert("CP932", "UTF-8", utf8);
}

std::string Utf8ToCp932Lossy(std::string_view utf8) {
    if (auto whole = Utf8ToCp932(utf8)) return *whole;
    std::string out;
    for (const std::string& character : SplitUtf8Characters(utf8)) {
        const auto converted = Utf8ToCp932(character);
        out += converted ? *converted : std::string("?");
    }
    return out;
}

TextEncoding DetectTextEncoding(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return TextEncoding::Utf8Bom;
    if (bytes.substr(0, 2) == "\xFF\xFE") return TextEncoding::Utf16LE;
    if (bytes.substr(0, 2) == "\xFE\xFF") return TextEncoding::Utf16BE;
    const bool beyondAscii =
        std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return beyondAscii && IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

std::string ByteOrderMark(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8Bom: return "\xEF\xBB\xBF";
        case TextEncoding::Utf16LE: return "\xFF\xFE";
        case TextEncoding::Utf16BE: return "\xFE\xFF";
        default: return {};
    }
}

std::optional<std::string> DecodeAs(TextEncoding encoding, std::string_view bytes) {
    switch (encoding) {
        case TextEncoding::Cp932: return Cp932ToUtf8(bytes);
        case TextEncoding::Utf8:
        case TextEncoding::Utf8Bom:
            if (!IsValidUtf8(bytes)) return std::nullopt;
            return std::string(bytes);
        case TextEncoding::Utf16LE: return Convert("UTF-8", "UTF-16LE", bytes);
        case TextEncoding::Utf16BE: return Convert("UTF-8", "UTF-16BE", bytes);
    }
    return std::nullopt;
}

std::string EncodeAsLossy(TextEncoding encoding, std::string_view utf8) {
    switch (encoding) {
        case TextEncoding::Cp932: return Utf8ToCp932Lossy(utf8);
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE: {
            const char* name = encoding == TextEncoding::Utf16LE ? "UTF-16LE" : "UTF-16BE";
            std::string out;
            for (const std::string& character : SplitUtf8Characters(utf8)) {
                const auto converted = IsValidUtf8(character) ? Convert(name, "UTF-8", character) : std::nullopt;
                out += converted ? *converted : *Convert(name, "UTF-8", "?");
            }
            return out;
        }
        default: {
            std::string out;  // malformed bytes cannot go into a UTF-8 file
            for (const std::string& character : SplitUtf8Characters(utf8))
                out += IsValidUtf8(character) ? character : std::string("?");
            return out;
        }
    }
}

std::optional<DecodedText> DecodeTextFile(std::string_view bytes) {
    DecodedText text;
    text.encoding = DetectTextEncoding(bytes);
    auto utf8 = DecodeAs(text.encoding, bytes.substr(ByteOrderMark(text.encoding).size()));
    if (!utf8) return std::nullopt;
    text.utf8 = std::move(*utf8);
    return text;
}

bool IsValidUtf8(std::string_view utf8) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Utf8Char step = DecodeUtf8At(utf8, pos);
        if (step.codePoint < 0) return false;
        pos += step.length;
    }
    return true;
}

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Utf8Char step = DecodeUtf8At(utf8, pos);
        units += step.codePoint >= 0x10000 ? 2 : 1;
        pos += step.length;
    }
    return units;
}

std::vector<std::string> SplitUtf8Characters(std::string_view utf8) {
    std::vector<std::string> characters;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Utf8Char step = DecodeUtf8At(utf8, pos);
        characters.emplace_back(utf8.substr(pos, step.length));
        pos += step.length;
    }
    return characters;
}

std::string Utf16UnitCharacter(std::string_view utf8, int index) {
    if (index < 0) return {};
    long unit = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Utf8Char step = DecodeUtf8At(utf8, pos);
        const long units = step.codePoint >= 0x10000 ? 2 : 1;
        if (index < unit + units) return std::string(utf8.substr(pos, step.length));
        unit += units;
        pos += step.length;
    }
    return {};
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}
