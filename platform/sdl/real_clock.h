#pragma once
// The system millisecond tick, for the real program.
#include "platform/clock.h"

class RealClock : public Clock {
public:
    uint32_t NowMs() override;
    void WaitMs(uint32_t ms) override;
};
