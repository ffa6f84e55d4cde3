#pragma once
// Soft copies of rendered text for glow and shadow: the text's alpha,
// optionally thickened, then blurred, as a white picture the renderer tints.
#include <cstdint>
#include <vector>

struct SDL_Surface;

struct HaloShape {
    int spread = 0;     // pixels the outline is thickened by before blurring
    int blur = 0;       // box-blur radius (three passes, close to a gaussian)
    float gain = 1.0f;  // alpha multiplier after blurring (a denser halo)
    // Margin the halo needs around the text on every side.
    int Margin() const { return spread + 3 * blur; }
    bool operator==(const HaloShape&) const = default;
};

// Halo shape for a glow of the given softness (0..1 and beyond).
HaloShape GlowShape(float softness, float scale);
// Halo shape for a drop shadow of the given softness.
HaloShape ShadowShape(float softness, float scale);

// Builds the halo of an ARGB8888 text surface: a new ARGB8888 surface, larger
// by Margin() on each side, white with the halo in its alpha. nullptr on failure.
SDL_Surface* MakeHalo(SDL_Surface* text, const HaloShape& shape);

// Alpha-plane operations, exposed for tests.
void DilateAlpha(std::vector<uint8_t>& a, int w, int h, int radius);
void BoxBlurAlpha(std::vector<uint8_t>& a, int w, int h, int radius);
