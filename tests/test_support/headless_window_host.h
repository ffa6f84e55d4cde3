#pragma once
// A window host that does nothing but count: headless play in tests and benchmarks.
#include "platform/window_host.h"

class HeadlessWindowHost : public WindowHost {
public:
    HeadlessWindowHost(int w = 800, int h = 600) : w_(w), h_(h) {}
    void Minimize() override { ++minimizeCount; }
    void BringToForeground() override { ++foregroundCount; }
    int ShowCursor(bool show) override { return cursorCounter += show ? 1 : -1; }
    int ScreenWidth() const override { return w_; }
    int ScreenHeight() const override { return h_; }
    int cursorCounter = 0;
    int minimizeCount = 0;
    int foregroundCount = 0;
private:
    int w_, h_;
};
