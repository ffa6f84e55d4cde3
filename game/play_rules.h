#pragma once
// The rules of play that need no window: the points of an answer and the
// contact tests between pictures.
#include "platform/scene.h"

// Points of a correct score-challenge answer. movingBallNo is -1 at the last
// question (ball factor 4). The hint halves them; from stage 2 on the character
// dealt at the start doubles them.
int AnswerPoints(int stage, int padHitCount, int movingBallNo, bool hintShown,
                 bool dealtCharacter);

// Contact test of two pictures: their bounds shrunk by 5 units on every side,
// edges rounded to the nearest integer (ties to even), must intersect.
bool ImagesOverlap(const TImage* a, const TImage* b);

// The same contact test along a way: picture `moving`, carried in a straight line
// from (x0, y0) to where it stands now, against the picture `still`. Returns the
// fraction 0..1 of the way at which they first overlap, or a negative value when
// they never do. Overlapping where it stands now always counts (at 1 at the latest).
float SweptContact(const TImage* moving, float x0, float y0, const TImage* still);
