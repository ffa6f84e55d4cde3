#pragma once
// The operating-system side of the game's window: what the main window asks of
// the desktop. The SDL window (platform/sdl) is the real one; tests use a
// headless host that only counts.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual void Minimize() = 0;
    virtual void BringToForeground() = 0;
    // The cursor display counter: ShowCursor(false) decrements, (true) increments;
    // the cursor shows while the counter is >= 0. Returns the new counter.
    virtual int ShowCursor(bool show) = 0;
    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;
};
