#pragma once
// Full-context labels, the form the HTS voices were trained on: one line per
// phoneme (with a silence at each end and a pause at each "、"/"。" inside),
//   p1^p2-p3+p4=p5/A:a1+a2+a3/B:b1-b2_b3/C:c1_c2+c3/D:d1+d2_d3
//   /E:e1_e2!e3_e4-e5/F:f1_f2#f3_f4@f5_f6|f7_f8/G:g1_g2%g3_g4_g5/H:h1_h2
//   /I:i1-i2@i3+i4&i5-i6|i7+i8/J:j1_j2/K:k1+k2-k3
// p: the phoneme and two neighbours each side; A: the mora's distance from the
// accent nucleus and its place in the accent phrase; B/C/D: part of speech of
// the previous, current and next word; E/F/G: previous, current and next accent
// phrase (morae, accent type, question flag, pause between); H/I/J: previous,
// current and next breath group; K: the whole utterance. A flat phrase is
// written with its mora count as accent type, as the voices expect.
//
// The notation gives no parts of speech: every accent phrase is one word, a
// common noun.
#include <string>
#include <vector>

#include "voice/notation.h"

std::vector<std::string> FullContextLabels(const SpokenText& text);

// Pieces of one label line (without leading times), for checks and tools.
struct LabelFields {
    std::string phoneme;  // p3
    std::string accentPhraseMorae;  // f1
    std::string accentType;         // f2
    std::string moraInPhrase;       // a2
};
// The fields of a label line; a line with "start end" times before it is read too.
LabelFields ReadLabel(const std::string& line);
// The label line without the word fields B, C and D (and without times).
std::string WithoutWordFields(const std::string& line);
