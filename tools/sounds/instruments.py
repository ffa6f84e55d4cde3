"""Instrument voices and drum hits for the music. Each returns a mono signal."""
import numpy as np

from synth import (exp_env, highpass, lowpass, midi_hz, noise, partials, place, samples,
                   seconds, sweep)


def koto(m, dur):
    """Plucked string: bright at the attack, upper partials fade first."""
    k = np.arange(1, 11)
    ring = max(dur, 1.4)
    return 0.8 * partials(midi_hz(m), ring, 1.0 / k ** 1.2, 2.2 + 1.3 * k, attack=0.002,
                          release=0.08)


_BREATH = None


def flute(m, dur):
    """Bamboo-flute voice: near-sine tone, delayed vibrato, a little breath."""
    global _BREATH
    if _BREATH is None:
        _BREATH = highpass(lowpass(noise(samples(6.0), 11), 2500), 600)
    tone = partials(midi_hz(m), dur, (1.0, 0.22, 0.07, 0.03), attack=0.07,
                    release=min(0.15, dur / 2), vibrato=(5.2, 0.006, 0.25))
    n = len(tone)
    breath = _BREATH[:n] * np.abs(tone).max() * 0.6 if n <= len(_BREATH) else 0
    return 0.7 * (tone + breath * exp_env(n, 0.12))


def pad(ms, dur):
    """Soft sustained chord: detuned sine pairs, slow swell."""
    out = None
    for m in ms:
        f = midi_hz(m)
        v = 0
        for detune in (0.9985, 1.0015):
            v = v + partials(f * detune, dur, (1.0, 0.2), attack=min(0.6, dur / 3),
                             release=min(0.8, dur / 2))
        out = v if out is None else out + v
    return 0.18 * out


def bass(m, dur):
    return 0.9 * partials(midi_hz(m), dur, (1.0, 0.5, 0.25, 0.1), (2.0, 3.0, 5.0, 8.0),
                          attack=0.005, release=min(0.06, dur / 3))


def square_lead(m, dur):
    odd = [1.0 / k if k % 2 else 0.0 for k in range(1, 12)]
    return 0.45 * partials(midi_hz(m), dur, odd, [0.6 + 0.15 * k for k in range(1, 12)],
                           attack=0.008, release=min(0.06, dur / 3), vibrato=(6.0, 0.004, 0.15))


def brass(m, dur):
    saw = [1.0 / k for k in range(1, 13)]
    return 0.4 * partials(midi_hz(m), dur, saw, [0.5 + 0.35 * k for k in range(1, 13)],
                          attack=0.03, release=min(0.08, dur / 3), vibrato=(5.5, 0.004, 0.2))


def _taiko():
    n = samples(0.6)
    body = sweep(95, 48, 0.6, amps=(1.0, 0.3)) * exp_env(n, 0.16)
    skin = lowpass(noise(samples(0.05), 21), 1200) * exp_env(samples(0.05), 0.012)
    place(body, 0.7 * skin, 0)
    return body


def _kick():
    n = samples(0.3)
    return sweep(140, 45, 0.3) * exp_env(n, 0.08)


def _snare():
    n = samples(0.22)
    rattle = highpass(noise(n, 22), 1200) * exp_env(n, 0.06)
    return 0.7 * rattle + 0.5 * sweep(220, 170, 0.22) * exp_env(n, 0.04)


def _hat():
    n = samples(0.06)
    return 0.5 * highpass(noise(n, 23), 6000) * exp_env(n, 0.015)


def _shaker():
    n = samples(0.09)
    env = np.sin(np.pi * seconds(n) / 0.09) ** 2
    return 0.35 * highpass(noise(n, 24), 4500) * env


def _woodblock():
    n = samples(0.12)
    return 0.6 * (partials(880, 0.12, (1.0,), attack=0.0005) * exp_env(n, 0.025)
                  + 0.5 * partials(1420, 0.12, (1.0,), attack=0.0005) * exp_env(n, 0.015))


def _crash():
    n = samples(1.6)
    return 0.35 * highpass(noise(n, 25), 3500) * exp_env(n, 0.45)


DRUMS = {}


def drum(name):
    if not DRUMS:
        DRUMS.update(taiko=_taiko(), kick=_kick(), snare=_snare(), hat=_hat(),
                     shaker=_shaker(), wood=_woodblock(), crash=_crash())
    return DRUMS[name]
