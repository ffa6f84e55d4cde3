#pragma once
// Speech audio as the engine writes it: RIFF WAVE files with 16-bit PCM.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct SpeechPcm {
    std::vector<int16_t> samples;  // mono
    int sampleRate = 0;
};

// Decodes 16-bit PCM WAV bytes (the first channel when there are several).
// nullopt for anything else, a truncated file or one without samples.
std::optional<SpeechPcm> DecodeWav(std::string_view bytes);

// Encodes mono 16-bit PCM as WAV bytes (used to build test engines' output).
std::string EncodeWav(const SpeechPcm& pcm);
