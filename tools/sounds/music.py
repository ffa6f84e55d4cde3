"""The stage loops and the parade march.

A loop is rendered on a circular buffer, so notes that ring past the end carry on
at the start: the last sample flows into the first. The file is the loop plus a
short run of its own beginning (TAIL) faded to silence, so a restart a frame late
still hears the right music; the game restarts a track after its length in whole
seconds, so every loop lasts a whole number of seconds.
"""
import numpy as np

from instruments import bass, brass, drum, flute, koto, pad, square_lead
from synth import fade_edges, normalise, samples

TAIL = 0.3


class Song:
    def __init__(self, bpm, bars, loop=True, extra=0.0, drive=1.0):
        self.drive = drive
        self.beat = 60.0 / bpm
        self.length = bars * 4 * self.beat
        self.loop = loop
        self.n = samples(self.length) + (0 if loop else samples(extra))
        self.buf = np.zeros((2, self.n))

    def add(self, sig, at_beats, pan=0.0, gain=1.0):
        start = samples(at_beats * self.beat)
        left, right = gain * np.cos((pan + 1) * np.pi / 4), gain * np.sin((pan + 1) * np.pi / 4)
        pos = 0
        while pos < len(sig):
            at = (start + pos) % self.n if self.loop else start + pos
            if at >= self.n:
                return
            take = min(len(sig) - pos, self.n - at)
            self.buf[0, at:at + take] += left * sig[pos:pos + take]
            self.buf[1, at:at + take] += right * sig[pos:pos + take]
            pos += take

    def note(self, voice, m, at_beats, beats, pan=0.0, gain=1.0):
        self.add(voice(m, beats * self.beat), at_beats, pan, gain)

    def hit(self, name, at_beats, pan=0.0, gain=1.0):
        self.add(drum(name), at_beats, pan, gain)

    def render(self):
        out = self.buf
        if self.drive > 1.0:  # soft-limit the drum peaks so the busier songs sound louder
            out = np.tanh(self.drive * out / np.max(np.abs(out)))
        if self.loop:
            out = np.concatenate([out, out[:, :samples(TAIL)]], axis=1)
            out = fade_edges(out, 0.0, 0.02)
        else:
            out = fade_edges(out, 0.0, 1.5)
        return normalise(out, -1.5)


def scale_notes(pitch_classes, low, high):
    return [m for m in range(low, high + 1) if m % 12 in pitch_classes]


def nearest(notes, target, allowed_pcs):
    cands = [m for m in notes if m % 12 in allowed_pcs]
    return min(cands, key=lambda m: (abs(m - target), m))


def melody(rng, notes, chords, rhythms, start, final_long=True):
    """One phrase: chord tones on strong beats, small scale steps between them.
    chords: per bar the pitch classes that sound well on its strong beats.
    Returns (midi, onset_beats, beats) triples from bar 0."""
    out = []
    cur = start
    for bar, pcs in enumerate(chords):
        last = bar == len(chords) - 1
        pattern = [(0.0, 4.0)] if last and final_long else rhythms[rng.randint(len(rhythms))]
        for onset, length in pattern:
            if onset % 2 == 0:
                cur = nearest(notes, cur + rng.choice([-2, 0, 0, 2]), pcs)
            else:
                i = notes.index(cur) + rng.choice([-2, -1, -1, 1, 1, 2])
                cur = notes[max(0, min(len(notes) - 1, i))]
            out.append((cur, bar * 4 + onset, length))
    return out


def play_melody(song, voice, phrase, bar0, pan=0.0, gain=1.0, transpose=0):
    for m, onset, length in phrase:
        song.note(voice, m + transpose, bar0 * 4 + onset, length, pan, gain)


def chord_bars(song, progression, bar0, bass_pattern, pad_gain=1.0, bass_gain=1.0, arp=None):
    """progression: per bar (bass root, pad notes). bass_pattern: (beat, beats, +semitones)."""
    for i, (root, tones) in enumerate(progression):
        b = (bar0 + i) * 4
        if pad_gain:
            song.note(pad, tones, b, 4.0, gain=pad_gain)
        for onset, length, up in bass_pattern:
            song.note(bass, root + up, b + onset, length, gain=bass_gain)
        if arp:
            voice, step, gain = arp
            seq = sorted(tones) + [sorted(tones)[1] + 12]
            for j in range(int(4 / step)):
                song.note(voice, seq[j % len(seq)] + 12, b + j * step, step, pan=0.35, gain=gain)


CALM = [[(0, 2), (2, 1), (3, 1)], [(0, 1.5), (1.5, 0.5), (2, 2)], [(0, 3), (3, 1)],
        [(0, 1), (1, 1), (2, 2)]]
LIVELY = [[(0, 1), (1, 0.5), (1.5, 0.5), (2, 1), (3, 1)], [(0, 1.5), (1.5, 0.5), (2, 1.5), (3.5, 0.5)],
          [(0, 0.5), (0.5, 0.5), (1, 1), (2, 2)], [(0, 1), (1, 1), (2, 1), (3, 1)]]
DRIVING = [[(0, 0.5), (0.5, 0.5), (1, 0.5), (1.5, 0.5), (2, 1), (3, 1)],
           [(0, 1), (1, 0.5), (1.5, 0.5), (2, 0.5), (2.5, 0.5), (3, 1)],
           [(0, 1.5), (1.5, 0.5), (2, 0.5), (2.5, 1.5)], [(0, 0.5), (0.5, 1), (1.5, 0.5), (2, 2)]]


def stage1():
    """Calm: a koto and a bamboo flute in the yo scale over soft pads, 80 BPM, 96 s."""
    rng = np.random.RandomState(101)
    song = Song(80, 32)
    notes = scale_notes({2, 4, 7, 9, 11}, 62, 86)
    prog = [(50, [62, 69, 76]), (47, [59, 64, 69]), (43, [55, 62, 69]), (45, [57, 64, 71]),
            (50, [62, 69, 76]), (52, [64, 71, 74]), (43, [55, 62, 69]), (45, [57, 62, 64])]
    pcs = [{m % 12 for m in tones} for _, tones in prog]
    a = melody(rng, notes, pcs, CALM, 74)
    b = melody(rng, notes, pcs, CALM, 78)
    for p in range(4):
        bar0 = p * 8
        chord_bars(song, prog, bar0, [(0, 2.0, 0), (2, 2.0, 7)], pad_gain=1.0, bass_gain=0.5,
                   arp=(koto, 1.0, 0.25) if p % 2 else None)
        if p % 2 == 0:
            play_melody(song, koto, a if p == 0 else b, bar0, pan=-0.2, gain=0.8)
        else:
            play_melody(song, flute, b if p == 1 else a, bar0, pan=0.15, gain=0.9)
        for bar in range(8):
            b4 = (bar0 + bar) * 4
            song.hit("taiko", b4, gain=0.35)
            for e in range(8):
                song.hit("shaker", b4 + e * 0.5, pan=0.4, gain=0.25 if e % 2 else 0.12)
            if bar % 2 == 1:
                song.hit("wood", b4 + 3, pan=-0.4, gain=0.3)
    return song.render()


def stage2():
    """Moving along: flute and koto trade phrases over an eighth-note bass, 100 BPM, 96 s."""
    rng = np.random.RandomState(202)
    song = Song(100, 40, drive=1.5)
    notes = scale_notes({9, 11, 2, 4, 6}, 64, 88)
    prog = [(45, [57, 64, 71]), (42, [54, 59, 64]), (50, [62, 69, 76]), (52, [64, 71, 74]),
            (45, [57, 64, 71]), (47, [59, 64, 69]), (50, [62, 69, 74]), (52, [64, 69, 71])]
    pcs = [{m % 12 for m in tones} for _, tones in prog]
    phrases = [melody(rng, notes, pcs, LIVELY, s) for s in (76, 81, 78)]
    bass_line = [(0, 0.5, 0), (0.5, 0.5, 0), (1, 0.5, 12), (1.5, 0.5, 0),
                 (2, 0.5, 7), (2.5, 0.5, 0), (3, 0.5, 12), (3.5, 0.5, 7)]
    for p in range(5):
        bar0 = p * 8
        chord_bars(song, prog, bar0, bass_line, pad_gain=0.7, bass_gain=0.45,
                   arp=(koto, 0.5, 0.22))
        voice = flute if p % 2 == 0 else koto
        play_melody(song, voice, phrases[p % 3], bar0, pan=-0.15, gain=0.9)
        for bar in range(8):
            b4 = (bar0 + bar) * 4
            for beat in (0, 2, 3.5):
                song.hit("taiko", b4 + beat, gain=0.55)
            for beat in (1, 3):
                song.hit("snare", b4 + beat, pan=0.1, gain=0.3)
            for e in range(8):
                song.hit("shaker", b4 + e * 0.5, pan=0.4, gain=0.3 if e % 2 else 0.18)
    return song.render()


def stage3():
    """Driving: a square lead in the in scale, pounding drums, 144 BPM, 80 s."""
    rng = np.random.RandomState(303)
    song = Song(144, 48, drive=2.2)
    notes = scale_notes({4, 5, 9, 11, 0}, 64, 88)
    prog = [(40, [52, 59, 64]), (36, [48, 55, 64]), (45, [57, 64, 69]), (47, [59, 64, 69]),
            (40, [52, 59, 64]), (41, [53, 57, 64]), (45, [57, 64, 72]), (47, [59, 64, 71])]
    pcs = [{m % 12 for m in tones} for _, tones in prog]
    a = melody(rng, notes, pcs, DRIVING, 76)
    b = melody(rng, notes, pcs, DRIVING, 81)
    bass_line = [(e * 0.5, 0.45, 12 if e in (3, 7) else 0) for e in range(8)]
    for p in range(6):
        bar0 = p * 8
        chord_bars(song, prog, bar0, bass_line, pad_gain=0.5, bass_gain=0.5,
                   arp=(koto, 0.5, 0.2))
        if p in (1, 2, 3, 4):
            play_melody(song, square_lead, a if p % 2 else b, bar0, pan=-0.1, gain=0.75)
        else:
            play_melody(song, koto, b if p == 0 else a, bar0, pan=-0.25, gain=0.7, transpose=12)
        song.hit("crash", bar0 * 4, pan=0.3, gain=0.5)
        for bar in range(8):
            b4 = (bar0 + bar) * 4
            for beat in range(4):
                song.hit("kick", b4 + beat, gain=0.8)
            for beat in (1, 3):
                song.hit("snare", b4 + beat, pan=0.1, gain=0.5)
            for e in range(8):
                song.hit("hat", b4 + e * 0.5, pan=0.35, gain=0.5 if e % 2 else 0.3)
            if bar == 7:  # a taiko roll into the next pass
                for s in range(8):
                    song.hit("taiko", b4 + 2 + s * 0.25, pan=-0.2 + 0.05 * s, gain=0.3 + 0.05 * s)
    return song.render()


def parade():
    """A short festive march: brass tune, oom-pah bass, snare and bass drum, 120 BPM, ~34 s."""
    rng = np.random.RandomState(404)
    song = Song(120, 16, loop=False, extra=2.4, drive=1.5)
    notes = scale_notes({0, 2, 4, 7, 9}, 64, 86)
    prog = [(48, [60, 64, 67]), (41, [57, 60, 65]), (43, [59, 62, 67]), (48, [60, 64, 67]),
            (45, [57, 60, 64]), (41, [57, 60, 65]), (43, [59, 62, 67]), (48, [60, 64, 72])]
    pcs = [{m % 12 for m in tones} for _, tones in prog]
    a = melody(rng, notes, pcs, LIVELY, 76)
    b = melody(rng, notes, pcs, LIVELY, 79)
    oompah = [(0, 0.5, 0), (2, 0.5, 7)]
    for p in range(2):
        bar0 = p * 8
        chord_bars(song, prog, bar0, oompah, pad_gain=0.0, bass_gain=0.7)
        for i, (_, tones) in enumerate(prog):  # the "pah": short chords on the off-beats
            for off in (1, 3):
                for m in tones:
                    song.note(brass, m, (bar0 + i) * 4 + off, 0.4, pan=0.3, gain=0.25)
        play_melody(song, brass, a if p == 0 else b, bar0, pan=-0.1, gain=1.0, transpose=0)
        play_melody(song, flute, a if p == 0 else b, bar0, pan=0.2, gain=0.5, transpose=12)
        song.hit("crash", bar0 * 4, pan=0.3, gain=0.6)
        for bar in range(8):
            b4 = (bar0 + bar) * 4
            for beat in range(4):
                song.hit("taiko", b4 + beat, gain=0.6)
            for e, g in ((0, 0.45), (1, 0.25), (1.5, 0.2), (2, 0.45), (3, 0.25), (3.25, 0.2),
                         (3.5, 0.3), (3.75, 0.35)):
                song.hit("snare", b4 + e, pan=0.1, gain=g)
    end = 16 * 4
    for m in (48, 60, 64, 67, 72):
        song.note(brass, m, end, 4.5, gain=0.5)
    song.hit("crash", end, pan=0.3, gain=0.7)
    song.hit("taiko", end, gain=0.8)
    return song.render()


MUSIC = {"Stage1.mp3": stage1, "Stage2.mp3": stage2, "Stage3.mp3": stage3, "parade.mp3": parade}
