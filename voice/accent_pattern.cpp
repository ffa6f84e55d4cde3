#include "voice/accent_pattern.h"

#include "voice/notation.h"

namespace {

// Kana that join the one before them into a single mora.
bool IsSmallKana(const std::string& kana) {
    static const char* const small[] = {"ゃ", "ゅ", "ょ", "ぁ", "ぃ", "ぅ", "ぇ", "ぉ", "ゎ",
                                        "ャ", "ュ", "ョ", "ァ", "ィ", "ゥ", "ェ", "ォ", "ヮ"};
    for (const char* s : small)
        if (kana == s) return true;
    return false;
}

// The reading cut into morae: each character, with a small kana joined to the one before.
std::vector<std::string> ReadingMorae(const std::string& utf8) {
    std::vector<std::string> morae;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::string ch = utf8.substr(i, n);
        i += n;
        if (IsSmallKana(ch) && !morae.empty()) morae.back() += ch;
        else morae.push_back(ch);
    }
    return morae;
}

}  // namespace

bool MoraIsHigh(int m, int nucleus) {
    if (m == 1) return nucleus == 1;
    return nucleus == 0 || m <= nucleus;
}

std::vector<AccentPhrase> AccentPattern(const std::string& utf8Notation) {
    std::vector<AccentPhrase> out;
    const std::optional<SpokenText> text = ParseNotation(utf8Notation);
    if (!text) return out;
    for (const SpokenBreathGroup& group : text->groups) {
        bool first = true;
        for (const SpokenPhrase& spoken : group.phrases) {
            AccentPhrase phrase;
            phrase.nucleus = spoken.accent;
            phrase.pauseBefore = first && !out.empty();
            for (std::size_t m = 0; m < spoken.morae.size(); ++m)
                phrase.morae.push_back({spoken.morae[m].kana, MoraIsHigh(static_cast<int>(m) + 1, spoken.accent)});
            out.push_back(std::move(phrase));
            first = false;
        }
    }
    return out;
}

std::vector<AccentPhrase> SpeltAsReading(std::vector<AccentPhrase> phrases, const std::string& utf8Reading) {
    const std::vector<std::string> reading = ReadingMorae(utf8Reading);
    std::size_t count = 0;
    for (const AccentPhrase& p : phrases) count += p.morae.size();
    if (count != reading.size()) return phrases;
    std::size_t r = 0;
    for (AccentPhrase& p : phrases)
        for (AccentMora& m : p.morae) m.kana = reading[r++];
    return phrases;
}

std::string AccentString(const std::vector<AccentPhrase>& phrases) {
    std::string out;
    for (const AccentPhrase& p : phrases) {
        if (!out.empty()) out += '|';
        for (const AccentMora& m : p.morae) out += m.high ? 'H' : 'L';
    }
    return out;
}
