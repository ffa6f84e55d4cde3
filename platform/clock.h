#pragma once
// Millisecond time source. Every elapsed-time rule of the game reads this clock,
// so tests can run the whole game on a virtual clock, faster than real time.
#include <cstdint>

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start, wrapping at 2^32 like the system tick.
    virtual uint32_t NowMs() = 0;
    // Holds the calling thread for ms milliseconds (a blocking sound, for example).
    virtual void WaitMs(uint32_t ms) = 0;
};

// Elapsed milliseconds between two tick readings: the absolute value of their
// signed 32-bit difference, so a wrap of the tick does not disturb it.
inline int64_t ElapsedMs(uint32_t now, uint32_t then) {
    int32_t d = static_cast<int32_t>(now - then);
    return d < 0 ? -static_cast<int64_t>(d) : static_cast<int64_t>(d);
}

// A clock that only moves when told to: tests and headless play.
class VirtualClock : public Clock {
public:
    explicit VirtualClock(uint32_t start = 100000) : now_(start) {}
    uint32_t NowMs() override { return now_; }
    void WaitMs(uint32_t ms) override { now_ += ms; }
    void Advance(uint32_t ms) { now_ += ms; }
    void Set(uint32_t ms) { now_ = ms; }
private:
    uint32_t now_;
};
