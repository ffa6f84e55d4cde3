#pragma once
// The two Japanese fonts of the game, found through fontconfig and opened at
// the pixel sizes the labels ask for.
#include <map>
#include <stdexcept>
#include <string>
#include <tuple>

typedef struct _TTF_Font TTF_Font;

// A required font is not installed; the message says which and how to get it.
class FontError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class FontFace { Proportional, FixedPitch };

// The face a label's family name stands for: the help panel's fixed-pitch
// gothic, or the proportional gothic that every other text uses.
FontFace FaceForFamily(const std::string& family);

// The file of the best installed font for a fontconfig pattern, or "" when the
// match cannot show Japanese (fontconfig always matches something).
std::string FindJapaneseFontFile(const std::string& pattern);

class FontLibrary {
public:
    // Finds both faces; throws FontError when either has no Japanese font.
    FontLibrary();
    ~FontLibrary();
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    // The font at a size in pixels (at least 1), opened once and kept.
    // nullptr only when the file cannot be opened any more.
    TTF_Font* Get(FontFace face, int pixelSize, bool bold);
    const std::string& FileOf(FontFace face) const;

private:
    std::string proportionalFile_;
    std::string fixedFile_;
    std::map<std::tuple<FontFace, int, bool>, TTF_Font*> open_;
};
