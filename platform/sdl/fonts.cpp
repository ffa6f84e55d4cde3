#include "platform/sdl/fonts.h"

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>

namespace {

// Characters any font for this game must have: hiragana, katakana, a kanji
// and the full-width ideographic full stop.
constexpr FcChar32 kJapaneseProbe[] = {0x3042, 0x30A2, 0x56DB, 0x3002};

bool CoversJapanese(FcPattern* match) {
    FcCharSet* charset = nullptr;
    if (FcPatternGetCharSet(match, FC_CHARSET, 0, &charset) != FcResultMatch || !charset) return false;
    return std::all_of(std::begin(kJapaneseProbe), std::end(kJapaneseProbe),
                       [&](FcChar32 c) { return FcCharSetHasChar(charset, c) == FcTrue; });
}

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

}  // namespace

FontFace FaceForFamily(const std::string& family) {
    static const char* const kFixedPitchFamilies[] = {"ＭＳ ゴシック", "MS Gothic", "IPAGothic",
                                                      "monospace"};
    for (const char* fixed : kFixedPitchFamilies)
        if (family == fixed) return FontFace::FixedPitch;
    return FontFace::Proportional;
}

std::string FindJapaneseFontFile(const std::string& pattern) {
    if (!FcInit()) return "";
    PatternPtr pat(FcNameParse(reinterpret_cast<const FcChar8*>(pattern.c_str())));
    if (!pat) return "";
    FcConfigSubstitute(nullptr, pat.get(), FcMatchPattern);
    FcDefaultSubstitute(pat.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(nullptr, pat.get(), &result));
    if (!match || !CoversJapanese(match.get())) return "";
    FcChar8* file = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file) return "";
    return reinterpret_cast<const char*>(file);
}

namespace {

std::string FindFirst(std::initializer_list<const char*> patterns) {
    for (const char* p : patterns) {
        std::string file = FindJapaneseFontFile(p);
        if (!file.empty()) return file;
    }
    return "";
}

}  // namespace

FontLibrary::FontLibrary() {
    proportionalFile_ = FindFirst({"IPAPGothic", "sans-serif:lang=ja"});
    if (proportionalFile_.empty())
        throw FontError(
            "No Japanese font found (wanted \"IPAPGothic\" or any sans-serif font for Japanese). "
            "Install the package fonts-ipafont-gothic.");
    // The help panel lines its columns up, so it needs a fixed-pitch face.
    fixedFile_ = FindFirst({"IPAGothic", "monospace:lang=ja"});
    if (fixedFile_.empty())
        throw FontError(
            "No fixed-pitch Japanese font found (wanted \"IPAGothic\"). "
            "Install the package fonts-ipafont-gothic.");
    if (!TTF_WasInit() && TTF_Init() != 0)
        throw FontError(std::string("The font renderer could not start: ") + TTF_GetError());
}

FontLibrary::~FontLibrary() {
    for (auto& [key, font] : open_)
        if (font) TTF_CloseFont(font);
}

const std::string& FontLibrary::FileOf(FontFace face) const {
    return face == FontFace::FixedPitch ? fixedFile_ : proportionalFile_;
}

TTF_Font* FontLibrary::Get(FontFace face, int pixelSize, bool bold) {
    pixelSize = std::max(1, pixelSize);
    auto key = std::make_tuple(face, pixelSize, bold);
    auto it = open_.find(key);
    if (it != open_.end()) return it->second;
    // SDL_ttf measures sizes at 72 dpi, so points are pixels here.
    TTF_Font* font = TTF_OpenFont(FileOf(face).c_str(), pixelSize);
    if (font && bold) TTF_SetFontStyle(font, TTF_STYLE_BOLD);
    open_.emplace(key, font);
    return font;
}
