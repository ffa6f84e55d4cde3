#include "settings_dialog/imgui_layer.h"

#include <cmath>

#include <SDL.h>
#include <imgui.h>
#include <imgui_freetype.h>
#include <imgui_internal.h>  // ImTextCharFromUtf8
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "settings_dialog/dialog_texts.h"

namespace {

float gImeLineHeight = 14;
PixelMapping gImeMapping;

// The input method opens its candidate window below this rectangle: the caret's
// line, given in logical pixels and placed in window coordinates.
void PlaceInputMethodWindow(int x, int y) {
    const auto toWindow = [](float v) { return static_cast<int>(std::lround(gImeMapping.LogicalToWindow(v))); };
    SDL_Rect caret{toWindow(static_cast<float>(x)), toWindow(static_cast<float>(y)), 1,
                   toWindow(gImeLineHeight + 2)};
    SDL_SetTextInputRect(&caret);
}

bool IsModifier(SDL_Scancode sc) { return sc >= SDL_SCANCODE_LCTRL && sc <= SDL_SCANCODE_RGUI; }

// Each character of the text that can have a glyph: ImGui keeps 16-bit
// characters, and control characters have none.
template <typename F>
void ForEachCharacter(std::string_view utf8, F&& f) {
    const char* p = utf8.data();
    const char* end = p + utf8.size();
    while (p < end) {
        unsigned c = 0;
        const int n = ImTextCharFromUtf8(&c, p, end);
        if (n <= 0) break;
        p += n;
        if (c >= 0x20 && c <= 0xFFFF) f(c);
    }
}

// What an atlas holds: the common Japanese set (so most typed text needs no
// rebuild), the punctuation of the dialogs' own texts and the extra characters.
void CollectCharacters(ImFontGlyphRangesBuilder& characters, const ImWchar* common, const std::set<unsigned>& extra) {
    characters.AddRanges(common);
    characters.AddText(kDialogPunctuation);
    for (unsigned c : extra) characters.AddChar(static_cast<ImWchar>(c));
}

struct RasterisedFonts {
    ImFont* text = nullptr;
    ImFont* heading = nullptr;  // only when heading characters were asked for
    ImFont* reading = nullptr;
};

// Rasterises the font's glyphs for those characters at the physical size, and
// the heading and reading sizes. The ranges vectors keep what the atlas was given.
RasterisedFonts RasteriseAtlas(ImFontAtlas& atlas, const std::string& fontFile, float physicalPixels,
                               ImFontGlyphRangesBuilder& characters, std::vector<unsigned short>& ranges,
                               const std::set<unsigned>& heading, std::vector<unsigned short>& headingRanges) {
    atlas.Clear();
    atlas.FontBuilderIO = ImGuiFreeType::GetBuilderForFreeType();
    atlas.FontBuilderFlags = ImGuiFreeTypeBuilderFlags_LightHinting;
    atlas.TexDesiredWidth = 2048;
    // Only the rows the glyphs fill: less to hold and to upload (at scale 2
    // most of a power-of-two height would stay empty).
    atlas.Flags |= ImFontAtlasFlags_NoPowerOfTwoHeight;
    ImVector<ImWchar> built;
    characters.BuildRanges(&built);
    ranges.assign(built.begin(), built.end());
    RasterisedFonts fonts;
    fonts.text = fontFile.empty()
                     ? nullptr
                     : atlas.AddFontFromFileTTF(fontFile.c_str(), physicalPixels, nullptr, ranges.data());
    if (!fonts.text) {
        std::fprintf(stderr, "The dialog font %s could not be loaded; Japanese text will not show.\n",
                     fontFile.c_str());
        fonts.text = atlas.AddFontDefault();
    } else {
        static const ImWchar kana[] = {0x3041, 0x3096, 0x30FC, 0x30FC, 0};  // hiragana and ー: readings
        fonts.reading = atlas.AddFontFromFileTTF(fontFile.c_str(), physicalPixels * ImGuiLayer::kReadingScale,
                                                 nullptr, kana);
        if (!heading.empty()) {
            ImFontGlyphRangesBuilder headingCharacters;
            for (unsigned c : heading) headingCharacters.AddChar(static_cast<ImWchar>(c));
            ImVector<ImWchar> headingBuilt;
            headingCharacters.BuildRanges(&headingBuilt);
            headingRanges.assign(headingBuilt.begin(), headingBuilt.end());
            fonts.heading = atlas.AddFontFromFileTTF(fontFile.c_str(), physicalPixels * ImGuiLayer::kHeadingScale,
                                                     nullptr, headingRanges.data());
        }
    }
    atlas.Build();
    return fonts;
}

}  // namespace

PreparedFontAtlas::PreparedFontAtlas(std::string fontFile, float fontPixels, PixelMapping mapping, std::string texts,
                                     std::string headingTexts)
    : fontFile_(std::move(fontFile)),
      fontPixels_(fontPixels),
      mapping_(mapping),
      atlas_(std::make_unique<ImFontAtlas>()),
      characters_(std::make_unique<ImFontGlyphRangesBuilder>()) {
    // Unpacked here: ImGui unpacks the common set into a static table at the first call.
    const ImWchar* common = atlas_->GetGlyphRangesJapanese();
    thread_ = std::thread([this, common, texts = std::move(texts), headingTexts = std::move(headingTexts)] {
        ForEachCharacter(texts, [this](unsigned c) { extraCharacters_.insert(c); });
        ForEachCharacter(headingTexts, [this](unsigned c) { headingCharacters_.insert(c); });
        CollectCharacters(*characters_, common, extraCharacters_);
        const RasterisedFonts fonts = RasteriseAtlas(*atlas_, fontFile_, fontPixels_ * mapping_.factor, *characters_,
                                                     glyphRanges_, headingCharacters_, headingRanges_);
        font_ = fonts.text;
        headingFont_ = fonts.heading;
        readingFont_ = fonts.reading;
        // In the renderer's format, so the first frame only copies it.
        unsigned char* pixels = nullptr;
        int width = 0, height = 0;
        atlas_->GetTexDataAsRGBA32(&pixels, &width, &height);
        ready_ = true;
    });
}

PreparedFontAtlas::~PreparedFontAtlas() { Wait(); }

void PreparedFontAtlas::Wait() {
    if (thread_.joinable()) thread_.join();
}

ImGuiLayer::ImGuiLayer(SDL_Window* window, SDL_Renderer* renderer, std::string fontFile, float fontPixels,
                       PixelMapping mapping, std::unique_ptr<PreparedFontAtlas> prepared)
    : renderer_(renderer),
      fontFile_(std::move(fontFile)),
      fontPixels_(fontPixels),
      mapping_(mapping),
      prepared_(std::move(prepared)) {
    IMGUI_CHECKVERSION();
    if (prepared_ && (prepared_->fontFile_ != fontFile_ || prepared_->fontPixels_ != fontPixels_ ||
                      prepared_->mapping_.factor != mapping_.factor))
        prepared_.reset();  // not this layer's atlas
    if (prepared_) {
        // Its thread allocates through ImGui, which must have no context meanwhile.
        prepared_->Wait();
        atlas_ = std::move(prepared_->atlas_);
    } else {
        atlas_ = std::make_unique<ImFontAtlas>();
    }
    ImGui::CreateContext(atlas_.get());
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;  // the dialog keeps no layout between runs
    io.LogFilename = nullptr;
    io.ImeSetInputScreenPosFn = PlaceInputMethodWindow;
    gImeLineHeight = fontPixels_;
    gImeMapping = mapping_;
    ImGui_ImplSDL2_InitForSDLRenderer(window);
    ImGui_ImplSDLRenderer_Init(renderer);
}

ImGuiLayer::~ImGuiLayer() {
    ImGui_ImplSDLRenderer_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
    atlas_.reset();
}

void ImGuiLayer::ProcessEvent(const SDL_Event& e) {
    // Pointer positions come from the events: the global pointer query the
    // back end would use is stale on some X servers.
    if (e.type == SDL_MOUSEMOTION) {
        mouseX_ = mapping_.WindowToLogical(static_cast<float>(e.motion.x));
        mouseY_ = mapping_.WindowToLogical(static_cast<float>(e.motion.y));
        mouseKnown_ = true;
    } else if (e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP) {
        mouseX_ = mapping_.WindowToLogical(static_cast<float>(e.button.x));
        mouseY_ = mapping_.WindowToLogical(static_cast<float>(e.button.y));
        mouseKnown_ = true;
    }
    switch (e.type) {
        case SDL_KEYDOWN:
            // A repeat of a press still waiting adds nothing: behind slow
            // frames they would pile up and run on after the key is let go.
            if (e.key.repeat && std::any_of(keyboardInput_.begin(), keyboardInput_.end(), [&](const SDL_Event& w) {
                    return w.type == SDL_KEYDOWN && w.key.keysym.scancode == e.key.keysym.scancode;
                }))
                return;
            keyboardInput_.push_back(e);
            return;
        case SDL_KEYUP:
        case SDL_TEXTINPUT:
        case SDL_TEXTEDITING:
            keyboardInput_.push_back(e);
            return;
        default:
            ImGui_ImplSDL2_ProcessEvent(&e);
    }
}

void ImGuiLayer::DeliverKeyboardInput() {
    // A key other than a modifier is down for ImGui in the frame of its press
    // only. ImGui would otherwise repeat it by itself once a frame or two took
    // longer than its repeat delay, as at 3840 x 2160 in software, before the
    // release could come in; the desktop's own repeats come as presses.
    ImGuiIO& io = ImGui::GetIO();
    const int releasedNow = pressedKey_;
    if (pressedKey_ >= 0) io.KeysDown[pressedKey_] = false;
    pressedKey_ = -1;
    bool pressed = false;
    while (!keyboardInput_.empty()) {
        const SDL_Event& e = keyboardInput_.front();
        const bool key = e.type == SDL_KEYDOWN || e.type == SDL_KEYUP;
        // After a press only its text may follow in the same frame: a
        // modifier released at once must still hold for that press.
        if (key && pressed) break;
        // The key let go just now is seen up for a frame before it goes down again.
        if (e.type == SDL_KEYDOWN && e.key.keysym.scancode == releasedNow) break;
        pressed = pressed || e.type == SDL_KEYDOWN;
        ImGui_ImplSDL2_ProcessEvent(&e);
        if (e.type == SDL_KEYDOWN && !IsModifier(e.key.keysym.scancode)) pressedKey_ = e.key.keysym.scancode;
        if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) {
            // Modifiers as they were with this key, not as they are by now.
            const Uint16 mod = e.key.keysym.mod;
            io.KeyShift = (mod & KMOD_SHIFT) != 0;
            io.KeyCtrl = (mod & KMOD_CTRL) != 0;
            io.KeyAlt = (mod & KMOD_ALT) != 0;
            io.KeySuper = (mod & KMOD_GUI) != 0;
        }
        keyboardInput_.pop_front();
    }
}

void ImGuiLayer::ResetInput() {
    ImGuiIO& io = ImGui::GetIO();
    for (bool& down : io.KeysDown) down = false;
    for (bool& down : io.MouseDown) down = false;
    keyboardInput_.clear();
    pressedKey_ = -1;
    io.ClearInputCharacters();
}

void ImGuiLayer::RequireGlyphs(std::string_view utf8) {
    ForEachCharacter(utf8, [this](unsigned c) {
        if (font_ && font_->FindGlyphNoFallback(static_cast<ImWchar>(c))) return;
        // A character the font lacks is asked for once, not at every frame.
        if (extraCharacters_.insert(c).second) fontsDirty_ = true;
    });
}

void ImGuiLayer::RequireHeadingGlyphs(std::string_view utf8) {
    ForEachCharacter(utf8, [this](unsigned c) {
        if (headingCharacters_.insert(c).second) fontsDirty_ = true;
    });
}

bool ImGuiLayer::HasGlyph(char32_t c) const {
    return font_ && c <= 0xFFFF && font_->FindGlyphNoFallback(static_cast<ImWchar>(c)) != nullptr;
}

void ImGuiLayer::BuildFonts() {
    ImFontGlyphRangesBuilder characters;
    CollectCharacters(characters, atlas_->GetGlyphRangesJapanese(), extraCharacters_);
    const RasterisedFonts fonts = RasteriseAtlas(*atlas_, fontFile_, fontPixels_ * mapping_.factor, characters,
                                                 glyphRanges_, headingCharacters_, headingRanges_);
    font_ = fonts.text;
    headingFont_ = fonts.heading;
    readingFont_ = fonts.reading;
    ++atlasBuilds_;
    UploadFonts();
}

bool ImGuiLayer::TakePreparedFonts() {
    const std::unique_ptr<PreparedFontAtlas> prepared = std::move(prepared_);
    if (!prepared) return false;
    bool holdsAll = true;
    for (unsigned c : extraCharacters_) holdsAll = holdsAll && prepared->characters_->GetBit(c);
    for (unsigned c : headingCharacters_) holdsAll = holdsAll && prepared->headingCharacters_.count(c);
    // A rebuild keeps the prepared texts' characters too.
    extraCharacters_.insert(prepared->extraCharacters_.begin(), prepared->extraCharacters_.end());
    headingCharacters_.insert(prepared->headingCharacters_.begin(), prepared->headingCharacters_.end());
    if (!holdsAll) return false;
    glyphRanges_ = std::move(prepared->glyphRanges_);
    headingRanges_ = std::move(prepared->headingRanges_);
    font_ = prepared->font_;
    headingFont_ = prepared->headingFont_;
    readingFont_ = prepared->readingFont_;
    UploadFonts();
    return true;
}

void ImGuiLayer::UploadFonts() {
    // Glyphs rasterised at the physical size, laid out at the logical one.
    ImGui::GetIO().FontGlobalScale = 1.0f / mapping_.factor;
    ImGui_ImplSDLRenderer_DestroyFontsTexture();
    ImGui_ImplSDLRenderer_CreateFontsTexture();
    atlas_->ClearTexData();  // the renderer keeps its own copy
    drawnHash_ = 0;  // a new atlas may sit at the old texture's address
    drawnTiles_.Clear();
}

int ImGuiLayer::MsUntilCaretBlink() const {
    const ImGuiContext* g = ImGui::GetCurrentContext();
    if (!g || !g->IO.ConfigInputTextCursorBlink || g->ActiveId == 0 || g->InputTextState.ID != g->ActiveId)
        return -1;
    // The caret shows while its timer is below zero (just typed) and for the
    // first 0.8 s of every 1.2 s.
    constexpr float kOn = 0.80f, kPeriod = 1.20f;
    const float t = g->InputTextState.CursorAnim;
    float untilToggle;
    if (t <= 0) {
        untilToggle = kOn - t;
    } else {
        const float m = std::fmod(t, kPeriod);
        untilToggle = m <= kOn ? kOn - m : kPeriod - m;
    }
    return static_cast<int>(untilToggle * 1000.0f) + 2;
}

void ImGuiLayer::BeginFrame() {
    // The atlas changes only between frames.
    if (fontsDirty_) {
        if (!TakePreparedFonts()) BuildFonts();
        fontsDirty_ = false;
    }
    DeliverKeyboardInput();
    ImGui_ImplSDLRenderer_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGuiIO& io = ImGui::GetIO();
    // The back end measures the window in its own coordinates; the widgets
    // work in logical pixels and the renderer's scale makes them physical.
    io.DisplaySize = ImVec2(mapping_.WindowToLogical(io.DisplaySize.x), mapping_.WindowToLogical(io.DisplaySize.y));
    io.DisplayFramebufferScale = ImVec2(1, 1);
    if (mouseKnown_)
        io.MousePos = ImVec2(mouseX_, mouseY_);
    else if (io.MousePos.x > -FLT_MAX)
        io.MousePos = ImVec2(mapping_.WindowToLogical(io.MousePos.x), mapping_.WindowToLogical(io.MousePos.y));
    ImGui::NewFrame();
}

void ImGuiLayer::EndFrame() {
    ImGui::Render();
    if (composing_) {
        composedHash_ = DrawDataHash();
        composedWaiting_ = true;
        return;
    }
    RenderDrawData();
    drawnHash_ = 0;  // not a composed frame: the next is drawn whatever it holds
    drawnTiles_.Clear();
}

void ImGuiLayer::RenderDrawData() {
    SDL_RenderSetScale(renderer_, mapping_.factor, mapping_.factor);
    ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
    SDL_RenderSetScale(renderer_, 1, 1);
    composedWaiting_ = false;
}

bool ImGuiLayer::ComposeFrame(const std::function<void()>& buildFrame, const std::function<bool()>& wantsAnother) {
    constexpr int kMostFramesAhead = 4;
    composing_ = true;
    uint64_t previous = 0;
    for (int frame = 0; frame < kMostFramesAhead; ++frame) {
        composedWaiting_ = false;
        buildFrame();
        if (!composedWaiting_ || composedHash_ == previous || !wantsAnother || !wantsAnother()) break;
        previous = composedHash_;
    }
    composing_ = false;
    return !composedWaiting_ || drawnHash_ == 0 || composedHash_ != drawnHash_;
}

void ImGuiLayer::DrawComposed() {
    if (!composedWaiting_) return;
    RenderDrawData();
    drawnHash_ = composedHash_;
    HashTiles(drawnTiles_);
}

void ImGuiLayer::HashTiles(DrawTiles& tiles) const {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    int textureW = 0, textureH = 0;
    if (auto* atlas = static_cast<SDL_Texture*>(ImGui::GetIO().Fonts->TexID))
        SDL_QueryTexture(atlas, nullptr, nullptr, &textureW, &textureH);
    const ImDrawData* d = ImGui::GetDrawData();
    if (d) tiles.Hash(*d, mapping_.factor, w, h, textureW, textureH);
    else tiles.Clear();
}

bool ImGuiLayer::TakeChangedAreas(std::vector<SDL_Rect>& areas) {
    areas.clear();
    if (!composedWaiting_ || drawnHash_ == 0) return false;
    HashTiles(composedTiles_);
    if (!DrawTiles::ChangedAreas(drawnTiles_, composedTiles_, areas)) return false;
    std::swap(drawnTiles_, composedTiles_);
    drawnHash_ = composedHash_;
    composedWaiting_ = false;
    return true;
}

void ImGuiLayer::DrawComposedIn(const SDL_Rect& area) {
    // The back end's drawing, each command's clip rectangle cut to the area:
    // the same pixels inside it, none outside.
    ImDrawData* d = ImGui::GetDrawData();
    if (!d || !d->Valid) return;
    SDL_RenderSetScale(renderer_, mapping_.factor, mapping_.factor);
    SDL_RenderSetViewport(renderer_, nullptr);
    for (int n = 0; n < d->CmdListsCount; ++n) {
        const ImDrawList* list = d->CmdLists[n];
        const ImDrawVert* vertices = list->VtxBuffer.Data;
        for (const ImDrawCmd& cmd : list->CmdBuffer) {
            SDL_Rect clip = OutputClipOf(cmd, *d, mapping_.factor);
            if (cmd.UserCallback || !SDL_IntersectRect(&clip, &area, &clip)) continue;
            // SDL scales a clip rectangle as it is set: set it in output pixels.
            SDL_RenderSetScale(renderer_, 1, 1);
            SDL_RenderSetClipRect(renderer_, &clip);
            SDL_RenderSetScale(renderer_, mapping_.factor, mapping_.factor);
            const ImDrawVert* first = vertices + cmd.VtxOffset;
            SDL_RenderGeometryRaw(renderer_, static_cast<SDL_Texture*>(cmd.GetTexID()),
                                  &first->pos.x, sizeof(ImDrawVert),
                                  reinterpret_cast<const SDL_Color*>(&first->col), sizeof(ImDrawVert),
                                  &first->uv.x, sizeof(ImDrawVert), list->VtxBuffer.Size - static_cast<int>(cmd.VtxOffset),
                                  list->IdxBuffer.Data + cmd.IdxOffset, static_cast<int>(cmd.ElemCount), sizeof(ImDrawIdx));
        }
    }
    SDL_RenderSetScale(renderer_, 1, 1);
    SDL_RenderSetClipRect(renderer_, nullptr);
}

uint64_t ImGuiLayer::DrawDataHash() const {
    // FNV-1a over 64-bit words: everything the renderer is given.
    uint64_t h = 1469598103934665603ull;
    const auto mix = [&h](const void* data, std::size_t bytes) {
        const auto* p = static_cast<const unsigned char*>(data);
        std::size_t i = 0;
        for (; i + 8 <= bytes; i += 8) {
            uint64_t w;
            std::memcpy(&w, p + i, 8);
            h = (h ^ w) * 1099511628211ull;
        }
        for (; i < bytes; ++i) h = (h ^ p[i]) * 1099511628211ull;
        h = (h ^ bytes) * 1099511628211ull;
    };
    const ImDrawData* d = ImGui::GetDrawData();
    if (!d || !d->Valid) return 1;
    mix(&d->DisplaySize, sizeof d->DisplaySize);
    mix(&d->CmdListsCount, sizeof d->CmdListsCount);
    for (int n = 0; n < d->CmdListsCount; ++n) {
        const ImDrawList* list = d->CmdLists[n];
        mix(list->VtxBuffer.Data, static_cast<std::size_t>(list->VtxBuffer.Size) * sizeof(ImDrawVert));
        mix(list->IdxBuffer.Data, static_cast<std::size_t>(list->IdxBuffer.Size) * sizeof(ImDrawIdx));
        for (const ImDrawCmd& cmd : list->CmdBuffer) {
            mix(&cmd.ClipRect, sizeof cmd.ClipRect);
            const ImTextureID texture = cmd.GetTexID();
            mix(&texture, sizeof texture);
            const unsigned ranges[] = {cmd.VtxOffset, cmd.IdxOffset, cmd.ElemCount};
            mix(ranges, sizeof ranges);
            const void* callback = reinterpret_cast<const void*>(cmd.UserCallback);
            mix(&callback, sizeof callback);
        }
    }
    return h == 0 ? 1 : h;
}
