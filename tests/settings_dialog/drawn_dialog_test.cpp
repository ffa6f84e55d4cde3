// The drawn dialog on SDL's dummy video driver with the software renderer: the
// glyph atlas, the pacing of key events into ImGui, and the modal loop over
// the game, opened with [S] and closed by Escape or a quit request.
#include <gtest/gtest.h>

#include <SDL.h>
#include <imgui.h>
#include <imgui_internal.h>  // the focused item

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <vector>
#include <chrono>
#include <thread>

#include "platform/sdl/fonts.h"
#include "platform/sdl/scene_renderer.h"
#include "platform/sdl/sdl_event_backend.h"
#include "platform/sdl/sdl_window.h"
#include "settings_dialog/imgui_layer.h"
#include "settings_dialog/imgui_settings_dialog.h"
#include "tests/test_support/game_fixture.h"

namespace {

SdlWindowOptions SmallSoftwareWindow() {
    SdlWindowOptions o;
    o.caption = "test";
    o.width = 800;
    o.height = 600;
    o.softwareRenderer = true;
    return o;
}

SDL_Event Key(Uint32 type, SDL_Scancode sc, SDL_Keycode sym, Uint16 mod) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.scancode = sc;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    return e;
}

TEST(ImGuiLayerTest, RareKanjiJoinTheAtlasAndFastShortcutsKeepTheirModifier) {
    SdlWindow window(SmallSoftwareWindow());
    ImGuiLayer layer(window.Window(), window.Renderer(), FindJapaneseFontFile("IPAPGothic"), 14);
    layer.BeginFrame();
    layer.EndFrame();
    EXPECT_TRUE(layer.HasGlyph(U'問'));
    EXPECT_FALSE(layer.HasGlyph(U'魑')) << "not in the common set: the test would prove nothing";

    layer.RequireGlyphs("魑魅魍魎");
    layer.BeginFrame();
    layer.EndFrame();
    for (char32_t c : {U'魑', U'魅', U'魍', U'魎'}) EXPECT_TRUE(layer.HasGlyph(c));

    // Ctrl+V as a fast typist or a tool sends it: Ctrl is let go before V.
    for (const SDL_Event& e : {Key(SDL_KEYDOWN, SDL_SCANCODE_LCTRL, SDLK_LCTRL, KMOD_LCTRL),
                               Key(SDL_KEYDOWN, SDL_SCANCODE_V, SDLK_v, KMOD_LCTRL),
                               Key(SDL_KEYUP, SDL_SCANCODE_LCTRL, SDLK_LCTRL, KMOD_NONE),
                               Key(SDL_KEYUP, SDL_SCANCODE_V, SDLK_v, KMOD_NONE)})
        layer.ProcessEvent(e);
    bool pastePressed = false;
    for (int frame = 0; frame < 4; ++frame) {
        layer.BeginFrame();
        pastePressed |= ImGui::IsKeyPressed(SDL_SCANCODE_V, false) && ImGui::GetIO().KeyCtrl;
        layer.EndFrame();
    }
    EXPECT_TRUE(pastePressed);
    EXPECT_FALSE(ImGui::GetIO().KeyCtrl);
    EXPECT_FALSE(ImGui::IsKeyDown(SDL_SCANCODE_V));
}

TEST(ImGuiLayerTest, AtFactorTwoWidgetsWorkInLogicalPixelsAndAreDrawnAtFullResolution) {
    SdlWindow window(SmallSoftwareWindow());
    SDL_Renderer* r = window.Renderer();
    ImGuiLayer layer(window.Window(), r, FindJapaneseFontFile("IPAPGothic"), 14, PixelMapping{2, 1});
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.x = 200;
    move.motion.y = 100;
    layer.ProcessEvent(move);

    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    layer.BeginFrame();
    const ImGuiIO& io = ImGui::GetIO();
    EXPECT_FLOAT_EQ(io.DisplaySize.x, 400);
    EXPECT_FLOAT_EQ(io.DisplaySize.y, 300);
    EXPECT_FLOAT_EQ(io.MousePos.x, 100);
    EXPECT_FLOAT_EQ(io.MousePos.y, 50);
    EXPECT_FLOAT_EQ(ImGui::GetFontSize(), 14);   // laid out at its logical size
    EXPECT_FLOAT_EQ(io.Fonts->Fonts[0]->FontSize, 28);  // rasterised at the physical one
    ImGui::GetBackgroundDrawList()->AddRectFilled(ImVec2(10, 10), ImVec2(110, 60), IM_COL32(255, 0, 0, 255));
    layer.EndFrame();

    Uint32 px[4] = {};
    const SDL_Rect probes[4] = {{21, 21, 1, 1}, {218, 118, 1, 1}, {230, 60, 1, 1}, {60, 130, 1, 1}};
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ(SDL_RenderReadPixels(r, &probes[i], SDL_PIXELFORMAT_ARGB8888, &px[i], 4), 0) << SDL_GetError();
    EXPECT_EQ(px[0] & 0xFFFFFF, 0xFF0000u);  // inside the physical rectangle 20..220 x 20..120
    EXPECT_EQ(px[1] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(px[2] & 0xFFFFFF, 0u);  // right of it
    EXPECT_EQ(px[3] & 0xFFFFFF, 0u);  // below it
}

// A column of buttons navigated with the keyboard: which one has the focus
// after the given key events, each group of them followed by a frame.
class ButtonColumn {
public:
    explicit ButtonColumn(ImGuiLayer& layer) : layer_(layer) {
        ImGui::GetIO().ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;
        for (int i = 0; i < 3; ++i) Frame(i == 0);
    }
    void Frame(bool focusFirst = false) {
        layer_.BeginFrame();
        ImGui::SetNextWindowPos(ImVec2(0, 0));
        ImGui::SetNextWindowSize(ImVec2(300, 400));
        ImGui::Begin("column");
        for (int i = 0; i < 8; ++i) {
            if (focusFirst && i == 0) ImGui::SetKeyboardFocusHere();
            ImGui::Button(("b" + std::to_string(i)).c_str());
            ids_[i] = ImGui::GetItemID();
        }
        ImGui::End();
        layer_.EndFrame();
    }
    int Focused() const {
        for (int i = 0; i < 8; ++i)
            if (ImGui::GetCurrentContext()->NavId == ids_[i]) return i;
        return -1;
    }

private:
    ImGuiLayer& layer_;
    ImGuiID ids_[8] = {};
};

TEST(ImGuiLayerTest, EachPressOfAnArrowKeyMovesTheFocusOnceHoweverSlowTheFrames) {
    SdlWindow window(SmallSoftwareWindow());
    ImGuiLayer layer(window.Window(), window.Renderer(), FindJapaneseFontFile("IPAPGothic"), 14);
    ButtonColumn column(layer);
    ASSERT_EQ(column.Focused(), 0);
    SDL_Event down = Key(SDL_KEYDOWN, SDL_SCANCODE_DOWN, SDLK_DOWN, KMOD_NONE);
    SDL_Event repeat = down;
    repeat.key.repeat = 1;
    const SDL_Event up = Key(SDL_KEYUP, SDL_SCANCODE_DOWN, SDLK_DOWN, KMOD_NONE);
    auto settle = [&] {
        for (int i = 0; i < 6; ++i) column.Frame();
    };

    // A large screen drawn in software: the release comes in only after a
    // frame that took longer than ImGui's repeat delay.
    layer.ProcessEvent(down);
    column.Frame();
    std::this_thread::sleep_for(std::chrono::milliseconds(320));
    column.Frame();
    layer.ProcessEvent(up);
    settle();
    EXPECT_EQ(column.Focused(), 1) << "a slow frame counted as the key held down";

    // The desktop's repeats while the key is held: one move each ...
    layer.ProcessEvent(down);
    column.Frame();
    layer.ProcessEvent(repeat);
    settle();
    layer.ProcessEvent(up);
    settle();
    EXPECT_EQ(column.Focused(), 3);

    // ... but while a press waits for its frame its repeats add nothing:
    // piled up behind slow frames they would run on after the release.
    layer.ProcessEvent(down);
    for (int i = 0; i < 5; ++i) layer.ProcessEvent(repeat);
    layer.ProcessEvent(up);
    settle();
    EXPECT_EQ(column.Focused(), 4);
}

// The pixels of one frame with the text drawn at the top left.
std::vector<Uint32> DrawnText(ImGuiLayer& layer, SDL_Renderer* r, const char* text) {
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    layer.RequireGlyphs(text);
    layer.BeginFrame();
    ImGui::GetBackgroundDrawList()->AddText(ImVec2(4, 4), IM_COL32(255, 255, 255, 255), text);
    layer.EndFrame();
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(r, &w, &h);
    std::vector<Uint32> pixels(static_cast<size_t>(w) * h);
    EXPECT_EQ(SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), w * 4), 0) << SDL_GetError();
    return pixels;
}

TEST(ImGuiLayerTest, APreparedAtlasIsTakenAsItIsAndDrawsTheSameAsOneBuiltAtFirstUse) {
    SdlWindow window(SmallSoftwareWindow());
    const std::string font = FindJapaneseFontFile("IPAPGothic");
    const PixelMapping factorTwo{2, 1};
    const char* text = "問題 魑魅魍魎";
    std::vector<Uint32> prepared, builtHere;
    {
        auto atlas = std::make_unique<PreparedFontAtlas>(font, 14, factorTwo, "魑魅魍魎");
        ImGuiLayer layer(window.Window(), window.Renderer(), font, 14, factorTwo, std::move(atlas));
        prepared = DrawnText(layer, window.Renderer(), text);
        EXPECT_EQ(layer.AtlasBuilds(), 0);
        EXPECT_TRUE(layer.HasGlyph(U'魎'));
        EXPECT_FLOAT_EQ(ImGui::GetFontSize(), 14);
    }
    {
        ImGuiLayer layer(window.Window(), window.Renderer(), font, 14, factorTwo);
        builtHere = DrawnText(layer, window.Renderer(), text);
        EXPECT_EQ(layer.AtlasBuilds(), 1);
    }
    EXPECT_NE(std::count(prepared.begin(), prepared.end(), 0xFF000000u), static_cast<long>(prepared.size()))
        << "nothing was drawn";
    EXPECT_TRUE(prepared == builtHere);
}

TEST(ImGuiLayerTest, APreparedAtlasLackingACharacterOfTheFirstFrameIsBuiltAgainWithBoth) {
    SdlWindow window(SmallSoftwareWindow());
    const std::string font = FindJapaneseFontFile("IPAPGothic");
    auto atlas = std::make_unique<PreparedFontAtlas>(font, 14, PixelMapping{}, "魑魅");
    ImGuiLayer layer(window.Window(), window.Renderer(), font, 14, PixelMapping{}, std::move(atlas));
    DrawnText(layer, window.Renderer(), "魍魎");
    EXPECT_EQ(layer.AtlasBuilds(), 1);
    for (char32_t c : {U'魑', U'魅', U'魍', U'魎'}) EXPECT_TRUE(layer.HasGlyph(c));
}

class DrawnDialogTest : public ::testing::Test {
protected:
    game_test::GameFixture game;
    SdlWindow window{SmallSoftwareWindow()};
    FontLibrary fonts;
    SceneRenderer scene{window.Renderer(), fonts};
    SdlEventBackend backend{game.app, window, scene, game.f(), game.input};
    std::unique_ptr<ImGuiSettingsDialog> dialog;
    std::atomic<bool> done{false};
    std::thread watchdog;

    DrawnDialogTest() {
        game.app.SetBackend(&backend);
        dialog = std::make_unique<ImGuiSettingsDialog>(game.f(), game.app, window, backend);
        game.f().SetSettingsDialog(dialog.get());
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        // A dialog that never closes must not hang the run.
        watchdog = std::thread([this] {
            for (int i = 0; i < 200 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (done) return;
            ADD_FAILURE() << "the dialog did not close";
            // Escape closes the dialog; Return answers a box that may be waiting.
            SDL_Event esc = Key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, KMOD_NONE);
            SDL_Event ret = Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_NONE);
            SDL_Event retUp = Key(SDL_KEYUP, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_NONE);
            while (!done) {
                SDL_PushEvent(&ret);
                SDL_PushEvent(&retUp);
                SDL_PushEvent(&esc);
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
    }
    ~DrawnDialogTest() override {
        done = true;
        watchdog.join();
        game.app.SetBackend(nullptr);
    }
};

TEST_F(DrawnDialogTest, EscapeClosesTheUntouchedDialogAndTheOpeningKeyTypesNothing) {
    SDL_Event typed{};
    typed.type = SDL_TEXTINPUT;
    std::strcpy(typed.text.text, "s");  // the character of the [S] press, still queued
    SDL_PushEvent(&typed);
    SDL_Event esc = Key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, KMOD_NONE);
    SDL_PushEvent(&esc);

    const std::string before = game.DataFile("NewTuikamondai.txt");
    game.Char(u's');
    done = true;

    EXPECT_FALSE(dialog->IsOpen());
    EXPECT_TRUE(dialog->Logic().IsClosed());
    EXPECT_TRUE(dialog->Logic().IsSaved);
    EXPECT_FALSE(std::filesystem::exists(before)) << "nothing was written";
    EXPECT_EQ(dialog->Logic().Lines()[0], "てらもん2\u3000追加問題ファイル");
    EXPECT_FALSE(game.f().Screens().GameSetting);
    EXPECT_FALSE(SDL_IsTextInputActive()) << "game keys go to the game again, not to an input method";
}

TEST_F(DrawnDialogTest, AQuitRequestClosesTheDialogFirstAndThenReachesTheGame) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    game.Char(u's');
    done = true;

    EXPECT_FALSE(dialog->IsOpen());
    EXPECT_FALSE(game.f().Screens().GameSetting);
    SDL_PumpEvents();
    EXPECT_EQ(SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT), 1)
        << "the quit is passed on once the dialog has closed";
}

}  // namespace
