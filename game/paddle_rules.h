#pragma once
// Where a contact sends the ball, and how many paddle contacts a question
// allows: pure rules, every draw from the one generator in the order play makes them.
#include "platform/random.h"

// Fifteen contacts a stage for a score-challenge question.
constexpr int ContactsAllowed(int stage) { return stage * 15; }
// What the contact counter shows: the allowance less the contacts made.
constexpr int ContactsLeft(int stage, int padHitCount) { return ContactsAllowed(stage) - padHitCount; }
constexpr bool ContactsUsedUp(int stage, int padHitCount) { return padHitCount >= ContactsAllowed(stage); }

// The duration of the leg after a paddle contact: 1.0 or 1.2 s on a ball's
// first fall (a gentle start), else 1 to 4 s.
float PaddleLegDuration(bool firstFall, RandomSource& random);
// The horizontal stop of the leg after a ball's first fall meets the paddle:
// anywhere from 50 units in to 50 beyond the window's width.
float FirstFallStopX(int width, RandomSource& random);
// The stop of one coordinate for a new leg: on in the direction it was going
// (still counts as forwards) to at most `margin` beyond the far edge at `extent`,
// or back to at most `margin` before 0. `pos` is where the ball stands, `legStart`
// where its last leg began.
float AimStop(float pos, float legStart, int extent, int margin, RandomSource& random);
// The duration of the leg after a block or an edge: 1 to 4 s.
float BlockLegDuration(RandomSource& random);
