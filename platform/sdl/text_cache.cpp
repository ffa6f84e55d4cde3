#include "platform/sdl/text_cache.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <functional>

#include "platform/sdl/line_breaking.h"

size_t TextCache::KeyHash::Hash(std::string_view text, const TextStyle& s) {
    size_t h = std::hash<std::string_view>()(text);
    auto mix = [&h](size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(static_cast<size_t>(s.face));
    mix(static_cast<size_t>(s.pixelSize));
    mix(s.bold);
    mix(static_cast<size_t>(s.wrapWidth + 1));
    mix(static_cast<size_t>(s.align));
    return h;
}

namespace {

void DestroyEntry(CachedText& t) {
    if (t.texture) SDL_DestroyTexture(t.texture);
    for (auto& halo : t.halos)
        if (halo.texture) SDL_DestroyTexture(halo.texture);
    if (t.surface) SDL_FreeSurface(t.surface);
    t = CachedText{};
}

}  // namespace

TextCache::~TextCache() {
    for (auto& [key, text] : entries_) DestroyEntry(text);
}

SDL_Surface* TextCache::RenderLines(TTF_Font* font, std::string_view text, const TextStyle& style) {
    if (!font || text.empty()) return nullptr;
    std::string scratch;
    auto measure = [&](std::string_view piece) -> float {
        scratch.assign(piece);
        int w = 0, h = 0;
        if (TTF_SizeUTF8(font, scratch.c_str(), &w, &h) != 0) return 0;
        return static_cast<float>(w);
    };
    const bool wrap = style.wrapWidth >= 0;
    std::vector<std::string> lines =
        BreakIntoLines(text, wrap, static_cast<float>(std::max(1, style.wrapWidth)), measure);

    const SDL_Color white{255, 255, 255, 255};
    std::vector<SDL_Surface*> rendered;
    int width = 0;
    for (const std::string& line : lines) {
        SDL_Surface* s = line.empty() ? nullptr : TTF_RenderUTF8_Blended(font, line.c_str(), white);
        rendered.push_back(s);
        if (s) width = std::max(width, s->w);
    }
    const int skip = TTF_FontLineSkip(font);
    const int height = TTF_FontHeight(font) + skip * (static_cast<int>(lines.size()) - 1);
    SDL_Surface* out = nullptr;
    if (width > 0 && height > 0) {
        out = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
        if (out) SDL_FillRect(out, nullptr, 0x00FFFFFFu);
    }
    for (size_t i = 0; i < rendered.size(); ++i) {
        SDL_Surface* s = rendered[i];
        if (!s) continue;
        if (out) {
            int x = 0;
            if (style.align == TTextAlign::taCenter) x = (width - s->w) / 2;
            if (style.align == TTextAlign::taTrailing) x = width - s->w;
            SDL_Rect dst{x, static_cast<int>(i) * skip, s->w, s->h};
            // Copy, not blend: lines do not overlap and blending onto the
            // transparent surface would darken the glyph edges.
            SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_NONE);
            SDL_BlitSurface(s, nullptr, out, &dst);
        }
        SDL_FreeSurface(s);
    }
    return out;
}

CachedText* TextCache::Get(std::string_view text, const TextStyle& style, uint64_t frame) {
    if (text.empty()) return nullptr;
    auto it = entries_.find(KeyView{text, style});
    if (it == entries_.end()) {
        CachedText entry;
        TTF_Font* font = fonts_.Get(style.face, style.pixelSize, style.bold);
        entry.surface = RenderLines(font, text, style);
        if (entry.surface) {
            entry.texture = SDL_CreateTextureFromSurface(renderer_, entry.surface);
            entry.width = entry.surface->w;
            entry.height = entry.surface->h;
            if (entry.texture) {
                SDL_SetTextureBlendMode(entry.texture, SDL_BLENDMODE_BLEND);
                SDL_SetTextureScaleMode(entry.texture, SDL_ScaleModeLinear);
            }
        }
        it = entries_.emplace(Key{std::string(text), style}, entry).first;
    }
    it->second.lastUsedFrame = frame;
    return it->second.texture ? &it->second : nullptr;
}

SDL_Texture* TextCache::HaloOf(CachedText& text, const HaloShape& shape) {
    for (auto& halo : text.halos)
        if (halo.shape == shape) return halo.texture;
    SDL_Texture* texture = nullptr;
    if (SDL_Surface* surface = MakeHalo(text.surface, shape)) {
        texture = SDL_CreateTextureFromSurface(renderer_, surface);
        SDL_FreeSurface(surface);
        if (texture) {
            SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
            SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
        }
    }
    text.halos.push_back({shape, texture});
    return texture;
}

void TextCache::EvictUnusedSince(uint64_t frame) {
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->second.lastUsedFrame < frame) {
            DestroyEntry(it->second);
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
}

std::vector<const CachedText*> TextCache::RenderingsOf(std::string_view text) const {
    std::vector<const CachedText*> found;
    for (const auto& [key, entry] : entries_)
        if (key.text == text && entry.texture) found.push_back(&entry);
    return found;
}
