#pragma once
// Levels of synthesised speech: every utterance of either voice comes out at the
// same loudness, never reaches full scale, and starts and ends without dead air.
#include <cstdint>
#include <vector>

// Gated loudness in dB against full scale (32768): the mean power of the 50 ms
// blocks above -70 dBFS and no more than 10 dB under their mean. Far below any
// real level (-200) for silence.
double SpeechLoudnessDb(const std::vector<double>& samples, int sampleRate);
double SpeechLoudnessDb(const std::vector<int16_t>& samples, int sampleRate);

struct SpeechLevels {
    double loudnessDb = -17.0;  // where every utterance is brought
    double ceilingDb = -2.0;    // no sample goes above this
    int edgeSilenceMs = 30;     // quiet kept before the first and after the last sound
};

// Trims the quiet ends to `edgeSilenceMs`, brings the loudness to `loudnessDb`
// and holds every peak under the ceiling with a smooth gain dip. The result is
// 16-bit samples.
std::vector<int16_t> FinishSpeech(std::vector<double> samples, int sampleRate,
                                  const SpeechLevels& levels = {});

// Leading and trailing silence (samples below -50 dBFS at the very ends), in ms.
double LeadingSilenceMs(const std::vector<int16_t>& samples, int sampleRate);
double TrailingSilenceMs(const std::vector<int16_t>& samples, int sampleRate);
