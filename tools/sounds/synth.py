"""Small additive synthesiser: tones, envelopes, noise, filters and wave output."""
import wave

import numpy as np

SR = 44100


def seconds(n):
    return np.arange(n) / SR


def samples(dur):
    return int(round(dur * SR))


def midi_hz(m):
    return 440.0 * 2.0 ** ((m - 69) / 12.0)


def attack_release(n, attack, release):
    """Linear attack and release in seconds, flat in between."""
    env = np.ones(n)
    a, r = min(samples(attack), n), min(samples(release), n)
    if a:
        env[:a] *= np.linspace(0.0, 1.0, a, endpoint=False)
    if r:
        env[n - r:] *= np.linspace(1.0, 0.0, r)
    return env


def phase_of(freq, n):
    """Running phase of a (possibly time-varying) frequency, in radians."""
    f = np.broadcast_to(np.asarray(freq, dtype=float), (n,))
    return 2 * np.pi * np.cumsum(f) / SR


def partials(freq, dur, amps, decays=None, attack=0.004, release=0.01, vibrato=None):
    """Sum of harmonics k*freq with amplitudes amps[k-1]; each may decay at its own rate."""
    n = samples(dur)
    t = seconds(n)
    f = np.full(n, float(freq))
    if vibrato:
        rate, depth, delay = vibrato
        ramp = np.clip((t - delay) / 0.3, 0.0, 1.0)
        f = f * (1.0 + depth * ramp * np.sin(2 * np.pi * rate * t))
    ph = phase_of(f, n)
    out = np.zeros(n)
    for k, a in enumerate(amps, start=1):
        if k * freq >= SR / 2 - 1000:
            break
        part = a * np.sin(k * ph)
        if decays is not None:
            part *= np.exp(-t * decays[k - 1])
        out += part
    return out * attack_release(n, attack, release)


def sweep(f0, f1, dur, amps=(1.0,)):
    """Exponential pitch glide from f0 to f1 Hz."""
    n = samples(dur)
    f = f0 * (f1 / f0) ** np.linspace(0.0, 1.0, n)
    ph = phase_of(f, n)
    return sum(a * np.sin(k * ph) for k, a in enumerate(amps, start=1))


def noise(n, seed):
    return np.random.RandomState(seed).uniform(-1.0, 1.0, n)


def lowpass(x, cutoff):
    """One-pole low-pass; cutoff in Hz, a number or one value per sample."""
    c = np.broadcast_to(np.asarray(cutoff, dtype=float), x.shape)
    alpha = 1.0 - np.exp(-2 * np.pi * c / SR)
    y = np.empty_like(x)
    acc = 0.0
    for i in range(len(x)):  # short effects and drum hits only
        acc += alpha[i] * (x[i] - acc)
        y[i] = acc
    return y


def highpass(x, cutoff):
    return x - lowpass(x, cutoff)


def exp_env(n, tau):
    return np.exp(-seconds(n) / tau)


def place(dst, src, at):
    """Adds src into dst starting at sample `at`, clipped to dst."""
    end = min(len(dst), at + len(src))
    if end > at:
        dst[at:end] += src[: end - at]


def fade_edges(x, fade_in=0.002, fade_out=0.01):
    n = x.shape[-1]
    env = attack_release(n, fade_in, fade_out)
    return x * env


def normalise(x, peak_db):
    peak = np.max(np.abs(x))
    return x * (10 ** (peak_db / 20.0) / peak) if peak > 0 else x


def write_wav(path, x):
    """16-bit PCM at 44.1 kHz; x is mono (n,) or stereo (2, n) in -1..1."""
    data = np.atleast_2d(x)
    pcm = np.clip(np.round(data.T * 32767.0), -32768, 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(data.shape[0])
        w.setsampwidth(2)
        w.setframerate(SR)
        w.writeframes(pcm.tobytes())
