#include "voice/full_context_labels.h"

#include <algorithm>
#include <cstdio>

namespace {

// Field ranges the voices know.
constexpr int kMaxGroups = 19, kMaxPhrase = 49, kMaxGroupMorae = 99, kMaxUtteranceMorae = 199;

int Clamp(int v, int lo, int hi) { return std::clamp(v, lo, hi); }
std::string Num(int v) { return std::to_string(v); }

// Flattened view of the utterance with the counts every label needs.
struct Phrase {
    int morae = 0;
    int accent = 0;       // as written: 0 flat
    int group = 0;        // breath group index
    int indexInGroup = 0; // 1-based
    int firstMoraInGroup = 0;  // 1-based
    int indexInUtterance = 0;  // 1-based
    bool pauseBefore = false, pauseAfter = false;
    int LabelAccent() const { return accent == 0 ? morae : accent; }
};
struct Group {
    int phrases = 0, morae = 0;
    int firstPhrase = 0;  // 1-based index in the utterance
    int firstMora = 0;    // 1-based index in the utterance
};
struct Phone {
    std::string name;
    int phrase = -1;        // -1: a pause or silence
    int moraInPhrase = 0;   // 1-based
};

}  // namespace

std::vector<std::string> FullContextLabels(const SpokenText& text) {
    std::vector<Phrase> phrases;
    std::vector<Group> groups;
    std::vector<Phone> phones;  // without the outer silences
    int utteranceMorae = 0;
    for (size_t g = 0; g < text.groups.size(); ++g) {
        Group group;
        group.firstPhrase = static_cast<int>(phrases.size()) + 1;
        group.firstMora = utteranceMorae + 1;
        if (g > 0) phones.push_back({"pau"});
        for (const SpokenPhrase& sp : text.groups[g].phrases) {
            Phrase p;
            p.morae = static_cast<int>(sp.morae.size());
            p.accent = sp.accent;
            p.group = static_cast<int>(g);
            p.indexInGroup = ++group.phrases;
            p.firstMoraInGroup = group.morae + 1;
            p.indexInUtterance = static_cast<int>(phrases.size()) + 1;
            p.pauseBefore = g > 0 && p.indexInGroup == 1;
            p.pauseAfter = g + 1 < text.groups.size() &&
                           &sp == &text.groups[g].phrases.back();
            int m = 0;
            for (const SpokenMora& mora : sp.morae) {
                ++m;
                for (const std::string& ph : mora.phonemes)
                    phones.push_back({ph, static_cast<int>(phrases.size()), m});
            }
            group.morae += p.morae;
            utteranceMorae += p.morae;
            phrases.push_back(p);
        }
        groups.push_back(group);
    }
    if (phrases.empty()) return {};

    const int nPhrases = static_cast<int>(phrases.size());
    const int nGroups = static_cast<int>(groups.size());
    auto groupPart = [&](int g) {
        return Num(Clamp(groups[g].phrases, 1, kMaxPhrase)) + "_" +
               Num(Clamp(groups[g].morae, 1, kMaxGroupMorae));
    };
    auto phraseShape = [&](int a) {
        return Num(Clamp(phrases[a].morae, 1, kMaxPhrase)) + "_" +
               Num(Clamp(phrases[a].LabelAccent(), 1, kMaxPhrase));
    };

    // Phones with silences: index 0 and last are "sil".
    std::vector<std::string> names = {"xx", "xx", "sil"};
    for (const Phone& p : phones) names.push_back(p.name);
    names.insert(names.end(), {"sil", "xx", "xx"});
    const int size = static_cast<int>(phones.size()) + 2;

    std::vector<std::string> labels;
    labels.reserve(size);
    for (int i = 0; i < size; ++i) {
        const bool first = i == 0, last = i == size - 1;
        const Phone* here = (first || last) ? nullptr : &phones[i - 1];
        const bool pause = here && here->phrase < 0;
        const bool edge = first || last || pause;
        // The phrase a silence or pause looks back to and forward to.
        auto phraseOfPhone = [&](int k) { return phones[k].phrase; };
        int cur = edge ? -1 : here->phrase;
        int before, after;  // previous / next accent phrase, -1 when none
        if (first) {
            before = -1;
            after = 0;
        } else if (last) {
            before = nPhrases - 1;
            after = -1;
        } else if (pause) {
            before = phraseOfPhone(i - 2);
            after = phraseOfPhone(i);
        } else {
            before = cur - 1;
            after = cur + 1 < nPhrases ? cur + 1 : -1;
        }
        int curGroup = cur >= 0 ? phrases[cur].group : -1;
        int groupBefore, groupAfter;
        if (first) {
            groupBefore = -1;
            groupAfter = 0;
        } else if (last) {
            groupBefore = nGroups - 1;
            groupAfter = -1;
        } else if (pause) {
            groupBefore = phrases[before].group;
            groupAfter = phrases[after].group;
        } else {
            groupBefore = curGroup - 1;
            groupAfter = curGroup + 1 < nGroups ? curGroup + 1 : -1;
        }

        std::string s = names[i] + "^" + names[i + 1] + "-" + names[i + 2] + "+" + names[i + 3] +
                        "=" + names[i + 4];
        // A: the mora against the accent nucleus.
        if (edge) {
            s += "/A:xx+xx+xx";
        } else {
            const Phrase& p = phrases[cur];
            int m = here->moraInPhrase;
            s += "/A:" + Num(Clamp(m - p.LabelAccent(), -kMaxPhrase, kMaxPhrase)) + "+" +
                 Num(Clamp(m, 1, kMaxPhrase)) + "+" + Num(Clamp(p.morae - m + 1, 1, kMaxPhrase));
        }
        // B, C, D: words. One noun per accent phrase.
        const char* noun = "02";
        // At the silences the labels name the first or last word only when there
        // is more than one.
        int wordBefore = first ? -1 : last ? (nPhrases > 1 ? nPhrases - 1 : -1) : pause ? before : cur - 1;
        int wordAfter = first ? (nPhrases > 1 ? 0 : -1) : last ? -1 : pause ? after : (cur + 1 < nPhrases ? cur + 1 : -1);
        s += wordBefore >= 0 ? std::string("/B:") + noun + "-xx_xx" : "/B:xx-xx_xx";
        s += edge ? "/C:xx_xx+xx" : std::string("/C:") + noun + "_xx+xx";
        s += wordAfter >= 0 ? std::string("/D:") + noun + "+xx_xx" : "/D:xx+xx_xx";
        // E: the previous accent phrase, and whether a pause lies between.
        if (before < 0) {
            s += "/E:xx_xx!xx_xx";
        } else {
            s += "/E:" + phraseShape(before) + "!0_xx";
        }
        s += (edge || before < 0) ? "-xx" : phrases[before].pauseAfter ? "-0" : "-1";
        // F: the current accent phrase.
        if (edge) {
            s += "/F:xx_xx#xx_xx@xx_xx|xx_xx";
        } else {
            const Phrase& p = phrases[cur];
            const Group& g = groups[p.group];
            s += "/F:" + phraseShape(cur) + "#0_xx@" + Num(Clamp(p.indexInGroup, 1, kMaxPhrase)) +
                 "_" + Num(Clamp(g.phrases - p.indexInGroup + 1, 1, kMaxPhrase)) + "|" +
                 Num(Clamp(p.firstMoraInGroup, 1, kMaxGroupMorae)) + "_" +
                 Num(Clamp(g.morae - p.firstMoraInGroup + 1, 1, kMaxGroupMorae));
        }
        // G: the next accent phrase.
        if (after < 0) {
            s += "/G:xx_xx%xx_xx";
        } else {
            s += "/G:" + phraseShape(after) + "%0_xx";
        }
        s += (edge || after < 0) ? "_xx" : phrases[after].pauseBefore ? "_0" : "_1";
        // H, I, J: breath groups.
        s += groupBefore >= 0 ? "/H:" + groupPart(groupBefore) : std::string("/H:xx_xx");
        if (edge) {
            s += "/I:xx-xx@xx+xx&xx-xx|xx+xx";
        } else {
            const Group& g = groups[curGroup];
            int gi = curGroup + 1;
            s += "/I:" + Num(Clamp(g.phrases, 1, kMaxPhrase)) + "-" +
                 Num(Clamp(g.morae, 1, kMaxGroupMorae)) + "@" + Num(Clamp(gi, 1, kMaxGroups)) + "+" +
                 Num(Clamp(nGroups - gi + 1, 1, kMaxGroups)) + "&" +
                 Num(Clamp(g.firstPhrase, 1, kMaxPhrase)) + "-" +
                 Num(Clamp(nPhrases - g.firstPhrase + 1, 1, kMaxPhrase)) + "|" +
                 Num(Clamp(g.firstMora, 1, kMaxUtteranceMorae)) + "+" +
                 Num(Clamp(utteranceMorae - g.firstMora + 1, 1, kMaxUtteranceMorae));
        }
        s += groupAfter >= 0 ? "/J:" + groupPart(groupAfter) : std::string("/J:xx_xx");
        // K: the utterance.
        s += "/K:" + Num(Clamp(nGroups, 1, kMaxGroups)) + "+" + Num(Clamp(nPhrases, 1, kMaxPhrase)) +
             "-" + Num(Clamp(utteranceMorae, 1, kMaxUtteranceMorae));
        labels.push_back(std::move(s));
    }
    return labels;
}

namespace {
std::string StripTimes(const std::string& line) {
    // "start end label" -> "label"
    size_t a = line.find(' ');
    if (a == std::string::npos) return line;
    size_t b = line.find(' ', a + 1);
    return b == std::string::npos ? line : line.substr(b + 1);
}
std::string Between(const std::string& s, const std::string& from, char to) {
    size_t a = s.find(from);
    if (a == std::string::npos) return {};
    a += from.size();
    size_t b = s.find(to, a);
    return s.substr(a, b == std::string::npos ? std::string::npos : b - a);
}
}  // namespace

LabelFields ReadLabel(const std::string& raw) {
    std::string line = StripTimes(raw);
    LabelFields f;
    f.phoneme = Between(line, "-", '+');
    f.accentPhraseMorae = Between(line, "/F:", '_');
    std::string fpart = Between(line, "/F:", '#');
    size_t us = fpart.find('_');
    f.accentType = us == std::string::npos ? std::string() : fpart.substr(us + 1);
    f.moraInPhrase = Between(Between(line, "/A:", '/'), "+", '+');
    return f;
}

std::string WithoutWordFields(const std::string& raw) {
    std::string line = StripTimes(raw);
    size_t b = line.find("/B:");
    size_t e = line.find("/E:");
    if (b == std::string::npos || e == std::string::npos) return line;
    return line.substr(0, b) + line.substr(e);
}
