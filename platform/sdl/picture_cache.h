#pragma once
// Decoded pictures as textures, one per file, decoded on first use.
#include <cstdint>
#include <string>
#include <unordered_map>

struct SDL_Renderer;
struct SDL_Texture;

struct CachedPicture {
    SDL_Texture* texture = nullptr;  // nullptr: the file could not be decoded
    int width = 0;
    int height = 0;
    uint64_t lastUsedFrame = 0;
    // A copy scaled to the size the picture is steadily drawn at (software
    // rendering only: stretching every frame is its main cost there).
    SDL_Texture* scaled = nullptr;
    int scaledWidth = 0, scaledHeight = 0;
    int pendingWidth = 0, pendingHeight = 0, pendingFrames = 0;
};

class PictureCache {
public:
    explicit PictureCache(SDL_Renderer* renderer) : renderer_(renderer) {}
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // The picture of a file; a missing or undecodable file gives an entry
    // without texture (remembered, so it is not retried every frame).
    CachedPicture& Get(const std::string& path, uint64_t frame);
    // The picture pre-scaled to w × h once it has been drawn at that size for a
    // few frames in a row; nullptr until then (stretch the full picture).
    SDL_Texture* ScaledTo(const std::string& path, CachedPicture& pic, int w, int h);
    // The scaled copy of exactly w × h if there is one; builds nothing.
    static SDL_Texture* ScaledCopy(const CachedPicture& pic, int w, int h) {
        return pic.scaled && pic.scaledWidth == w && pic.scaledHeight == h ? pic.scaled : nullptr;
    }
    // How many scaled copies have been made so far.
    uint64_t ScaledBuilds() const { return scaledBuilds_; }
    // Forgets pictures not used since before the given frame.
    void EvictUnusedSince(uint64_t frame);
    size_t Size() const { return entries_.size(); }

private:
    SDL_Renderer* renderer_;
    std::unordered_map<std::string, CachedPicture> entries_;
    uint64_t scaledBuilds_ = 0;
};
