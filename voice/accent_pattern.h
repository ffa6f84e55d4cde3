#pragma once
// The pitch of a speech text in our notation, mora by mora, the way learners'
// dictionaries draw it: high or low in the Tokyo pattern of each accent
// phrase's mark. The first mora is low unless it carries the nucleus, the
// morae up to the nucleus are high and those after it low; a phrase without a
// mark rises after its first mora and stays high.
#include <string>
#include <vector>

struct AccentMora {
    std::string kana;  // UTF-8 hiragana as the mora is written
    bool high = false;
};

struct AccentPhrase {
    std::vector<AccentMora> morae;
    int nucleus = 0;           // 0 flat, else the 1-based mora the pitch falls after
    bool pauseBefore = false;  // a "、" or "。" lies between it and the phrase before
};

// Whether mora `m` (1-based) of a phrase with this nucleus is high.
bool MoraIsHigh(int m, int nucleus);

// The phrases of the notation; empty when the text is not notation or holds no kana.
std::vector<AccentPhrase> AccentPattern(const std::string& utf8Notation);

// The same phrases spelt with the reading's kana ("ふわらいどう" rather than the
// spoken "ふわらいどお") when the reading has as many morae; else unchanged.
std::vector<AccentPhrase> SpeltAsReading(std::vector<AccentPhrase> phrases, const std::string& utf8Reading);

// "LHHLLL|HL": H or L per mora, "|" between phrases. For checks and tests.
std::string AccentString(const std::vector<AccentPhrase>& phrases);
