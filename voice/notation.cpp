#include "voice/notation.h"

#include <map>
#include <set>

#include "platform/text_codec.h"
#include "voice/speech_text.h"

namespace {

// UTF-8 -> code points, katakana read as hiragana; nullopt on a malformed sequence.
std::optional<std::u32string> HiraganaCodePoints(const std::string& utf8) {
    const std::string hiragana = KatakanaToHiragana(utf8);
    std::u32string out;
    for (size_t pos = 0; pos < hiragana.size();) {
        const Utf8Char c = DecodeUtf8At(hiragana, pos);
        if (c.codePoint < 0) return std::nullopt;
        out += static_cast<char32_t>(c.codePoint);
        pos += c.length;
    }
    return out;
}

std::string Encode(char32_t cp) {
    std::string out;
    AppendUtf8(out, cp);
    return out;
}

constexpr char32_t kLongVowel = U'ー';

using Phonemes = std::vector<std::string>;

// One kana on its own.
const std::map<char32_t, Phonemes>& SingleKana() {
    static const std::map<char32_t, Phonemes> table = [] {
        std::map<char32_t, Phonemes> t;
        auto row = [&](const char32_t* kana, const char* consonant) {
            static const char* vowels[] = {"a", "i", "u", "e", "o"};
            for (int v = 0; v < 5; ++v) {
                if (!kana[v] || kana[v] == U' ') continue;
                t[kana[v]] = *consonant ? Phonemes{consonant, vowels[v]} : Phonemes{vowels[v]};
            }
        };
        row(U"あいうえお", "");
        row(U"かきくけこ", "k");
        row(U"がぎぐげご", "g");
        row(U"さ すせそ", "s");
        row(U"ざ ずぜぞ", "z");
        row(U"た  てと", "t");
        row(U"だ  でど", "d");
        row(U"なにぬねの", "n");
        row(U"はひ へほ", "h");
        row(U"ばびぶべぼ", "b");
        row(U"ぱぴぷぺぽ", "p");
        row(U"まみむめも", "m");
        row(U"や ゆ よ", "y");
        row(U"らりるれろ", "r");
        row(U"ぁぃぅぇぉ", "");
        t[U'し'] = {"sh", "i"};
        t[U'じ'] = {"j", "i"};
        t[U'ち'] = {"ch", "i"};
        t[U'つ'] = {"ts", "u"};
        t[U'ぢ'] = {"j", "i"};
        t[U'づ'] = {"z", "u"};
        t[U'ふ'] = {"f", "u"};
        t[U'わ'] = {"w", "a"};
        t[U'ゐ'] = {"i"};
        t[U'ゑ'] = {"e"};
        t[U'を'] = {"o"};
        t[U'ん'] = {"N"};
        t[U'っ'] = {"cl"};
        t[U'ゔ'] = {"v", "u"};
        t[U'ゃ'] = {"y", "a"};
        t[U'ゅ'] = {"y", "u"};
        t[U'ょ'] = {"y", "o"};
        t[U'ゎ'] = {"w", "a"};
        return t;
    }();
    return table;
}

// A kana followed by a small kana that joins it into one mora.
const std::map<std::u32string, Phonemes>& JoinedKana() {
    static const std::map<std::u32string, Phonemes> table = [] {
        std::map<std::u32string, Phonemes> t;
        const std::pair<char32_t, const char*> palatal[] = {
            {U'き', "ky"}, {U'ぎ', "gy"}, {U'し', "sh"}, {U'じ', "j"},  {U'ち', "ch"},
            {U'ぢ', "j"},  {U'に', "ny"}, {U'ひ', "hy"}, {U'び', "by"}, {U'ぴ', "py"},
            {U'み', "my"}, {U'り', "ry"},
        };
        for (auto [kana, consonant] : palatal) {
            t[{kana, U'ゃ'}] = {consonant, "a"};
            t[{kana, U'ゅ'}] = {consonant, "u"};
            t[{kana, U'ょ'}] = {consonant, "o"};
            t[{kana, U'ぇ'}] = {consonant, "e"};
        }
        t[U"てぃ"] = {"t", "i"};
        t[U"でぃ"] = {"d", "i"};
        t[U"とぅ"] = {"t", "u"};
        t[U"どぅ"] = {"d", "u"};
        t[U"てゅ"] = {"ty", "u"};
        t[U"でゅ"] = {"dy", "u"};
        t[U"ふぁ"] = {"f", "a"};
        t[U"ふぃ"] = {"f", "i"};
        t[U"ふぇ"] = {"f", "e"};
        t[U"ふぉ"] = {"f", "o"};
        t[U"うぃ"] = {"w", "i"};
        t[U"うぇ"] = {"w", "e"};
        t[U"うぉ"] = {"w", "o"};
        t[U"いぇ"] = {"y", "e"};
        t[U"すぃ"] = {"s", "i"};
        t[U"ずぃ"] = {"z", "i"};
        t[U"つぁ"] = {"ts", "a"};
        t[U"つぃ"] = {"ts", "i"};
        t[U"つぇ"] = {"ts", "e"};
        t[U"つぉ"] = {"ts", "o"};
        t[U"ゔぁ"] = {"v", "a"};
        t[U"ゔぃ"] = {"v", "i"};
        t[U"ゔぇ"] = {"v", "e"};
        t[U"ゔぉ"] = {"v", "o"};
        return t;
    }();
    return table;
}

bool IsSpace(char32_t c) { return c == U' ' || c == U'\t' || c == U'\u3000'; }
bool IsPause(char32_t c) { return c == U'、' || c == U'。'; }
// c as hiragana.
bool IsKana(char32_t c) { return SingleKana().count(c) || c == kLongVowel; }

// Devoicing: an i or u between voiceless consonants is whispered, as in ordinary
// speech ("した" -> sh I t a), never on the accent nucleus, never twice in a row;
// "ます"/"です" before a pause end in a whispered "su".
const std::set<std::string> kAnyVoiceless = {"k", "ky", "s", "sh", "t", "ty", "ch", "ts",
                                             "h", "hy", "f", "p", "py"};
const std::set<std::string> kAfterS = {"k", "ky", "t", "ty", "ch", "ts", "h", "hy", "f", "p", "py"};
const std::set<std::string> kAfterH = {"k", "ky", "s", "sh", "t", "ty", "ch", "ts", "p", "py"};

// The consonants that may follow this mora for it to lose its vowel; nullptr
// when the mora never does.
const std::set<std::string>* DevoicingContext(const Phonemes& p) {
    if (p.size() != 2 || (p[1] != "i" && p[1] != "u")) return nullptr;
    const std::string& c = p[0];
    if (c == "s") return &kAfterS;
    if (c == "h" || c == "f") return p[1] == "i" || c == "f" ? &kAfterH : nullptr;
    static const std::set<std::string> withU = {"ky", "sh", "ch", "hy", "py", "ty", "t", "k", "ts", "p"};
    static const std::set<std::string> withI = {"ts", "t", "k", "sh", "ch", "p"};
    if ((p[1] == "u" && withU.count(c)) || (p[1] == "i" && withI.count(c))) return &kAnyVoiceless;
    return nullptr;
}

struct MoraRef {
    SpokenMora* mora;
    int indexInPhrase;  // 1-based
    int accent;
};

void Devoice(std::vector<MoraRef>& run, bool pauseFollows) {
    std::vector<bool> forced(run.size(), false);
    // "ます" / "です" right before the pause.
    if (pauseFollows && run.size() >= 2) {
        const Phonemes& last = run.back().mora->phonemes;
        const Phonemes& before = run[run.size() - 2].mora->phonemes;
        bool su = last == Phonemes{"s", "u"};
        bool maDe = before == Phonemes{"m", "a"} || before == Phonemes{"d", "e"};
        if (su && maDe) forced.back() = true;
    }
    bool previousDevoiced = false;
    for (size_t i = 0; i < run.size(); ++i) {
        Phonemes& p = run[i].mora->phonemes;
        bool devoice = false;
        if (forced[i]) {
            devoice = true;
        } else if (!previousDevoiced && !(i + 1 < run.size() && forced[i + 1]) &&
                   run[i].indexInPhrase != run[i].accent && i + 1 < run.size()) {
            const std::set<std::string>* next = DevoicingContext(p);
            const Phonemes& following = run[i + 1].mora->phonemes;
            devoice = next && following.size() == 2 && next->count(following[0]);
        }
        if (devoice) p.back() = p.back() == "i" ? "I" : "U";
        previousDevoiced = devoice;
    }
}

}  // namespace

bool IsNotation(const std::string& utf8) {
    std::optional<std::u32string> text = HiraganaCodePoints(utf8);
    if (!text) return false;
    for (char32_t c : *text) {
        if (!(IsKana(c) || c == U'\'' || c == U'/' || IsPause(c) || IsSpace(c))) return false;
    }
    return true;
}

std::optional<SpokenText> ParseNotation(const std::string& utf8) {
    if (!IsNotation(utf8)) return std::nullopt;
    const std::u32string text = *HiraganaCodePoints(utf8);

    SpokenText out;
    SpokenBreathGroup group;
    SpokenPhrase phrase;
    std::vector<bool> pauseAfterGroup;
    auto closePhrase = [&] {
        if (!phrase.morae.empty()) group.phrases.push_back(std::move(phrase));
        phrase = {};
    };
    auto closeGroup = [&](bool byPause) {
        closePhrase();
        if (!group.phrases.empty()) {
            out.groups.push_back(std::move(group));
            pauseAfterGroup.push_back(byPause);
        }
        group = {};
    };
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (IsSpace(c)) continue;
        if (c == U'/') {
            closePhrase();
        } else if (IsPause(c)) {
            closeGroup(true);
        } else if (c == U'\'') {
            // A mark with no mora before it in its phrase carries no accent.
            if (!phrase.morae.empty() && phrase.accent == 0)
                phrase.accent = static_cast<int>(phrase.morae.size());
        } else if (c == kLongVowel) {
            // The previous sound held one mora longer; at a phrase start there is none.
            if (phrase.morae.empty()) continue;
            const std::string held = phrase.morae.back().phonemes.back();
            phrase.morae.push_back({Encode(c), {held}});
        } else {
            std::u32string pair = {c, i + 1 < text.size() ? text[i + 1] : U'\0'};
            auto joined = JoinedKana().find(pair);
            if (joined != JoinedKana().end()) {
                phrase.morae.push_back({Encode(pair[0]) + Encode(pair[1]), joined->second});
                ++i;
            } else {
                phrase.morae.push_back({Encode(c), SingleKana().at(c)});
            }
        }
    }
    closeGroup(false);

    for (size_t g = 0; g < out.groups.size(); ++g) {
        std::vector<MoraRef> run;
        for (SpokenPhrase& p : out.groups[g].phrases)
            for (size_t m = 0; m < p.morae.size(); ++m)
                run.push_back({&p.morae[m], static_cast<int>(m + 1), p.accent});
        Devoice(run, pauseAfterGroup[g]);
    }
    return out;
}

std::vector<std::string> PhonemesOf(const SpokenText& text) {
    std::vector<std::string> out;
    for (const SpokenBreathGroup& g : text.groups)
        for (const SpokenPhrase& p : g.phrases)
            for (const SpokenMora& m : p.morae)
                for (const std::string& ph : m.phonemes) out.push_back(ph);
    return out;
}
