#pragma once
// Hears whether spoken pitch follows the accent marks: the pitch is tracked on
// the synthesised sound and compared mora by mora, with the morae placed by the
// engine's own frame timing. Used by the tests and the accent report.
#include <optional>
#include <string>
#include <vector>

#include "voice/accent_contour.h"

// A fall of at least this much between two morae is heard as a fall.
constexpr double kHeardFallSemitones = 1.5;

// Fundamental frequency in Hz per frame of `hop` samples (0: unvoiced), by
// normalised autocorrelation over 40 ms windows within 60..500 Hz.
std::vector<double> TrackPitch(const std::vector<double>& samples, int sampleRate, size_t hop);

struct PhraseHeard {
    int morae = 0;
    int accent = 0;          // 0: no mark
    bool fallHeard = false;  // the marked mora falls to the next voiced mora
    bool earlyFall = false;  // a fall before the mark (or, unmarked, before the last mora)
    bool ok = false;         // marked: fall heard and no early fall; unmarked: no early fall
};

// The verdict on every accent phrase of one synthesised utterance.
std::vector<PhraseHeard> HearAccents(const std::vector<double>& samples, int sampleRate,
                                     size_t framePeriod, const std::vector<std::string>& labels,
                                     const std::vector<size_t>& framesPerLabel);

class HtsVoice;

// Says a text in our notation with `voice` (its sentences one by one, as the
// game does) and hears every accent phrase; nullopt when it cannot be said.
std::optional<std::vector<PhraseHeard>> SayAndHear(HtsVoice& voice, const std::string& notation,
                                                   double rate);

// One idiom's verdict: marked when one of its phrases carries a mark; right when
// every phrase is.
struct IdiomHeard {
    bool marked = false;
    bool right = false;
};
IdiomHeard JudgeIdiom(const std::vector<PhraseHeard>& phrases);
