#pragma once
// How loud a recording is, measured apart from the game's own levelling so the
// audio tests do not grade the code with its own yardstick.
#include <cmath>
#include <cstdint>
#include <vector>

namespace audio_test {

// RMS of the sounding part: the 10 ms frames above -45 dBFS, in dBFS; -200 for silence.
inline double ActiveRmsDb(const std::vector<int16_t>& s, int rate) {
    const size_t frame = rate / 100;
    double sum = 0;
    size_t n = 0;
    for (size_t at = 0; at + frame <= s.size(); at += frame) {
        double e = 0;
        for (size_t i = at; i < at + frame; ++i) e += double(s[i]) * s[i];
        if (e / frame > std::pow(32768.0 * 0.0056, 2)) sum += e, n += frame;
    }
    return n ? 10 * std::log10(sum / n / (32768.0 * 32768.0)) : -200;
}

}  // namespace audio_test
