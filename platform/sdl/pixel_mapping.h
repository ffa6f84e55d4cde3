#pragma once
// The one mapping between the window's pixels and the logical pixels the scene
// works in. The scene, the game and its saved files see logical pixels only;
// drawing happens at the physical resolution, factor times as many pixels.
#include <algorithm>
#include <cmath>

struct PixelMapping {
    // Physical pixels per logical pixel: the desktop's scale factor.
    float factor = 1;
    // Physical pixels per unit of SDL's window coordinates (window size, mouse
    // events): 1 on X11, the compositor's scale for a high-DPI Wayland window.
    float physicalPerWindowUnit = 1;

    // A logical side for a physical one (0 stays 0: a minimised window).
    int LogicalSide(int physical) const {
        if (physical <= 0) return 0;
        return std::max(1, static_cast<int>(std::lround(physical / factor)));
    }
    // Window coordinates (events, window position) to logical pixels and back.
    float WindowToLogical(float v) const { return v * physicalPerWindowUnit / factor; }
    float LogicalToWindow(float v) const { return v * factor / physicalPerWindowUnit; }
    int WindowToLogicalSide(int v) const {
        return LogicalSide(static_cast<int>(std::lround(v * physicalPerWindowUnit)));
    }
};
