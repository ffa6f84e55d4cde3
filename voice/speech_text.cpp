#include "voice/speech_text.h"

#include <cstdint>

std::string MakeSpeechText(ReadingService& reading, const std::string& utf8Text) {
    std::string r = reading.ReadingOf(utf8Text);
    static const std::string kTopicBeforePause = "は、";
    static const std::string kAsSpoken = "わ、";
    for (size_t at = r.find(kTopicBeforePause); at != std::string::npos;
         at = r.find(kTopicBeforePause, at + kAsSpoken.size())) {
        r.replace(at, kTopicBeforePause.size(), kAsSpoken);
    }
    return r;
}

bool InsertReadingAfterLine(std::vector<std::string>& lines, int caretLine,
                            ReadingService& reading) {
    if (caretLine < 0 || caretLine >= static_cast<int>(lines.size())) return false;
    if (lines[caretLine].empty()) return false;
    std::string r = reading.ReadingOf(lines[caretLine]);
    if (r.empty()) return false;
    lines.insert(lines.begin() + caretLine + 1, std::move(r));
    return true;
}

std::string NotationToOpenJTalkText(const std::string& utf8Notation) {
    std::string out;
    out.reserve(utf8Notation.size());
    for (char c : utf8Notation) {
        if (c == '\n' || c == '\r') break;  // the engine speaks the first line only
        // Accent marks and phrase breaks would be read out as symbols with a
        // pause; the engine finds its own accents and phrases.
        if (c == '\'' || c == '/') continue;
        out += c;
    }
    return out;
}

std::string KatakanaToHiragana(const std::string& utf8Text) {
    // Katakana ァ..ヶ (U+30A1..U+30F6) sit 0x60 above hiragana ぁ..ゖ. In UTF-8
    // they are E3 82 A1..E3 83 B6; the hiragana are E3 81 81..E3 82 96.
    std::string out = utf8Text;
    for (size_t i = 0; i + 2 < out.size(); ++i) {
        auto b0 = static_cast<uint8_t>(out[i]);
        if (b0 != 0xE3) continue;
        auto b1 = static_cast<uint8_t>(out[i + 1]);
        auto b2 = static_cast<uint8_t>(out[i + 2]);
        uint32_t cp = ((b0 & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F);
        if ((b1 & 0xC0) != 0x80 || (b2 & 0xC0) != 0x80) continue;
        if (cp >= 0x30A1 && cp <= 0x30F6) {
            cp -= 0x60;
            out[i + 1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out[i + 2] = static_cast<char>(0x80 | (cp & 0x3F));
        }
        i += 2;
    }
    return out;
}
