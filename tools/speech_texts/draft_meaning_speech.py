#!/usr/bin/env python3
"""Drafts speech texts for the meanings of game/questions.tsv from Open JTalk's analysis.

Each kanji meaning is run through open_jtalk; its full-context labels (the trace's
"[Output label]" section) give the moras, the accent phrases and their accent types,
and the pauses. They are written in the game's speech notation:

  hiragana as pronounced, ' right after the accent nucleus mora, / between accent
  phrases, 、 a pause, 。 the end (a pause at a 。 inside the meaning stays 。).

Long vowels follow the table's spelling: an o lengthened by a written う is spelled お
(that is what the labels say), a written えい stays えい (the labels say e e; the word's
reading from the trace's text analysis decides).

The result is a draft: Open JTalk misreads some words, and the reviewed column is
edited by hand afterwards (see review_notes.md).

Usage:
  draft_meaning_speech.py --voice VOICE.htsvoice [--table game/questions.tsv]
      [--write]     fill the meaning_speech column (adding it when missing)
      [--diff]      list the rows whose current meaning_speech differs from the draft
      [--text TEXT] print the draft of one text and exit
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

DICTIONARY = "/var/lib/mecab/dic/open-jtalk/naist-jdic"
HEADER = ["idiom", "reading", "speech", "meaning", "meaning_speech"]

VOWELS = {"a": 0, "i": 1, "u": 2, "e": 3, "o": 4}

# Consonant -> the five kana of its row (a i u e o); None where no kana exists.
ROWS = {
    "": ["あ", "い", "う", "え", "お"],
    "k": ["か", "き", "く", "け", "こ"],
    "g": ["が", "ぎ", "ぐ", "げ", "ご"],
    "s": ["さ", "すぃ", "す", "せ", "そ"],
    "sh": ["しゃ", "し", "しゅ", "しぇ", "しょ"],
    "z": ["ざ", "ずぃ", "ず", "ぜ", "ぞ"],
    "j": ["じゃ", "じ", "じゅ", "じぇ", "じょ"],
    "t": ["た", "てぃ", "とぅ", "て", "と"],
    "ch": ["ちゃ", "ち", "ちゅ", "ちぇ", "ちょ"],
    "ts": ["つぁ", "つぃ", "つ", "つぇ", "つぉ"],
    "d": ["だ", "でぃ", "どぅ", "で", "ど"],
    "n": ["な", "に", "ぬ", "ね", "の"],
    "h": ["は", "ひ", None, "へ", "ほ"],
    "f": ["ふぁ", "ふぃ", "ふ", "ふぇ", "ふぉ"],
    "b": ["ば", "び", "ぶ", "べ", "ぼ"],
    "p": ["ぱ", "ぴ", "ぷ", "ぺ", "ぽ"],
    "m": ["ま", "み", "む", "め", "も"],
    "y": ["や", None, "ゆ", "いぇ", "よ"],
    "r": ["ら", "り", "る", "れ", "ろ"],
    "w": ["わ", "うぃ", None, "うぇ", "うぉ"],
    "v": ["ゔぁ", "ゔぃ", "ゔ", "ゔぇ", "ゔぉ"],
    "ky": ["きゃ", None, "きゅ", "きぇ", "きょ"],
    "gy": ["ぎゃ", None, "ぎゅ", "ぎぇ", "ぎょ"],
    "ny": ["にゃ", None, "にゅ", "にぇ", "にょ"],
    "hy": ["ひゃ", None, "ひゅ", "ひぇ", "ひょ"],
    "by": ["びゃ", None, "びゅ", "びぇ", "びょ"],
    "py": ["ぴゃ", None, "ぴゅ", "ぴぇ", "ぴょ"],
    "my": ["みゃ", None, "みゅ", "みぇ", "みょ"],
    "ry": ["りゃ", None, "りゅ", "りぇ", "りょ"],
    "dy": ["ぢゃ", None, "でゅ", None, "ぢょ"],
    "ty": ["てゃ", None, "てゅ", None, "てょ"],
}

LABEL = re.compile(
    r"^\S+ \S+ [^-]*\^[^-]*-(?P<p>[^+]+)\+.*?/A:(?P<a>[^/]+)/.*?/F:(?P<f>[^/]+)/")


def mora_kana(phonemes):
    """The kana of one mora given its phonemes (e.g. ["ky", "o"], ["N"], ["cl"])."""
    if phonemes == ["N"]:
        return "ん"
    if phonemes == ["cl"]:
        return "っ"
    *consonants, vowel = phonemes
    vowel = vowel.lower()
    if len(consonants) > 1 or vowel not in VOWELS:
        raise ValueError(f"unexpected mora {phonemes}")
    consonant = consonants[0] if consonants else ""
    kana = ROWS.get(consonant, [None] * 5)[VOWELS[vowel]]
    if kana is None:
        raise ValueError(f"no kana for {phonemes}")
    return kana


def run_open_jtalk(text, voice):
    with tempfile.TemporaryDirectory() as tmp:
        source = os.path.join(tmp, "in.txt")
        trace = os.path.join(tmp, "trace.txt")
        with open(source, "w", encoding="utf-8") as f:
            f.write(text + "\n")
        subprocess.run(["open_jtalk", "-x", DICTIONARY, "-m", voice, "-ot", trace,
                        "-ow", os.devnull, source], check=True)
        with open(trace, encoding="utf-8") as f:
            return f.read()


def katakana_moras(katakana):
    """Splits katakana into moras (a small kana joins the one before it)."""
    moras = []
    for c in katakana:
        if c in "ャュョァィゥェォヮ" and moras:
            moras[-1] += c
        else:
            moras.append(c)
    return moras


def phrase_accents(trace):
    """The accent type of every accent phrase as the text analysis gives it (0 = flat).

    The labels cannot tell a flat phrase from one accented on its last mora (both
    carry the mora count), so the analysis decides between the two.
    """
    section = trace.split("[Text analysis result]", 1)[1].split("[Output label]", 1)[0]
    accents = []
    after_symbol = True
    for line in section.strip().splitlines():
        fields = line.split(",")
        if len(fields) < 13:
            continue
        if fields[1] == "記号":
            after_symbol = True
            continue
        if fields[-1] != "1" or after_symbol:
            accents.append(int(fields[10].split("/")[0]))
        after_symbol = False
    return accents


def written_ei(trace):
    """For every mora of the utterance, whether it is a long e written イ (えい)."""
    section = trace.split("[Text analysis result]", 1)[1].split("[Output label]", 1)[0]
    flags = []
    for line in section.strip().splitlines():
        fields = line.split(",")
        if len(fields) < 10 or fields[1] == "記号":
            continue
        reading = katakana_moras(fields[8])
        spoken = katakana_moras(fields[9].replace("’", ""))
        for i, mora in enumerate(spoken):
            flags.append(mora == "ー" and len(reading) == len(spoken) and reading[i] == "イ")
    return flags


def draft(text, voice):
    trace = run_open_jtalk(text, voice)
    labels = trace.split("[Output label]", 1)[1].split("[Global parameter]", 1)[0]
    punctuation = [c for c in text if c in "、。，．！？!?,・"]

    # Moras in order: (phrase key, accent type, phonemes); None stands for a pause.
    moras = []
    for line in labels.strip().splitlines():
        m = LABEL.match(line)
        if not m:
            raise ValueError(f"unreadable label {line}")
        p = m.group("p")
        if p == "sil":
            continue
        if p == "pau":
            moras.append(None)
            continue
        key = (m.group("a"), m.group("f"))
        if moras and moras[-1] is not None and moras[-1][0] == key:
            moras[-1][2].append(p)
        else:
            f = m.group("f")
            mora_count, accent = (int(x) for x in f.split("#")[0].split("_"))
            moras.append((key, accent, [p], f.split("@")[0], mora_count))

    ei = written_ei(trace)
    spoken_count = sum(1 for m in moras if m is not None)
    if len(ei) != spoken_count:
        print(f"warning: word moras {len(ei)} != label moras {spoken_count} in {text}",
              file=sys.stderr)
        ei = [False] * spoken_count

    phrases = []
    for m in moras:
        if m is not None and (not phrases or phrases[-1] != (m[3], m[0][1])):
            phrases.append((m[3], m[0][1]))
    analysed = phrase_accents(trace)
    if len(analysed) != len(phrases):
        print(f"warning: {len(analysed)} analysed phrases != {len(phrases)} label phrases in "
              f"{text}; a phrase accented on its last mora is written flat", file=sys.stderr)
        analysed = [0] * len(phrases)
    phrase_index = -1

    out = []
    pauses = 0
    previous_phrase = None
    position = 0  # mora position in the current phrase
    index = 0     # mora index in the utterance
    for m in moras:
        if m is None:
            mark = punctuation[pauses] if pauses < len(punctuation) else "、"
            out.append("。" if mark in "。．！？!?" else "、")
            pauses += 1
            previous_phrase = None
            continue
        _, accent, phonemes, phrase, _ = m
        phrase_id = (phrase, m[0][1])
        if phrase_id != previous_phrase:
            if previous_phrase is not None:
                out.append("/")
            position = 0
            previous_phrase = phrase_id
            phrase_index += 1
        if accent == m[4] and analysed[phrase_index] == 0:
            accent = 0  # flat
        position += 1
        kana = mora_kana(phonemes)
        if ei[index] and kana == "え":
            kana = "い"
        out.append(kana)
        if accent > 0 and position == accent:
            out.append("'")
        index += 1
    result = "".join(out)
    while result.endswith(("、", "。")):
        result = result[:-1]
    return result + "。"


def read_table(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    return [line.split("\t") for line in lines]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--voice", required=True, help="an .htsvoice file for open_jtalk")
    parser.add_argument("--table", default=os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "game", "questions.tsv"))
    parser.add_argument("--write", action="store_true")
    parser.add_argument("--diff", action="store_true")
    parser.add_argument("--text")
    args = parser.parse_args()

    if args.text:
        print(draft(args.text, args.voice))
        return 0

    rows = read_table(args.table)
    header, body = rows[0], rows[1:]
    if len(header) == 4:
        header = HEADER
        body = [row + [""] for row in body]
    if header != HEADER:
        sys.exit(f"unexpected header {header}")
    differing = 0
    for q, row in enumerate(body):
        d = draft(row[3], args.voice)
        if args.diff and row[4] != d:
            differing += 1
            print(f"{q}\t{row[0]}\t{row[3]}\n\tdraft:    {d}\n\treviewed: {row[4]}")
        if args.write:
            row[4] = d
        if not args.write and not args.diff:
            print(f"{q}\t{row[0]}\t{d}")
    if args.diff:
        print(f"{differing} rows differ from the draft")
    if args.write:
        with open(args.table, "w", encoding="utf-8") as f:
            for row in [header] + body:
                f.write("\t".join(row) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
