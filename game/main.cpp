// Program entry: wires the SDL window, audio, speech and readings into the main
// window and runs the event loop until the window closes.
#include <cstdio>
#include <ctime>
#include <exception>
#include <memory>

#include "game/tform1.h"
#include "platform/sdl/fonts.h"
#include "platform/sdl/real_clock.h"
#include "platform/sdl/scene_renderer.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_event_backend.h"
#include "platform/sdl/sdl_window.h"
#include "platform/user_folders.h"
#include "settings_dialog/imgui_settings_dialog.h"
#include "voice/mecab_reading.h"
#include "voice/openjtalk_speech.h"

namespace {

int RunGame() {
    RealClock clock;
    Application app(clock);
    // Seeded from the clock, like the original generator: no two runs replay.
    MtRandom random(clock.NowMs() ^ static_cast<uint32_t>(std::time(nullptr)));

    std::unique_ptr<FontLibrary> fonts;
    try {
        fonts = std::make_unique<FontLibrary>();
    } catch (const FontError& e) {
        std::fprintf(stderr, "teramon2: %s\n", e.what());
        return 1;
    }

    SdlWindowOptions options;
    options.caption = "てらもん2";
    SdlWindow window(options);
    SdlAudio audio(clock);
    const std::string programFolder = ProgramFolder();
    OpenJTalkSpeech speech(programFolder, audio);
    MecabReading reading;
    InputState input;
    GameServices services{app,   random, audio,  audio,         speech,
                          reading, input, window, programFolder, DocumentsFolder()};

    TForm1 form(services);
    SceneRenderer renderer(window.Renderer(), *fonts);
    SdlEventBackend backend(app, window, renderer, form, input);
    app.SetBackend(&backend);

    // Declared after the window and the back end, so it goes before them (it shuts
    // Dear ImGui down on their renderer and unhooks itself).
    ImGuiSettingsDialog settingsDialog(form, app, window, backend);
    form.Form2 = &settingsDialog;

    form.FormCreate();
    // The design is laid out at 800 x 600; going full screen scales it.
    backend.SyncClientSize();

    WindowEventHandlers& handlers = backend.Handlers();
    handlers.onKeyDown = [&form](int vk, char16_t ch, TShiftState shift) { form.FormKeyDown(&form, vk, ch, shift); };
    handlers.onActivate = [&form] { form.FormActivate(); };
    handlers.onCloseRequest = [&form] { form.Close(); };

    form.FormShow();
    form.FormActivate();
    app.Run(form);
    form.FormDestroy();
    return 0;
}

}  // namespace

int main() {
    try {
        return RunGame();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "teramon2: %s\n", e.what());
        return 1;
    }
}
