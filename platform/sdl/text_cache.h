#pragma once
// Rendered texts as textures: one per text, font, size, wrap width and
// alignment, drawn white and tinted at draw time, so a colour change costs
// nothing. Glow and shadow halos are made once per text and shape.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/scene.h"
#include "platform/sdl/fonts.h"
#include "platform/sdl/halo.h"

struct SDL_Renderer;
struct SDL_Surface;
struct SDL_Texture;

struct TextStyle {
    FontFace face = FontFace::Proportional;
    int pixelSize = 12;
    bool bold = false;
    int wrapWidth = -1;  // pixels; -1: break only at line ends in the text
    TTextAlign align = TTextAlign::taLeading;
    bool operator==(const TextStyle&) const = default;
};

struct CachedText {
    SDL_Texture* texture = nullptr;  // white text on transparent
    int width = 0;
    int height = 0;
    struct Halo {
        HaloShape shape;
        SDL_Texture* texture = nullptr;
    };
    std::vector<Halo> halos;
    SDL_Surface* surface = nullptr;  // kept to build halos from
    uint64_t lastUsedFrame = 0;
};

class TextCache {
public:
    TextCache(SDL_Renderer* renderer, FontLibrary& fonts) : renderer_(renderer), fonts_(fonts) {}
    ~TextCache();
    TextCache(const TextCache&) = delete;
    TextCache& operator=(const TextCache&) = delete;

    // nullptr for empty text or text that cannot be rendered.
    CachedText* Get(std::string_view text, const TextStyle& style, uint64_t frame);
    // The halo texture of a cached text (margin = shape.Margin() on each side).
    SDL_Texture* HaloOf(CachedText& text, const HaloShape& shape);
    void EvictUnusedSince(uint64_t frame);
    // The renderings of a text that are cached now, in any style.
    std::vector<const CachedText*> RenderingsOf(std::string_view text) const;
    size_t Size() const { return entries_.size(); }

    // Renders text lines into one white ARGB8888 surface (nullptr when empty).
    static SDL_Surface* RenderLines(TTF_Font* font, std::string_view text, const TextStyle& style);

private:
    struct Key {
        std::string text;
        TextStyle style;
    };
    struct KeyView {
        std::string_view text;
        TextStyle style;
    };
    struct KeyHash {
        using is_transparent = void;
        size_t operator()(const Key& k) const { return Hash(k.text, k.style); }
        size_t operator()(const KeyView& k) const { return Hash(k.text, k.style); }
        static size_t Hash(std::string_view text, const TextStyle& s);
    };
    struct KeyEqual {
        using is_transparent = void;
        template <class A, class B>
        bool operator()(const A& a, const B& b) const { return a.text == b.text && a.style == b.style; }
    };

    SDL_Renderer* renderer_;
    FontLibrary& fonts_;
    std::unordered_map<Key, CachedText, KeyHash, KeyEqual> entries_;
};
