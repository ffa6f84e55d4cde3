#!/usr/bin/python3
"""Renders the game's sound effects and music into Data/Sound.

    /usr/bin/python3 tools/sounds/make_sounds.py [names...]

Needs numpy and lame. Effects are 16-bit 44.1 kHz wave files; music is 128 kbps
MP3 with lame's Xing/LAME tag kept (the mixer reads the exact length from it).
The output is committed; the game and its tests never run this tool.
"""
import os
import subprocess
import sys
import tempfile

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from effects import EFFECTS  # noqa: E402
from music import MUSIC  # noqa: E402
from synth import SR, write_wav  # noqa: E402

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "Data", "Sound")


def level_effect(sig, rms_db=-14.0, peak_db=-1.0):
    """Evens out the effects' loudness: aim at one RMS level, never above the peak limit."""
    rms = np.sqrt(np.mean(sig ** 2))
    gain = min(10 ** (rms_db / 20) / rms, 10 ** (peak_db / 20) / np.max(np.abs(sig)))
    return sig * gain


def main(wanted):
    os.makedirs(OUT, exist_ok=True)
    for name, make in EFFECTS.items():
        if wanted and name not in wanted:
            continue
        sig = level_effect(make())
        write_wav(os.path.join(OUT, name), sig)
        print(f"{name:14s} {len(sig) / SR:6.3f} s")
    for name, make in MUSIC.items():
        if wanted and name not in wanted:
            continue
        sig = make()
        with tempfile.TemporaryDirectory() as tmp:
            wav = os.path.join(tmp, "music.wav")
            write_wav(wav, sig)
            subprocess.run(["lame", "--quiet", "-b", "128", "-q", "2", wav, os.path.join(OUT, name)],
                           check=True)
        print(f"{name:14s} {sig.shape[1] / SR:6.3f} s")


if __name__ == "__main__":
    main(set(sys.argv[1:]))
