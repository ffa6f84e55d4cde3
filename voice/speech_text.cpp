#include "voice/speech_text.h"

#include "platform/text_codec.h"

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
    // Katakana ァ..ヶ (U+30A1..U+30F6) sit 0x60 above hiragana ぁ..ゖ.
    std::string out;
    out.reserve(utf8Text.size());
    for (std::size_t pos = 0; pos < utf8Text.size();) {
        const Utf8Char c = DecodeUtf8At(utf8Text, pos);
        if (c.codePoint >= 0x30A1 && c.codePoint <= 0x30F6)
            AppendUtf8(out, static_cast<char32_t>(c.codePoint - 0x60));
        else
            out.append(utf8Text, pos, c.length);  // malformed bytes stay as they are
        pos += c.length;
    }
    return out;
}
