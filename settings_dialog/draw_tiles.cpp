#include "settings_dialog/draw_tiles.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr uint64_t kPrime = 1099511628211ull;
constexpr uint64_t kBasis = 1469598103934665603ull;

uint64_t Mix(uint64_t h, const void* data, std::size_t bytes) {
    const auto* p = static_cast<const unsigned char*>(data);
    std::size_t i = 0;
    for (; i + 8 <= bytes; i += 8) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        h = (h ^ w) * kPrime;
    }
    for (; i < bytes; ++i) h = (h ^ p[i]) * kPrime;
    return h;
}

// Spreads the bits so that tiles combining the same hashes in another order differ.
uint64_t Spread(uint64_t h) {
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    return h;
}

// The pixels a copy lands on, a pixel more on each side, within the clip.
SDL_Rect Around(float x0, float y0, float x1, float y1, float factor, const SDL_Rect& clip) {
    SDL_Rect r{static_cast<int>(std::floor(x0 * factor)) - 1, static_cast<int>(std::floor(y0 * factor)) - 1, 0, 0};
    r.w = static_cast<int>(std::ceil(x1 * factor)) + 2 - r.x;
    r.h = static_cast<int>(std::ceil(y1 * factor)) + 2 - r.y;
    SDL_Rect inside{0, 0, 0, 0};
    SDL_IntersectRect(&r, &clip, &inside);
    return inside;
}

}  // namespace

SDL_Rect OutputClipOf(const ImDrawCmd& cmd, const ImDrawData& data, float factor) {
    // The back end's arithmetic: logical, clamped to the display, cut to whole pixels.
    const ImVec2 off = data.DisplayPos;
    const float width = data.DisplaySize.x, height = data.DisplaySize.y;
    const float x0 = std::max(cmd.ClipRect.x - off.x, 0.0f), y0 = std::max(cmd.ClipRect.y - off.y, 0.0f);
    const float x1 = std::min(cmd.ClipRect.z - off.x, width), y1 = std::min(cmd.ClipRect.w - off.y, height);
    if (x1 <= x0 || y1 <= y0) return SDL_Rect{0, 0, 0, 0};
    const SDL_Rect logical{static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                           static_cast<int>(y1 - y0)};
    // SDL's: each field times the scale, rounded down.
    const double f = factor;
    const auto scaled = [f](int v) { return static_cast<int>(std::floor(v * f)); };
    return SDL_Rect{scaled(logical.x), scaled(logical.y), scaled(logical.w), scaled(logical.h)};
}

void DrawTiles::NoteStretchedCopies(const ImDrawList& list, const ImDrawCmd& cmd, float factor, int textureW,
                                    int textureH, const SDL_Rect& clip) {
    // SDL's reading of the triangles, in its order: a triangle sharing two
    // corners with the one before it may close a rectangle with it.
    const ImDrawVert* v = list.VtxBuffer.Data + cmd.VtxOffset;
    const ImDrawIdx* index = list.IdxBuffer.Data + cmd.IdxOffset;
    int prev[3] = {-1, -1, -1};
    for (unsigned i = 0; i + 3 <= cmd.ElemCount; i += 3) {
        const int k[3] = {index[i], index[i + 1], index[i + 2]};
        if (prev[0] < 0) {
            std::copy(k, k + 3, prev);
            continue;
        }
        int shared = 0;
        for (int p : prev) shared += p == k[0] || p == k[1] || p == k[2];
        bool quad = shared == 2;
        int a = -1, b = -1;
        if (quad) {
            const auto x = [v](int n) { return v[n].pos.x; };
            const auto y = [v](int n) { return v[n].pos.y; };
            if (x(k[0]) <= x(k[1]) && y(k[0]) <= y(k[1])) a = x(k[0]) <= x(k[2]) && y(k[0]) <= y(k[2]) ? k[0] : k[2];
            else a = x(k[1]) <= x(k[2]) && y(k[1]) <= y(k[2]) ? k[1] : k[2];
            if (x(k[0]) >= x(k[1]) && y(k[0]) >= y(k[1])) b = x(k[0]) >= x(k[2]) && y(k[0]) >= y(k[2]) ? k[0] : k[2];
            else b = x(k[1]) >= x(k[2]) && y(k[1]) >= y(k[2]) ? k[1] : k[2];
            const int c = k[0] != a && k[0] != b ? k[0] : k[1] != a && k[1] != b ? k[1] : k[2];
            const int c2 = prev[0] != a && prev[0] != b ? prev[0] : prev[1] != a && prev[1] != b ? prev[1] : prev[2];
            const auto corner = [&](int n) {
                return (x(a) == x(n) && y(b) == y(n)) || (y(a) == y(n) && x(b) == x(n));
            };
            quad = corner(c) && corner(c2) && v[a].col == v[b].col && v[a].col == v[c].col && v[a].col == v[c2].col;
        }
        if (!quad) {
            std::copy(k, k + 3, prev);
            continue;
        }
        prev[0] = -1;
        // The source rectangle as SDL rounds it, and the copy's size on the output.
        const int sx = static_cast<int>(v[a].uv.x * textureW), sy = static_cast<int>(v[a].uv.y * textureH);
        const int sw = static_cast<int>(v[b].uv.x * textureW - sx), sh = static_cast<int>(v[b].uv.y * textureH - sy);
        if (sw == 0 || sh == 0) continue;  // a fill
        const float dw = v[b].pos.x - v[a].pos.x, dh = v[b].pos.y - v[a].pos.y;
        if (sw == static_cast<int>(dw * factor) && sh == static_cast<int>(dh * factor)) continue;  // one to one
        const SDL_Rect r = Around(v[a].pos.x, v[a].pos.y, v[b].pos.x, v[b].pos.y, factor, clip);
        if (!SDL_RectEmpty(&r)) stretched_.push_back(r);
    }
}

void DrawTiles::Hash(const ImDrawData& data, float factor, int outW, int outH, int textureW, int textureH) {
    hashes_.clear();
    stretched_.clear();
    if (!data.Valid || outW <= 0 || outH <= 0) return;
    outW_ = outW;
    outH_ = outH;
    columns_ = (outW + kTile - 1) / kTile;
    rows_ = (outH + kTile - 1) / kTile;
    hashes_.assign(static_cast<std::size_t>(columns_) * rows_, kBasis);
    const SDL_Rect output{0, 0, outW, outH};
    for (int n = 0; n < data.CmdListsCount; ++n) {
        const ImDrawList* list = data.CmdLists[n];
        for (const ImDrawCmd& cmd : list->CmdBuffer) {
            if (cmd.UserCallback) {
                hashes_.clear();
                return;
            }
            SDL_Rect clip = OutputClipOf(cmd, data, factor);
            if (!SDL_IntersectRect(&clip, &output, &clip)) continue;
            uint64_t state = kBasis;
            const ImTextureID texture = cmd.GetTexID();
            state = Mix(state, &texture, sizeof texture);
            state = Mix(state, &clip, sizeof clip);
            if (texture) NoteStretchedCopies(*list, cmd, factor, textureW, textureH, clip);
            const ImDrawVert* vertices = list->VtxBuffer.Data + cmd.VtxOffset;
            const ImDrawIdx* indices = list->IdxBuffer.Data + cmd.IdxOffset;
            for (unsigned i = 0; i + 3 <= cmd.ElemCount; i += 3) {
                const ImDrawVert* v[3] = {&vertices[indices[i]], &vertices[indices[i + 1]], &vertices[indices[i + 2]]};
                float minX = v[0]->pos.x, maxX = minX, minY = v[0]->pos.y, maxY = minY;
                uint64_t triangle = state;
                for (const ImDrawVert* p : v) {
                    minX = std::min(minX, p->pos.x);
                    maxX = std::max(maxX, p->pos.x);
                    minY = std::min(minY, p->pos.y);
                    maxY = std::max(maxY, p->pos.y);
                    triangle = Mix(triangle, p, sizeof(ImDrawVert));
                }
                triangle = Spread(triangle);
                // A pixel more on each side: rounding and filtering reach that far.
                const int x0 = std::max(static_cast<int>(std::floor(minX * factor)) - 1, clip.x);
                const int y0 = std::max(static_cast<int>(std::floor(minY * factor)) - 1, clip.y);
                const int x1 = std::min(static_cast<int>(std::ceil(maxX * factor)) + 1, clip.x + clip.w - 1);
                const int y1 = std::min(static_cast<int>(std::ceil(maxY * factor)) + 1, clip.y + clip.h - 1);
                if (x1 < x0 || y1 < y0) continue;
                for (int row = y0 / kTile; row <= y1 / kTile; ++row) {
                    uint64_t* tile = &hashes_[static_cast<std::size_t>(row) * columns_];
                    for (int column = x0 / kTile; column <= x1 / kTile; ++column)
                        tile[column] = (tile[column] ^ triangle) * kPrime;
                }
            }
        }
    }
}

bool DrawTiles::ChangedAreas(const DrawTiles& before, const DrawTiles& now, std::vector<SDL_Rect>& areas) {
    areas.clear();
    if (before.Empty() || now.Empty() || before.outW_ != now.outW_ || before.outH_ != now.outH_) return false;
    const int columns = now.columns_;
    // Runs of changed tiles along each row, each joined to the run right above
    // it when both span the same columns.
    std::vector<std::size_t> open;  // areas that reach down to the row before this one
    for (int row = 0; row < now.rows_; ++row) {
        std::vector<std::size_t> reaching;
        for (int column = 0; column < columns;) {
            const std::size_t at = static_cast<std::size_t>(row) * columns + column;
            if (now.hashes_[at] == before.hashes_[at]) {
                ++column;
                continue;
            }
            int end = column;
            while (end < columns && now.hashes_[static_cast<std::size_t>(row) * columns + end] !=
                                        before.hashes_[static_cast<std::size_t>(row) * columns + end])
                ++end;
            const SDL_Rect run{column * kTile, row * kTile, (end - column) * kTile, kTile};
            const auto above = std::find_if(open.begin(), open.end(), [&](std::size_t i) {
                return areas[i].x == run.x && areas[i].w == run.w;
            });
            if (above != open.end()) {
                areas[*above].h += kTile;
                reaching.push_back(*above);
            } else {
                areas.push_back(run);
                reaching.push_back(areas.size() - 1);
            }
            column = end;
        }
        open.swap(reaching);
    }
    // Whole stretched copies: a grown area may reach others, so a few rounds.
    for (int round = 0; round < 8; ++round) {
        bool grew = false;
        for (SDL_Rect& a : areas) {
            for (const SDL_Rect& t : now.stretched_) {
                SDL_Rect both;
                if (!SDL_IntersectRect(&a, &t, &both) || SDL_RectEquals(&both, &t)) continue;
                SDL_UnionRect(&a, &t, &a);
                grew = true;
            }
        }
        if (!grew) break;
        if (round == 7) return false;
    }
    const SDL_Rect output{0, 0, now.outW_, now.outH_};
    for (SDL_Rect& a : areas) SDL_IntersectRect(&a, &output, &a);
    return true;
}
