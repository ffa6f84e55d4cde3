#include "voice/accent_check.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "voice/full_context_labels.h"
#include "voice/hts_voice.h"
#include "voice/notation.h"
#include "voice/notation_synthesizer.h"

namespace {

double Semitones(double fromHz, double toHz) { return 12.0 * std::log2(toHz / fromHz); }

// The pitch of a mora: the median of its longest steady voiced run (neighbouring
// frames within a semitone), leaving out a few frames at each edge where the
// pitch moves between morae. nullopt when no run is long enough: a whispered
// mora shows only stray frames, and has no pitch to judge.
std::optional<double> MoraPitch(const std::vector<double>& pitch, const AccentMora& m) {
    constexpr size_t kEdge = 2, kMinRun = 4;
    const size_t first = m.firstFrame + kEdge;
    const size_t end = std::min(pitch.size(), m.endFrame > kEdge ? m.endFrame - kEdge : 0);
    std::vector<double> best, run;
    for (size_t t = first; t < end; ++t) {
        const bool continues = pitch[t] > 0 && !run.empty() && std::abs(Semitones(run.back(), pitch[t])) < 1.0;
        if (!continues) run.clear();
        if (pitch[t] > 0) run.push_back(pitch[t]);
        if (run.size() > best.size()) best = run;
    }
    if (best.size() < kMinRun) return std::nullopt;
    std::nth_element(best.begin(), best.begin() + best.size() / 2, best.end());
    return best[best.size() / 2];
}

}  // namespace

std::vector<double> TrackPitch(const std::vector<double>& s, int rate, size_t hop) {
    const size_t window = static_cast<size_t>(rate) / 25;
    const size_t minLag = static_cast<size_t>(rate) / 500, maxLag = static_cast<size_t>(rate) / 60;
    double peak = 0;
    for (double x : s) peak = std::max(peak, std::abs(x));
    std::vector<double> out;
    for (size_t centre = 0; centre < s.size(); centre += hop) {
        double f0 = 0;
        if (centre >= window / 2 && centre + window / 2 + maxLag < s.size()) {
            const size_t start = centre - window / 2;
            double energy = 0;
            for (size_t i = 0; i < window; ++i) energy += s[start + i] * s[start + i];
            const double rms = std::sqrt(energy / window);
            if (rms > peak * 0.015) {
                double best = 0;
                size_t bestLag = 0;
                std::vector<double> score(maxLag + 2, 0);
                for (size_t lag = minLag; lag <= maxLag + 1; ++lag) {
                    double num = 0, e2 = 0;
                    for (size_t i = 0; i < window; ++i) {
                        num += s[start + i] * s[start + i + lag];
                        e2 += s[start + i + lag] * s[start + i + lag];
                    }
                    score[lag] = num / std::sqrt(energy * e2 + 1e-9);
                }
                for (size_t lag = minLag + 1; lag <= maxLag; ++lag) {
                    if (score[lag] > best && score[lag] >= score[lag - 1] && score[lag] >= score[lag + 1]) {
                        best = score[lag];
                        bestLag = lag;
                    }
                }
                // An octave (or a twelfth) too low is the usual slip of
                // autocorrelation: take half or a third of the lag when it is
                // nearly as good.
                bool shorter = false;
                for (size_t k : {3u, 2u}) {
                    if (shorter) break;
                    const size_t guess = (bestLag + k / 2) / k;
                    for (size_t lag = std::max(minLag + 1, guess - std::min(guess, size_t{2}));
                         lag <= guess + 2 && lag <= maxLag; ++lag) {
                        if (score[lag] > 0.9 * best && score[lag] >= score[lag - 1] &&
                            score[lag] >= score[lag + 1]) {
                            bestLag = lag;
                            best = score[lag];
                            shorter = true;
                            break;
                        }
                    }
                }
                if (best > 0.6 && bestLag > 0) {
                    // Parabolic interpolation of the peak.
                    const double a = score[bestLag - 1], b = score[bestLag], c = score[bestLag + 1];
                    const double d = (a - 2 * b + c) != 0 ? 0.5 * (a - c) / (a - 2 * b + c) : 0;
                    f0 = rate / (bestLag + d);
                }
            }
        }
        out.push_back(f0);
    }
    return out;
}

std::vector<PhraseHeard> HearAccents(const std::vector<double>& samples, int sampleRate,
                                     size_t framePeriod, const std::vector<std::string>& labels,
                                     const std::vector<size_t>& framesPerLabel) {
    std::vector<PhraseHeard> out;
    if (framePeriod == 0) return out;
    const std::vector<AccentMora> morae = AccentMorae(labels, framesPerLabel);
    // Frame t of the engine covers samples [t * period, (t + 1) * period): track
    // at the middle of each.
    std::vector<double> pitch;
    {
        std::vector<double> shifted(samples.begin() + std::min(samples.size(), framePeriod / 2), samples.end());
        pitch = TrackPitch(shifted, sampleRate, framePeriod);
    }
    // A frame an octave away from the utterance's middle pitch is the tracker's
    // slip, not speech: no accent moves the voice that far.
    std::vector<double> voicedPitch;
    for (double f : pitch)
        if (f > 0) voicedPitch.push_back(f);
    if (!voicedPitch.empty()) {
        std::nth_element(voicedPitch.begin(), voicedPitch.begin() + voicedPitch.size() / 2, voicedPitch.end());
        const double middle = voicedPitch[voicedPitch.size() / 2];
        for (double& f : pitch) {
            if (f <= 0) continue;
            const double away = Semitones(middle, f);
            if (away > 9 && std::abs(away - 12) < 6) f /= 2;
            if (away < -9 && std::abs(away + 12) < 6) f *= 2;
        }
    }
    std::vector<std::optional<double>> moraPitch;
    // A closure's few voiced frames are the fading vowel before it, not a pitch of its own.
    for (const AccentMora& m : morae) moraPitch.push_back(m.closure ? std::nullopt : MoraPitch(pitch, m));

    for (size_t k = 0; k < morae.size();) {
        size_t end = k;
        while (end < morae.size() && morae[end].phrase == morae[k].phrase) ++end;
        PhraseHeard h;
        h.morae = morae[k].morae;
        h.accent = morae[k].accent;
        // Falls between neighbouring voiced morae of the phrase, before the mark
        // (or, without one, before the last mora).
        const int lastChecked = h.accent > 0 ? h.accent : h.morae - 1;
        std::optional<double> before;
        for (size_t i = k; i < end; ++i) {
            if (!moraPitch[i]) continue;
            if (morae[i].mora > lastChecked) break;
            if (before && Semitones(*before, *moraPitch[i]) <= -kHeardFallSemitones) h.earlyFall = true;
            before = moraPitch[i];
        }
        if (h.accent > 0) {
            // The marked mora, or the last voiced one before it when it is whispered,
            // against the next voiced mora after it.
            std::optional<double> nucleus, next;
            for (size_t i = k; i < end && morae[i].mora <= h.accent; ++i)
                if (moraPitch[i]) nucleus = moraPitch[i];
            size_t i = k;
            while (i < end && morae[i].mora <= h.accent) ++i;
            for (; i < morae.size() && !next; ++i) next = moraPitch[i];
            h.fallHeard = nucleus && next && Semitones(*nucleus, *next) <= -kHeardFallSemitones;
            h.ok = h.fallHeard && !h.earlyFall;
        } else {
            h.ok = !h.earlyFall;
        }
        out.push_back(h);
        k = end;
    }
    return out;
}

std::optional<std::vector<PhraseHeard>> SayAndHear(HtsVoice& voice, const std::string& notation,
                                                   double rate) {
    std::vector<PhraseHeard> out;
    for (const auto& [isNotation, sentence] : SplitIntoRuns(notation)) {
        if (!isNotation) return std::nullopt;
        auto spoken = ParseNotation(sentence);
        if (!spoken) return std::nullopt;
        const std::vector<std::string> labels = FullContextLabels(*spoken);
        auto samples = voice.Synthesize(labels, rate);
        if (!samples) return std::nullopt;
        for (const PhraseHeard& h : HearAccents(*samples, voice.SampleRate(), voice.FramePeriod(), labels,
                                                voice.LastLabelFrames()))
            out.push_back(h);
    }
    return out;
}

IdiomHeard JudgeIdiom(const std::vector<PhraseHeard>& phrases) {
    IdiomHeard v;
    v.right = !phrases.empty();
    for (const PhraseHeard& h : phrases) {
        v.marked = v.marked || h.accent > 0;
        v.right = v.right && h.ok;
    }
    return v;
}
