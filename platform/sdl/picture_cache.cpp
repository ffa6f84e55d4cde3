#include "platform/sdl/picture_cache.h"

#include <SDL.h>
#include <SDL_image.h>

PictureCache::~PictureCache() {
    for (auto& [path, pic] : entries_)
        if (pic.texture) SDL_DestroyTexture(pic.texture);
}

const CachedPicture& PictureCache::Get(const std::string& path, uint64_t frame) {
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
            if (it->second.texture) SDL_DestroyTexture(it->second.texture);
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
}
