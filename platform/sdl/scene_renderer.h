#pragma once
// Draws a window's scene tree with an SDL renderer: the background picture,
// then every visible object in tree order with its effects.
#include <cstdint>
#include <string>

#include "platform/scene.h"
#include "platform/sdl/fonts.h"
#include "platform/sdl/picture_cache.h"
#include "platform/sdl/text_cache.h"

struct SDL_Renderer;
struct SDL_FRect;

class SceneRenderer {
public:
    SceneRenderer(SDL_Renderer* renderer, FontLibrary& fonts);
    SceneRenderer(const SceneRenderer&) = delete;
    SceneRenderer& operator=(const SceneRenderer&) = delete;

    // Draws the form over the whole render output (client coordinates are
    // mapped onto the output size). Does not present.
    void Draw(const TForm& form);

    SDL_Renderer* Renderer() const { return renderer_; }
    const TextCache& Texts() const { return texts_; }
    const PictureCache& Pictures() const { return pictures_; }

    // Texts and pictures not drawn for this many frames are released.
    static constexpr uint64_t kTextIdleFrames = 600;
    static constexpr uint64_t kPictureIdleFrames = 1800;

private:
    void DrawChildren(const TFmxObject& parent, float x, float y, float opacity);
    void DrawControl(const TControl& c, float x, float y, float opacity);
    void DrawImage(const TImage& img, const SDL_FRect& rect, float opacity);
    void DrawText(const TText& text, const SDL_FRect& rect, float opacity);
    void DrawLabel(const TLabel& label, const SDL_FRect& rect, float opacity);
    void DrawRectangle(const TRectangle& r, const SDL_FRect& rect, float opacity);
    // Draws cached text stretched into dst, with the shadow and glow effects
    // that are children of the owner object.
    void DrawTextWithEffects(const TFmxObject& owner, CachedText& text, const SDL_FRect& dst,
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
};
