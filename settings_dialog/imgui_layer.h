#pragma once
// Dear ImGui on the game's own SDL window and renderer, for widgets drawn over
// the scene: SDL events in, a Japanese font atlas that grows with the text on
// screen, and the input method's candidate window placed at the text caret.
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <SDL_events.h>

#include "platform/sdl/pixel_mapping.h"
#include "settings_dialog/draw_tiles.h"

struct SDL_Window;
struct SDL_Renderer;
struct ImFont;
struct ImFontAtlas;
struct ImFontGlyphRangesBuilder;

// The glyph atlas of a layer not made yet, rasterised on a thread of its own
// (building it takes the better part of 100 ms). Only the upload to the
// renderer is left for the layer's first frame. Dear ImGui must have no context
// while the thread runs: the layer waits for it before making one.
class PreparedFontAtlas {
public:
    // The atlas a layer with these arguments builds, holding the characters
    // of texts (UTF-8) as well, and those of headingTexts in the heading size.
    PreparedFontAtlas(std::string fontFile, float fontPixels, PixelMapping mapping, std::string texts,
                      std::string headingTexts = {});
    ~PreparedFontAtlas();  // waits for the thread
    PreparedFontAtlas(const PreparedFontAtlas&) = delete;
    PreparedFontAtlas& operator=(const PreparedFontAtlas&) = delete;

    bool Ready() const { return ready_; }

private:
    friend class ImGuiLayer;
    void Wait();

    std::string fontFile_;
    float fontPixels_;
    PixelMapping mapping_;
    std::unique_ptr<ImFontAtlas> atlas_;
    std::unique_ptr<ImFontGlyphRangesBuilder> characters_;  // what it holds
    std::set<unsigned> extraCharacters_;
    std::vector<unsigned short> glyphRanges_;
    ImFont* font_ = nullptr;
    std::set<unsigned> headingCharacters_;
    std::vector<unsigned short> headingRanges_;
    ImFont* headingFont_ = nullptr;
    ImFont* readingFont_ = nullptr;
    std::atomic<bool> ready_{false};
    std::thread thread_;
};

class ImGuiLayer {
public:
    // fontFile: a TrueType/OpenType file with Japanese glyphs; fontPixels: its
    // size in logical pixels. The widgets work in logical pixels; they are
    // drawn at mapping.factor times their size, with the font rasterised at
    // that size so its letters stay sharp.
    // prepared: the atlas built ahead for the same font, size and mapping;
    // taken when it holds every character the first frame needs.
    ImGuiLayer(SDL_Window* window, SDL_Renderer* renderer, std::string fontFile, float fontPixels,
               PixelMapping mapping = {}, std::unique_ptr<PreparedFontAtlas> prepared = nullptr);
    ~ImGuiLayer();
    ImGuiLayer(const ImGuiLayer&) = delete;
    ImGuiLayer& operator=(const ImGuiLayer&) = delete;

    void ProcessEvent(const SDL_Event& e);
    // Forgets keys, buttons and typed characters: input went elsewhere meanwhile.
    void ResetInput();

    // The atlas holds every character of the text from the next frame on (the
    // common Japanese set is always there; rarer kanji are added as they appear).
    void RequireGlyphs(std::string_view utf8);
    bool HasGlyph(char32_t c) const;

    // Larger letters, rasterised at their size so they stay sharp: headings
    // (kHeadingScale times the font, only the characters asked for) and kana
    // for readings (kReadingScale times, every kana). Sizes are logical pixels.
    static constexpr float kHeadingScale = 2.2f, kReadingScale = 1.6f;
    void RequireHeadingGlyphs(std::string_view utf8);
    ImFont* HeadingFont() const { return headingFont_; }  // nullptr until a heading character is asked for
    ImFont* ReadingFont() const { return readingFont_; }
    float FontPixels() const { return fontPixels_; }

    // Key events still waiting for their frame.
    bool HasWaitingInput() const { return !keyboardInput_.empty(); }
    // Milliseconds until an active text field's caret blinks on or off, or -1
    // when no caret is showing.
    int MsUntilCaretBlink() const;

    // One frame: widgets are submitted between the two calls. EndFrame draws
    // it, unless it is being composed.
    void BeginFrame();
    void EndFrame();

    // Runs buildFrame (a BeginFrame ... EndFrame) without drawing the frame, and
    // tells whether it differs from the frame drawn last: the same widgets in the
    // same state make the same draw lists. DrawComposed then draws it. While
    // wantsAnother() and the frame still changes (widgets settling after input),
    // the next one is composed at once in its place: only the settled one is drawn.
    bool ComposeFrame(const std::function<void()>& buildFrame, const std::function<bool()>& wantsAnother = {});
    void DrawComposed();
    bool HasComposedFrame() const { return composedWaiting_; }
    // Where the composed frame differs from the one drawn last, in output
    // pixels; false when it must be drawn whole. On true the composed frame
    // counts as drawn: the caller puts back what lies under the overlay in
    // each area and draws it there with DrawComposedIn.
    bool TakeChangedAreas(std::vector<SDL_Rect>& areas);
    void DrawComposedIn(const SDL_Rect& area);

    // How often the atlas was rasterised on the layer's own thread.
    int AtlasBuilds() const { return atlasBuilds_; }

private:
    void BuildFonts();
    bool TakePreparedFonts();
    void UploadFonts();

    SDL_Renderer* renderer_;
    std::string fontFile_;
    float fontPixels_;
    PixelMapping mapping_;
    std::unique_ptr<ImFontAtlas> atlas_;  // the context's, shared with it so a prepared one can be taken
    std::unique_ptr<PreparedFontAtlas> prepared_;
    ImFont* font_ = nullptr;
    std::set<unsigned> extraCharacters_;
    std::vector<unsigned short> glyphRanges_;  // must outlive the atlas build
    std::set<unsigned> headingCharacters_;
    std::vector<unsigned short> headingRanges_;
    ImFont* headingFont_ = nullptr;
    ImFont* readingFont_ = nullptr;
    bool fontsDirty_ = true;
    int atlasBuilds_ = 0;
    void DeliverKeyboardInput();
    void RenderDrawData();
    uint64_t DrawDataHash() const;

    bool composing_ = false;
    bool composedWaiting_ = false;
    uint64_t composedHash_ = 0;
    uint64_t drawnHash_ = 0;  // of the frame drawn last; 0: none, or the atlas changed since
    DrawTiles drawnTiles_;    // of the frame drawn last; empty as drawnHash_ is 0
    DrawTiles composedTiles_;
    void HashTiles(DrawTiles& tiles) const;

    // ImGui looks at keys once a frame and an editor handles one key a frame:
    // keyboard and text events wait here and go in order, at most one key
    // press per frame and no other key event after it in that frame.
    std::deque<SDL_Event> keyboardInput_;
    int pressedKey_ = -1;  // the scancode down since the last frame's press
    bool mouseKnown_ = false;
    float mouseX_ = 0, mouseY_ = 0;
};
