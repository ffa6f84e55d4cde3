#include "platform/sdl/picture_cache.h"

#include <SDL.h>
#include <SDL_image.h>

namespace {

void Release(CachedPicture& pic) {
    if (pic.texture) SDL_DestroyTexture(pic.texture);
    if (pic.scaled) SDL_DestroyTexture(pic.scaled);
    pic.texture = pic.scaled = nullptr;
}

// Sizes in a row a picture must be drawn at before a scaled copy is made, so
// that zooms and other animated sizes do not rebuild copies every frame.
constexpr int kSteadyFrames = 3;

}  // namespace

PictureCache::~PictureCache() {
    for (auto& [path, pic] : entries_) Release(pic);
}

SDL_Texture* PictureCache::ScaledTo(const std::string& path, CachedPicture& pic, int w, int h) {
    if (!pic.texture || w <= 0 || h <= 0 || w > 8192 || h > 8192) return nullptr;
    if (pic.scaled && pic.scaledWidth == w && pic.scaledHeight == h) return pic.scaled;
    if (pic.pendingWidth != w || pic.pendingHeight != h) {
        pic.pendingWidth = w;
        pic.pendingHeight = h;
        pic.pendingFrames = 0;
    }
    if (++pic.pendingFrames < kSteadyFrames) return nullptr;

    SDL_Surface* source = IMG_Load(path.c_str());
    if (!source) return nullptr;
    const bool alpha = SDL_ISPIXELFORMAT_ALPHA(source->format->format) || SDL_HasColorKey(source);
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(source, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(source);
    SDL_Surface* scaled = argb ? SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888) : nullptr;
    SDL_Texture* texture = nullptr;
    if (scaled && SDL_SoftStretchLinear(argb, nullptr, scaled, nullptr) == 0) {
        texture = SDL_CreateTextureFromSurface(renderer_, scaled);
        if (texture) SDL_SetTextureBlendMode(texture, alpha ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    }
    if (scaled) SDL_FreeSurface(scaled);
    if (argb) SDL_FreeSurface(argb);
    if (!texture) return nullptr;
    if (pic.scaled) SDL_DestroyTexture(pic.scaled);
    pic.scaled = texture;
    pic.scaledWidth = w;
    pic.scaledHeight = h;
    ++scaledBuilds_;
    return texture;
}

CachedPicture& PictureCache::Get(const std::string& path, uint64_t frame) {
    auto it = entries_.find(path);
    if (it == entries_.end()) {
        CachedPicture pic;
        if (SDL_Surface* surface = IMG_Load(path.c_str())) {
            pic.texture = SDL_CreateTextureFromSurface(renderer_, surface);
            pic.width = surface->w;
            pic.height = surface->h;
            SDL_FreeSurface(surface);
            if (pic.texture) SDL_SetTextureScaleMode(pic.texture, SDL_ScaleModeLinear);
        }
        it = entries_.emplace(path, pic).first;
    }
    it->second.lastUsedFrame = frame;
    return it->second;
}

void PictureCache::EvictUnusedSince(uint64_t frame) {
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->second.lastUsedFrame < frame) {
            Release(it->second);
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
}
