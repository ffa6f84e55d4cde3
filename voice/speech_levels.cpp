#include "voice/speech_levels.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace {

constexpr double kFullScale = 32768.0;

template <typename T>
double Loudness(const std::vector<T>& s, int rate) {
    if (rate <= 0) return -200.0;
    const size_t block = static_cast<size_t>(rate) / 20;
    std::vector<double> powers;
    for (size_t start = 0; start < s.size(); start += block) {
        size_t end = std::min(s.size(), start + block);
        double sum = 0;
        for (size_t i = start; i < end; ++i) sum += double(s[i]) * double(s[i]);
        double power = sum / double(end - start) / (kFullScale * kFullScale);
        if (power > 1e-7) powers.push_back(power);  // -70 dBFS
    }
    if (powers.empty()) return -200.0;
    double mean = 0;
    for (double p : powers) mean += p;
    mean /= double(powers.size());
    double gated = 0;
    size_t n = 0;
    for (double p : powers) {
        if (p >= mean * 0.1) gated += p, ++n;  // within 10 dB of the mean
    }
    return 10.0 * std::log10(gated / double(n));
}

// Index of the first / one past the last sample louder than `threshold`.
template <typename T>
std::pair<size_t, size_t> SoundingSpan(const std::vector<T>& s, double threshold) {
    size_t first = 0;
    while (first < s.size() && std::abs(double(s[first])) < threshold) ++first;
    size_t end = s.size();
    while (end > first && std::abs(double(s[end - 1])) < threshold) --end;
    return {first, end};
}

constexpr double kSilenceThreshold = kFullScale * 0.00316;  // -50 dBFS

}  // namespace

double SpeechLoudnessDb(const std::vector<double>& samples, int sampleRate) {
    return Loudness(samples, sampleRate);
}
double SpeechLoudnessDb(const std::vector<int16_t>& samples, int sampleRate) {
    return Loudness(samples, sampleRate);
}

std::vector<int16_t> FinishSpeech(std::vector<double> s, int rate, const SpeechLevels& levels) {
    if (s.empty() || rate <= 0) return {};
    // Loudness first, so that the edges are judged at the final level.
    double loudness = Loudness(s, rate);
    if (loudness > -150.0) {
        double gain = std::pow(10.0, (levels.loudnessDb - loudness) / 20.0);
        for (double& x : s) x *= gain;
    }

    // Peaks: the gain each sample may have at most, widened to a minimum over
    // +-R and then averaged over +-R/2, so it never exceeds what any sample
    // needs and moves smoothly (no clicks) around a peak.
    const double ceiling = kFullScale * std::pow(10.0, levels.ceilingDb / 20.0);
    bool over = std::any_of(s.begin(), s.end(), [&](double x) { return std::abs(x) > ceiling; });
    if (over) {
        const long n = static_cast<long>(s.size());
        const long R = rate / 200;  // 5 ms
        std::vector<double> need(n);
        for (long i = 0; i < n; ++i) need[i] = std::min(1.0, ceiling / std::max(1e-9, std::abs(s[i])));
        // Sliding minimum over [i-R, i+R].
        std::vector<double> widened(n);
        std::deque<long> window;
        for (long i = 0, j = 0; i < n; ++i) {
            for (; j < n && j <= i + R; ++j) {
                while (!window.empty() && need[window.back()] >= need[j]) window.pop_back();
                window.push_back(j);
            }
            while (window.front() < i - R) window.pop_front();
            widened[i] = need[window.front()];
        }
        // Moving average over [i-R/2, i+R/2].
        const long h = R / 2;
        std::vector<double> prefix(n + 1, 0.0);
        for (long i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + widened[i];
        for (long i = 0; i < n; ++i) {
            long a = std::max(0L, i - h), b = std::min(n - 1, i + h);
            // Near the ends the window is cut short; the minimum there still covers it.
            double g = (prefix[b + 1] - prefix[a]) / double(b - a + 1);
            s[i] *= std::min(g, need[i]);
        }
    }

    // Edges: keep a little quiet before the first and after the last sound.
    auto [first, end] = SoundingSpan(s, kSilenceThreshold);
    if (first >= end) return {};
    size_t margin = static_cast<size_t>(rate) * levels.edgeSilenceMs / 1000;
    size_t from = first > margin ? first - margin : 0;
    size_t to = std::min(s.size(), end + margin);
    std::vector<int16_t> out;
    out.reserve(to - from);
    for (size_t i = from; i < to; ++i)
        out.push_back(static_cast<int16_t>(std::lround(std::clamp(s[i], -32767.0, 32767.0))));
    return out;
}

double LeadingSilenceMs(const std::vector<int16_t>& s, int rate) {
    auto [first, end] = SoundingSpan(s, kSilenceThreshold);
    return rate > 0 ? 1000.0 * double(first) / rate : 0.0;
}

double TrailingSilenceMs(const std::vector<int16_t>& s, int rate) {
    auto [first, end] = SoundingSpan(s, kSilenceThreshold);
    return rate > 0 ? 1000.0 * double(s.size() - std::max(end, first)) / rate : 0.0;
}
