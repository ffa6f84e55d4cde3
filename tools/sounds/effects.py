"""The game's short wave effects. Each function returns a mono signal in -1..1."""
import numpy as np

from synth import (SR, exp_env, fade_edges, highpass, lowpass, midi_hz, noise, partials,
                   place, samples, seconds, sweep)

BELL = (1.0, 0.0, 0.35, 0.0, 0.12)          # odd partials: a soft chime
BELL_DECAY = (3.0, 4.0, 6.0, 8.0, 10.0)


def bell(m, dur, decay_scale=1.0):
    return partials(midi_hz(m), dur, BELL, [d * decay_scale for d in BELL_DECAY], attack=0.002)


def down():
    """The ball drops: a falling whistle over a whoosh."""
    dur = 0.6
    n = samples(dur)
    tone = sweep(1400, 220, dur, amps=(1.0, 0.25)) * exp_env(n, 0.35)
    whoosh = lowpass(noise(n, 1), np.linspace(3000, 300, n)) * np.sin(np.pi * seconds(n) / dur)
    return fade_edges(0.6 * tone + 1.2 * whoosh)


def bleep():
    """Countdown beep: short, bright, square-ish."""
    return partials(1046.5, 0.14, (1.0, 0.0, 0.3, 0.0, 0.15), attack=0.003, release=0.03)


def bakuhatu():
    """Explosion: a deep thump, then rumbling noise that darkens."""
    dur = 1.3
    n = samples(dur)
    thump = sweep(110, 35, 0.5, amps=(1.0, 0.3)) * exp_env(samples(0.5), 0.15)
    rumble = lowpass(noise(n, 2), 2500 * np.exp(-seconds(n) / 0.25) + 150) * exp_env(n, 0.4)
    crack = highpass(noise(samples(0.08), 3), 2000) * exp_env(samples(0.08), 0.02)
    out = 2.5 * rumble
    place(out, 0.9 * thump, 0)
    place(out, 0.5 * crack, 0)
    return fade_edges(np.tanh(2.0 * out), 0.001, 0.1)  # saturate: a bigger bang


def pad_hit():
    """Ball on paddle: a short round pop."""
    n = samples(0.09)
    return fade_edges(sweep(700, 380, 0.09, amps=(1.0, 0.2)) * exp_env(n, 0.025), 0.001, 0.01)


def miss():
    """Ball lost: a sad descending slide in three steps."""
    out = np.zeros(samples(0.9))
    for i, m in enumerate((76, 72, 67)):
        note = partials(midi_hz(m), 0.32, (1.0, 0.4, 0.2), attack=0.01, release=0.08,
                        vibrato=(7.0, 0.01, 0.05))
        place(out, note, samples(0.22 * i))
    tail = sweep(midi_hz(67), midi_hz(55), 0.35, amps=(1.0, 0.4)) * np.linspace(1, 0, samples(0.35))
    place(out, 0.8 * tail, samples(0.55))
    return fade_edges(out)


def block_hit():
    """Ball on block or stone: a hard knock with a woody ring."""
    n = samples(0.16)
    ring = partials(1250, 0.16, (1.0, 0.0, 0.0, 0.0), attack=0.0005) * exp_env(n, 0.035)
    ring += 0.5 * partials(2630, 0.16, (1.0,), attack=0.0005) * exp_env(n, 0.02)
    click = highpass(noise(samples(0.01), 4), 3000) * exp_env(samples(0.01), 0.002)
    place(ring, 0.8 * click, 0)
    return fade_edges(ring, 0.0005, 0.02)


def buzz():
    """Wrong answer: two detuned rasping tones."""
    dur = 0.55
    saw = [1.0 / k for k in range(1, 30)]
    out = partials(110, dur, saw, attack=0.005, release=0.05)
    out += partials(116.5, dur, saw, attack=0.005, release=0.05)
    return lowpass(out, 2500)


def copy():
    """A character is copied: a quick sparkling run upwards."""
    out = np.zeros(samples(0.55))
    for i, m in enumerate((84, 86, 88, 91, 93, 96)):
        place(out, bell(m, 0.3, 2.0), samples(0.045 * i))
    return fade_edges(out)


def seikai1():
    """Correct answer: a bright rising jingle ending on a chord."""
    out = np.zeros(samples(1.6))
    for i, m in enumerate((72, 76, 79, 84)):
        place(out, bell(m, 0.5), samples(0.11 * i))
    for m in (72, 76, 79, 84):
        place(out, 0.6 * bell(m, 1.1, 0.7), samples(0.5))
    return fade_edges(out, 0.001, 0.2)


def seikai():
    """Stroke challenge correct: the two-tone chime, high then low."""
    out = np.zeros(samples(1.3))
    place(out, bell(88, 1.0, 0.8), 0)
    place(out, bell(84, 1.0, 0.8), samples(0.3))
    return fade_edges(out, 0.001, 0.15)


def gameover():
    """Game over: a slow falling phrase settling on a low minor chord."""
    out = np.zeros(samples(1.9))
    steps = ((72, 0.0), (70, 0.22), (67, 0.44), (63, 0.66))
    for m, at in steps:
        place(out, partials(midi_hz(m), 0.4, (1.0, 0.5, 0.25, 0.1), attack=0.01, release=0.1,
                            vibrato=(5.0, 0.006, 0.1)), samples(at))
    for m in (48, 55, 60, 63):
        place(out, 0.5 * partials(midi_hz(m), 1.0, (1.0, 0.4, 0.2), attack=0.02, release=0.6,
                                  vibrato=(4.5, 0.004, 0.2)), samples(0.88))
    return fade_edges(out, 0.001, 0.1)


EFFECTS = {
    "Down.wav": down,
    "Bleep.wav": bleep,
    "Bakuhatu.wav": bakuhatu,
    "Pad_hit.wav": pad_hit,
    "Miss.wav": miss,
    "Block_hit.wav": block_hit,
    "Buzz.wav": buzz,
    "Copy.wav": copy,
    "Seikai1.wav": seikai1,
    "seikai.wav": seikai,
    "gameover.wav": gameover,
}
