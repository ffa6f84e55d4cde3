#pragma once
// The game's window drawn by the real renderer into memory (software, no
// display), at a window size and desktop scale, for tests that look at where
// things landed.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/scene.h"
#include "platform/sdl/fonts.h"
#include "platform/sdl/scene_renderer.h"

namespace scene_test {

struct Display {
    int clientW, clientH;  // the window in logical pixels
    int scale;             // desktop scale: output pixels per logical pixel
};

class Output {
public:
    explicit Output(const Display& d) : d_(d) {
        SDL_Init(SDL_INIT_VIDEO);
        IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG);
        surface_ = SDL_CreateRGBSurfaceWithFormat(0, d.clientW * d.scale, d.clientH * d.scale, 32,
                                                  SDL_PIXELFORMAT_ARGB8888);
        renderer_ = SDL_CreateSoftwareRenderer(surface_);
        scene_ = std::make_unique<SceneRenderer>(renderer_, fonts_);
    }
    ~Output() {
        scene_.reset();
        SDL_DestroyRenderer(renderer_);
        SDL_FreeSurface(surface_);
    }
    // Draws the window, then tells where c landed.
    SDL_Rect Area(const TForm& form, const TControl& c) {
        scene_->Draw(form);
        return scene_->DrawnArea(c);
    }
    void Draw(const TForm& form) { scene_->Draw(form); }
    // Where c landed in the frame drawn last.
    SDL_Rect DrawnArea(const TControl& c) const { return scene_->DrawnArea(c); }
    SDL_Rect InPixels(const TControl& c) const {
        const int k = d_.scale;
        return {static_cast<int>(c.Position.X * k), static_cast<int>(c.Position.Y * k),
                static_cast<int>(c.Width * k), static_cast<int>(c.Height * k)};
    }
    // The drawn pixels of an area (clipped to the output), row by row.
    std::vector<uint32_t> Pixels(SDL_Rect r) const {
        const SDL_Rect all{0, 0, surface_->w, surface_->h};
        std::vector<uint32_t> out;
        if (!SDL_IntersectRect(&r, &all, &r)) return out;
        SDL_RenderFlush(renderer_);
        const auto* px = static_cast<const uint32_t*>(surface_->pixels);
        for (int y = r.y; y < r.y + r.h; ++y)
            out.insert(out.end(), px + y * (surface_->pitch / 4) + r.x, px + y * (surface_->pitch / 4) + r.x + r.w);
        return out;
    }
    int Width() const { return surface_->w; }
    int Height() const { return surface_->h; }

private:
    Display d_;
    SDL_Surface* surface_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    FontLibrary fonts_;
    std::unique_ptr<SceneRenderer> scene_;
};

}  // namespace scene_test
