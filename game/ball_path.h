#pragma once
// Where the ball in play stood when the last frame tick looked at it, and the
// leg it was on: the next tick searches contacts along the way swept since, so
// a fast leg or a late tick cannot carry the ball through a block or the paddle.
struct BallPathMark {
    int ball = -1;
    float x = 0, y = 0;
    float startX = 0, stopX = 0, startY = 0, stopY = 0;
};
