#pragma once
// Where two Dear ImGui frames differ on screen, so the software renderer can
// redraw only there: the output is cut into square tiles, and each tile keeps a
// hash of every triangle that reaches into it, in drawing order, with its
// texture and clip rectangle. Tiles with the same hash look the same.
#include <cstdint>
#include <vector>

#include <SDL_rect.h>

struct ImDrawData;
struct ImDrawCmd;

// The clip rectangle of a draw command in output pixels, as the SDL renderer
// back end sets it (in logical pixels, whole numbers) and SDL scales it by
// `factor`. Empty when the command draws nothing.
SDL_Rect OutputClipOf(const ImDrawCmd& cmd, const ImDrawData& data, float factor);

class DrawTiles {
public:
    static constexpr int kTile = 64;  // output pixels

    // Hashes the tiles of an outW x outH output for this frame drawn at factor
    // output pixels per logical one. Frames with callbacks are not hashed.
    void Hash(const ImDrawData& data, float factor, int outW, int outH);
    void Clear() { hashes_.clear(); }
    bool Empty() const { return hashes_.empty(); }

    // The tiles where now differs from before, joined into rectangles and
    // clipped to the output, each grown to hold whole every textured
    // triangle of now it reaches into. False when the two cannot be compared.
    static bool ChangedAreas(const DrawTiles& before, const DrawTiles& now, std::vector<SDL_Rect>& areas);

private:
    int outW_ = 0, outH_ = 0, columns_ = 0, rows_ = 0;
    std::vector<uint64_t> hashes_;
    // Where this frame's textured triangles land (glyphs, mostly), within
    // their clip: SDL stretches a glyph copy whose size it rounded apart from
    // its source's, and a stretch cut by another clip rectangle samples other
    // texels. So an area never cuts one.
    std::vector<SDL_Rect> textured_;
};
