#include "game/paddle_rules.h"

#include <cmath>

namespace {
// Nearest integer, ties to even (the default rounding mode).
int RoundEven(float v) { return static_cast<int>(std::lrint(v)); }
}  // namespace

float PaddleLegDuration(bool firstFall, RandomSource& random) {
    return firstFall ? 1.0f + 0.2f * random.Random(2) : static_cast<float>(random.Random(4) + 1);
}

float FirstFallStopX(int width, RandomSource& random) { return static_cast<float>(random.Random(width) + 50); }

float AimStop(float pos, float legStart, int extent, int margin, RandomSource& random) {
    if (pos >= legStart) return pos + random.Random(extent - RoundEven(pos) + margin);
    return static_cast<float>(random.Random(RoundEven(pos) + margin) - margin);
}

float BlockLegDuration(RandomSource& random) { return static_cast<float>(random.Random(4) + 1); }
