#include "voice/accent_contour.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "voice/full_context_labels.h"

namespace {

const double kSemitone = std::log(2.0) / 12.0;

// How far apart the high and the low of a phrase stand: the voice's own range
// where it moves enough, never so little that the fall is missed.
constexpr double kMinStepSemitones = 4.0, kMaxStepSemitones = 7.0;
// Each accent phrase after a pause-free accented one stands this share of the
// step lower (the register steps down after a fall), down to kMaxDownstep steps.
constexpr double kDownstep = 0.45, kMaxDownstep = 0.9;
// After the fall the pitch keeps sinking a little towards the phrase's end.
constexpr double kSinkPerMora = 0.4, kMaxSink = 1.2;  // semitones
// A phrase without a mark drifts down only this little per mora.
constexpr double kFlatDriftPerMora = 0.12, kMaxFlatDrift = 0.5;  // semitones
// Steps are smoothed over this many frames on each side (5 ms frames).
constexpr int kStepSmoothing = 3;
// The voice's own small movements are taken from the difference to its
// average over this many frames on each side, and kept within kMaxDetail.
constexpr int kDetailWindow = 10;
constexpr double kMaxDetail = 0.8;  // semitones
// No jump between neighbouring voiced frames beyond this.
constexpr double kMaxFrameJump = 2.0;  // semitones

int ToInt(const std::string& s, int fallback) {
    if (s.empty() || s == "xx") return fallback;
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    return end && *end == '\0' ? static_cast<int>(v) : fallback;
}

bool IsSilence(const std::string& phoneme) { return phoneme == "sil" || phoneme == "pau"; }

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    size_t k = static_cast<size_t>(p * (v.size() - 1));
    std::nth_element(v.begin(), v.begin() + k, v.end());
    return v[k];
}

}  // namespace

bool MoraIsHigh(int mora, int morae, int accent) {
    if (accent == 1) return mora == 1;
    if (mora == 1) return morae == 1 && accent == 0;  // a lone unmarked mora stays up
    return accent == 0 || mora <= accent;
}

std::vector<AccentMora> AccentMorae(const std::vector<std::string>& labels,
                                    const std::vector<size_t>& framesPerLabel) {
    std::vector<AccentMora> out;
    size_t frame = 0;
    int phrase = -1;
    bool inPhrase = false;
    for (size_t i = 0; i < labels.size() && i < framesPerLabel.size(); ++i) {
        const size_t first = frame;
        frame += framesPerLabel[i];
        LabelFields f = ReadLabel(labels[i]);
        const int m = ToInt(f.moraInPhrase, 0);
        if (IsSilence(f.phoneme) || m <= 0) {
            inPhrase = false;
            continue;
        }
        const int n = std::max(1, ToInt(f.accentPhraseMorae, 1));
        // The labels write a phrase without a mark with its nucleus on its last
        // mora, as they write a phrase marked there: both stay high to the end.
        int a = std::clamp(ToInt(f.accentType, 0), 0, n);
        if (a == n) a = 0;
        const AccentMora* prev = inPhrase && !out.empty() ? &out.back() : nullptr;
        const bool newPhrase = !prev || m < prev->mora ||
                               (m == prev->mora && m == 1 && (n != prev->morae || a != prev->accent));
        if (newPhrase) ++phrase;
        if (newPhrase || m != prev->mora) {
            out.push_back({first, frame, phrase, m, n, a, f.phoneme == "cl"});
        } else {
            out.back().endFrame = frame;
        }
        inPhrase = true;
    }
    return out;
}

void ShapeAccentContour(std::vector<double>& logF0, const std::vector<bool>& voiced,
                        const std::vector<AccentMora>& morae) {
    const size_t frames = std::min(logF0.size(), voiced.size());
    std::vector<double> own;
    for (size_t t = 0; t < frames; ++t)
        if (voiced[t]) own.push_back(logF0[t]);
    if (own.size() < 2 || morae.empty()) return;

    const double centre = Percentile(own, 0.5);
    const double range = (Percentile(own, 0.9) - Percentile(own, 0.1)) / kSemitone;
    const double step = std::clamp(range * 0.7, kMinStepSemitones, kMaxStepSemitones) * kSemitone;

    // The target level of every frame inside a mora.
    std::vector<double> target(frames, 0);
    std::vector<bool> hasTarget(frames, false);
    double register_ = 0;  // how far the current phrase's register has stepped down
    for (size_t k = 0; k < morae.size(); ++k) {
        const AccentMora& mo = morae[k];
        if (k > 0 && mo.phrase != morae[k - 1].phrase) {
            const AccentMora& before = morae[k - 1];
            const bool pause = mo.firstFrame > before.endFrame;
            if (pause) {
                register_ = 0;  // a pause lets the voice start afresh
            } else if (before.accent > 0) {
                register_ = std::min(register_ + kDownstep, kMaxDownstep);
            }
        }
        double level = centre - register_ * step;
        if (MoraIsHigh(mo.mora, mo.morae, mo.accent)) {
            level += step / 2;
        } else {
            level -= step / 2;
        }
        if (mo.accent > 0 && mo.mora > mo.accent) {
            level -= std::min((mo.mora - mo.accent - 1) * kSinkPerMora, kMaxSink) * kSemitone;
        } else if (mo.accent == 0 && mo.mora > 1) {
            level -= std::min((mo.mora - 2) * kFlatDriftPerMora, kMaxFlatDrift) * kSemitone;
        }
        for (size_t t = mo.firstFrame; t < std::min(mo.endFrame, frames); ++t) {
            target[t] = level;
            hasTarget[t] = true;
        }
    }

    // Smooth the steps between morae.
    std::vector<double> smoothTarget(target);
    for (size_t t = 0; t < frames; ++t) {
        if (!hasTarget[t]) continue;
        double sum = 0;
        int n = 0;
        for (long u = static_cast<long>(t) - kStepSmoothing; u <= static_cast<long>(t) + kStepSmoothing; ++u) {
            if (u < 0 || u >= static_cast<long>(frames) || !hasTarget[u]) continue;
            sum += target[u];
            ++n;
        }
        smoothTarget[t] = sum / n;
    }

    // The voice's own small movements around its local average, within each
    // voiced stretch, laid over the new line.
    std::vector<double> shaped(logF0.begin(), logF0.begin() + frames);
    for (size_t t = 0; t < frames; ++t) {
        if (!voiced[t] || !hasTarget[t]) continue;
        double sum = 0;
        int n = 0;
        for (long u = static_cast<long>(t); u >= 0 && voiced[u] && static_cast<long>(t) - u <= kDetailWindow; --u) {
            sum += logF0[u];
            ++n;
        }
        for (size_t u = t + 1; u < frames && voiced[u] && u - t <= kDetailWindow; ++u) {
            sum += logF0[u];
            ++n;
        }
        const double detail = std::clamp(logF0[t] - sum / n, -kMaxDetail * kSemitone, kMaxDetail * kSemitone);
        shaped[t] = smoothTarget[t] + detail;
    }

    // No jumps inside a voiced stretch: a frame follows its neighbour within the limit.
    for (size_t t = 1; t < frames; ++t) {
        if (!voiced[t] || !voiced[t - 1]) continue;
        const double limit = kMaxFrameJump * kSemitone;
        shaped[t] = std::clamp(shaped[t], shaped[t - 1] - limit, shaped[t - 1] + limit);
    }
    for (size_t t = 0; t < frames; ++t)
        if (voiced[t]) logF0[t] = shaped[t];
}
