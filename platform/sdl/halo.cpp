#include "platform/sdl/halo.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

HaloShape GlowShape(float softness, float scale) {
    HaloShape s;
    s.spread = std::max(1, static_cast<int>(std::lround((1 + softness * 2) * scale)));
    s.blur = std::max(1, static_cast<int>(std::lround((1 + softness * 3) * scale)));
    s.gain = 1.8f;
    return s;
}

HaloShape ShadowShape(float softness, float scale) {
    HaloShape s;
    s.spread = 0;
    s.blur = std::max(0, static_cast<int>(std::lround(softness * 4 * scale)));
    s.gain = 1.2f;
    return s;
}

namespace {

// One pass of a running-maximum or running-sum filter along rows or columns.
template <class Op>
void Pass(std::vector<uint8_t>& a, int w, int h, bool alongRows, Op op) {
    const int lines = alongRows ? h : w;
    const int len = alongRows ? w : h;
    const int step = alongRows ? 1 : w;
    std::vector<uint8_t> line(len);
    for (int l = 0; l < lines; ++l) {
        uint8_t* base = a.data() + (alongRows ? l * w : l);
        for (int i = 0; i < len; ++i) line[i] = base[i * step];
        op(line, base, step);
    }
}

}  // namespace

void DilateAlpha(std::vector<uint8_t>& a, int w, int h, int radius) {
    if (radius <= 0) return;
    for (bool rows : {true, false}) {
        Pass(a, w, h, rows, [radius](const std::vector<uint8_t>& line, uint8_t* out, int step) {
            const int len = static_cast<int>(line.size());
            for (int i = 0; i < len; ++i) {
                uint8_t m = 0;
                for (int k = std::max(0, i - radius); k <= std::min(len - 1, i + radius); ++k)
                    m = std::max(m, line[k]);
                out[i * step] = m;
            }
        });
    }
}

void BoxBlurAlpha(std::vector<uint8_t>& a, int w, int h, int radius) {
    if (radius <= 0) return;
    const int window = 2 * radius + 1;
    for (int pass = 0; pass < 3; ++pass) {
        for (bool rows : {true, false}) {
            Pass(a, w, h, rows, [&](const std::vector<uint8_t>& line, uint8_t* out, int step) {
                const int len = static_cast<int>(line.size());
                int sum = 0;
                for (int k = 0; k <= std::min(radius, len - 1); ++k) sum += line[k];
                for (int i = 0; i < len; ++i) {
                    out[i * step] = static_cast<uint8_t>(sum / window);
                    int enter = i + radius + 1, leave = i - radius;
                    if (enter < len) sum += line[enter];
                    if (leave >= 0) sum -= line[leave];
                }
            });
        }
    }
}

SDL_Surface* MakeHalo(SDL_Surface* text, const HaloShape& shape) {
    if (!text || text->format->format != SDL_PIXELFORMAT_ARGB8888) return nullptr;
    const int m = shape.Margin();
    const int w = text->w + 2 * m, h = text->h + 2 * m;
    std::vector<uint8_t> alpha(static_cast<size_t>(w) * h, 0);
    SDL_LockSurface(text);
    for (int y = 0; y < text->h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(text->pixels) +
                                                            y * text->pitch);
        for (int x = 0; x < text->w; ++x) alpha[(y + m) * w + x + m] = row[x] >> 24;
    }
    SDL_UnlockSurface(text);
    DilateAlpha(alpha, w, h, shape.spread);
    BoxBlurAlpha(alpha, w, h, shape.blur);

    SDL_Surface* halo = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!halo) return nullptr;
    SDL_LockSurface(halo);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(halo->pixels) + y * halo->pitch);
        for (int x = 0; x < w; ++x) {
            uint32_t a = std::min(255u, static_cast<uint32_t>(alpha[y * w + x] * shape.gain));
            row[x] = (a << 24) | 0x00FFFFFFu;
        }
    }
    SDL_UnlockSurface(halo);
    return halo;
}
