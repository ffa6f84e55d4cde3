#pragma once
// Our speech notation read as it is written: hiragana (or katakana) pronounced
// kana by kana, "'" after the accent nucleus mora, "/" between accent phrases,
// "、" a pause, "。" the end of a sentence (a pause when more follows).
//
// Marks that have no mora before them in their accent phrase carry no accent
// and are ignored ("'きょそ'しんたい。" is one phrase with its nucleus on "そ").
// When a phrase holds more than one mark after a mora, the first one counts.
// A phrase without a mark is flat (accent type 0).
#include <optional>
#include <string>
#include <vector>

struct SpokenMora {
    std::string kana;                   // as written, UTF-8 hiragana
    std::vector<std::string> phonemes;  // e.g. {"ky", "o"}; a devoiced vowel is upper case
};

struct SpokenPhrase {
    std::vector<SpokenMora> morae;
    int accent = 0;  // 0 flat, else the 1-based mora carrying the nucleus
};

// Phrases between two pauses.
struct SpokenBreathGroup {
    std::vector<SpokenPhrase> phrases;
};

struct SpokenText {
    std::vector<SpokenBreathGroup> groups;
    bool empty() const { return groups.empty(); }
};

// Whether every character of `utf8` belongs to the notation: kana, the long-vowel
// mark, "'", "/", "、", "。" and spaces. Anything else (kanji, letters, digits)
// is ordinary text that needs a text analyser.
bool IsNotation(const std::string& utf8);

// The notation as morae, phrases and breath groups, with the usual devoicing of
// i and u between voiceless consonants applied. nullopt when `utf8` is not
// notation; an empty SpokenText when it holds no kana.
std::optional<SpokenText> ParseNotation(const std::string& utf8);

// All phonemes in order, without pauses ("ky o s o ..."); devoiced vowels stay
// upper case.
std::vector<std::string> PhonemesOf(const SpokenText& text);
