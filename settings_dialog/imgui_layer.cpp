#include "settings_dialog/imgui_layer.h"

#include <cmath>

#include <SDL.h>
#include <imgui.h>
#include <imgui_freetype.h>
#include <imgui_internal.h>  // ImTextCharFromUtf8
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>

#include <cfloat>
#include <cmath>
#include <cstdio>

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

}  // namespace

ImGuiLayer::ImGuiLayer(SDL_Window* window, SDL_Renderer* renderer, std::string fontFile, float fontPixels,
                       PixelMapping mapping)
    : renderer_(renderer), fontFile_(std::move(fontFile)), fontPixels_(fontPixels), mapping_(mapping) {
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
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
    bool pressed = false;
    while (!keyboardInput_.empty()) {
        const SDL_Event& e = keyboardInput_.front();
        const bool key = e.type == SDL_KEYDOWN || e.type == SDL_KEYUP;
        // After a press only its text may follow in the same frame: a
        // modifier released at once must still hold for that press.
        if (key && pressed) break;
        pressed = pressed || e.type == SDL_KEYDOWN;
        ImGui_ImplSDL2_ProcessEvent(&e);
        if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) {
            // Modifiers as they were with this key, not as they are by now.
            ImGuiIO& io = ImGui::GetIO();
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
    io.ClearInputCharacters();
}

void ImGuiLayer::RequireGlyphs(std::string_view utf8) {
    const char* p = utf8.data();
    const char* end = p + utf8.size();
    while (p < end) {
        unsigned c = 0;
        const int n = ImTextCharFromUtf8(&c, p, end);
        if (n <= 0) break;
        p += n;
        // ImGui keeps 16-bit characters; control characters have no glyph.
        if (c < 0x20 || c > 0xFFFF) continue;
        if (font_ && font_->FindGlyphNoFallback(static_cast<ImWchar>(c))) continue;
        // A character the font lacks is asked for once, not at every frame.
        if (extraCharacters_.insert(c).second) fontsDirty_ = true;
    }
}

bool ImGuiLayer::HasGlyph(char32_t c) const {
    return font_ && c <= 0xFFFF && font_->FindGlyphNoFallback(static_cast<ImWchar>(c)) != nullptr;
}

void ImGuiLayer::BuildFonts() {
    ImGuiIO& io = ImGui::GetIO();
    ImFontAtlas& atlas = *io.Fonts;
    atlas.Clear();
    atlas.FontBuilderIO = ImGuiFreeType::GetBuilderForFreeType();
    atlas.FontBuilderFlags = ImGuiFreeTypeBuilderFlags_LightHinting;
    atlas.TexDesiredWidth = 2048;

    ImFontGlyphRangesBuilder ranges;
    ranges.AddRanges(atlas.GetGlyphRangesJapanese());
    ranges.AddText("…―「」『』（）？！");  // punctuation of the dialog's own texts
    for (unsigned c : extraCharacters_) ranges.AddChar(static_cast<ImWchar>(c));
    ImVector<ImWchar> built;
    ranges.BuildRanges(&built);
    glyphRanges_.assign(built.begin(), built.end());

    font_ = fontFile_.empty() ? nullptr
                              : atlas.AddFontFromFileTTF(fontFile_.c_str(), fontPixels_ * mapping_.factor, nullptr,
                                                         glyphRanges_.data());
    if (!font_) {
        std::fprintf(stderr, "The dialog font %s could not be loaded; Japanese text will not show.\n",
                     fontFile_.c_str());
        font_ = atlas.AddFontDefault();
    }
    atlas.Build();
    // Glyphs rasterised at the physical size, laid out at the logical one.
    io.FontGlobalScale = 1.0f / mapping_.factor;
    ImGui_ImplSDLRenderer_DestroyFontsTexture();
    ImGui_ImplSDLRenderer_CreateFontsTexture();
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
        BuildFonts();
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
    SDL_RenderSetScale(renderer_, mapping_.factor, mapping_.factor);
    ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
    SDL_RenderSetScale(renderer_, 1, 1);
}
