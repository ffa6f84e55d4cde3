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
struct ImDrawList;

// The clip rectangle of a draw command in output pixels, as the SDL renderer
// back end sets it (in logical pixels, whole numbers) and SDL scales it by
// `factor`. Empty when the command draws nothing.
SDL_Rect OutputClipOf(const ImDrawCmd& cmd, const ImDrawData& data, float factor);

class DrawTiles {
public:
    static constexpr int kTile = 64;  // output pixels

    // Hashes the tiles of an outW x outH output for this frame drawn at factor
    // output pixels per logical one, its texture (the glyph atlas) being
    // textureW x textureH. Frames with callbacks are not hashed.
    void Hash(const ImDrawData& data, float factor, int outW, int outH, int textureW, int textureH);
    void Clear() { hashes_.clear(); }
    bool Empty() const { return hashes_.empty(); }

    // The tiles where now differs from before, joined into rectangles and
    // clipped to the output, each grown to hold whole every stretched copy of
    // now it reaches into. False when the two cannot be compared.
    static bool ChangedAreas(const DrawTiles& before, const DrawTiles& now, std::vector<SDL_Rect>& areas);

private:
    int outW_ = 0, outH_ = 0, columns_ = 0, rows_ = 0;
    std::vector<uint64_t> hashes_;
    // Where this frame's stretched copies land, within their clip. SDL's
    // software renderer draws two triangles that make a rectangle of one
    // colour as a copy of the texture's rectangle under it (or a fill when
    // that is a line or a point); it stretches the copy when the sizes it
    // rounds the two to differ, as for some glyphs, and a stretch cut by
    // another clip rectangle samples other texels. So an area never cuts one.
    std::vector<SDL_Rect> stretched_;
    void NoteStretchedCopies(const ImDrawList& list, const ImDrawCmd& cmd, float factor, int textureW,
                             int textureH, const SDL_Rect& clip);
};
