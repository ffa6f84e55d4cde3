#pragma once
// Pitch that follows the accent marks. The voices carry the accent in their
// labels but do not always realise it (a peak one mora late, or hardly any
// movement at all), so after the engine has generated its log-F0 trajectory we
// reshape it, accent phrase by accent phrase, to the Tokyo pattern of the mark:
// the first mora low unless it is the nucleus, high up to and including the
// nucleus, a clear fall on the mora after it, low to the phrase's end; a phrase
// without a mark rises and stays high. Each phrase starts a little lower than
// the one before (declination), steps are smoothed over a few frames, and the
// voice's own level, range and small frame-to-frame movements are kept.
#include <cstddef>
#include <string>
#include <vector>

// One mora of an accent phrase, in frames of the engine.
struct AccentMora {
    size_t firstFrame = 0, endFrame = 0;  // [first, end)
    int phrase = 0;   // accent phrase number in the utterance, from 0
    int mora = 1;     // place in its phrase, from 1
    int morae = 1;    // morae in its phrase
    int accent = 0;   // accent nucleus (mora number), 0 for a phrase without a mark
    bool closure = false;  // っ: a silence with no pitch of its own
};

// The morae of the utterance from its full-context labels and the number of
// frames each label lasts. Silences and pauses belong to no mora.
std::vector<AccentMora> AccentMorae(const std::vector<std::string>& labels,
                                    const std::vector<size_t>& framesPerLabel);

// True when mora `mora` of a phrase of `morae` morae with nucleus `accent`
// (0: none) is high in the Tokyo pattern.
bool MoraIsHigh(int mora, int morae, int accent);

// Reshapes `logF0` (natural log of Hz, one value per frame; only frames with
// `voiced` set are read or written) to the pattern of the morae.
void ShapeAccentContour(std::vector<double>& logF0, const std::vector<bool>& voiced,
                        const std::vector<AccentMora>& morae);
