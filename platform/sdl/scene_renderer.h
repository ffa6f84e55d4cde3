#pragma once
// Draws a window's scene tree with an SDL renderer: the background picture,
// then every visible object in tree order with its effects.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include <SDL_rect.h>

#include "platform/scene.h"
#include "platform/sdl/fonts.h"
#include "platform/sdl/picture_cache.h"
#include "platform/sdl/text_cache.h"

struct SDL_Renderer;
struct SDL_Texture;

class SceneRenderer {
public:
    SceneRenderer(SDL_Renderer* renderer, FontLibrary& fonts);
    SceneRenderer(const SceneRenderer&) = delete;
    SceneRenderer& operator=(const SceneRenderer&) = delete;

    // Draws the form over the whole render output (client coordinates are
    // mapped onto the output size). Does not present.
    void Draw(const TForm& form);

    // Where the picture drawn last and the form's scene as captured by its
    // NeedsFrame() differ, in output pixels. `whole` when everything must be
    // drawn: the first frame, a new output or window size, background or
    // picture copy, or changes covering so much that drawing all is as cheap.
    struct Changes {
        bool whole = true;
        std::vector<SDL_Rect> areas;
    };
    Changes ChangedAreas(const TForm& form);
    // Draws what ChangedAreas found, right after it: everything, or only the
    // areas (outside them the render target must still hold the last frame).
    void DrawChanges(const TForm& form, const Changes& changes);

    SDL_Renderer* Renderer() const { return renderer_; }
    // Where an object's own drawing (its text or picture with their halos, not its
    // children) landed in the frame drawn last, in output pixels; empty when it
    // was not drawn.
    SDL_Rect DrawnArea(const TControl& c) const;
    const TextCache& Texts() const { return texts_; }
    const PictureCache& Pictures() const { return pictures_; }

    // Texts and pictures not drawn for this many frames are released.
    static constexpr uint64_t kTextIdleFrames = 600;
    static constexpr uint64_t kPictureIdleFrames = 1800;

    // Changed areas covering more than this share of the output are drawn whole.
    static constexpr float kWholeShare = 0.45f;

private:
    // Where one object's own drawing lands (not its children's), in output pixels.
    struct Extent {
        const TControl* object = nullptr;
        SDL_Rect rect{0, 0, 0, 0};
        bool stretched = false;  // copied at another size: clipping it may shift its pixels
    };
    enum class Pass { Measure, Draw };

    void BeginFrame(const TForm& form);
    void Measure(const TForm& form);
    void DrawPass(const TForm& form, const SDL_Rect* clip);
    void DrawBackground(const TForm& form);
    // The frame just drawn is the one on screen now.
    void Commit(const TForm& form);
    // Copies a texture (or fills with the draw colour when texture is nullptr),
    // or only notes where it would land while measuring.
    void Emit(SDL_Texture* texture, const SDL_FRect& dst, int srcW, int srcH);
    void Emit(SDL_Texture* texture, const SDL_Rect& dst, int srcW, int srcH);
    void Note(const SDL_FRect& dst, bool stretched);
    void DrawChildren(const SceneObject& parent, float x, float y, float opacity);
    void DrawControl(const TControl& c, float x, float y, float opacity);
    void DrawImage(const TImage& img, const SDL_FRect& rect, float opacity);
    void DrawText(const TText& text, const SDL_FRect& rect, float opacity);
    void DrawLabel(const TLabel& label, const SDL_FRect& rect, float opacity);
    void DrawRectangle(const TRectangle& r, const SDL_FRect& rect, float opacity);
    // Draws cached text stretched into dst, with the shadow and glow effects
    // that are children of the owner object.
    void DrawTextWithEffects(const SceneObject& owner, CachedText& text, const SDL_FRect& dst,
                             TAlphaColor color, float opacity);
    void EvictIdle();
    // Copies a picture into rect, from a pre-scaled copy where that pays.
    void CopyPicture(const std::string& path, CachedPicture& pic, const SDL_FRect& rect, float opacity);

    SDL_Renderer* renderer_;
    PictureCache pictures_;
    TextCache texts_;
    uint64_t frame_ = 0;
    float scaleX_ = 1, scaleY_ = 1;
    bool prescale_ = false;  // software renderer: stretching is costly

    Pass pass_ = Pass::Draw;
    int outW_ = 0, outH_ = 0;
    std::vector<Extent> extents_;      // this frame's, in drawing order
    std::vector<Extent> drawnExtents_;  // those of the frame on screen
    std::unordered_map<const TControl*, size_t> drawnIndex_;
    std::unordered_map<const TControl*, size_t> beforeIndex_;
    std::vector<bool> seen_;
    const TForm* drawnForm_ = nullptr;
    static constexpr size_t kNoObject = static_cast<size_t>(-1);
    size_t visit_ = 0;                // objects met so far in this pass
    size_t current_ = kNoObject;      // the object whose own drawing is being done
    const SDL_Rect* clip_ = nullptr;  // the area being drawn, or nullptr for all
    bool culled_ = false;             // the current object lies outside the area
    int drawnOutW_ = 0, drawnOutH_ = 0;
    uint64_t scaledBuildsAtMeasure_ = 0;
    bool backgroundStretched_ = false;
};
