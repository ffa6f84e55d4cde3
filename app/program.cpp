#include "app/program.h"

#include <ctime>

#include "app/single_copy.h"
#include "game/build_game.h"
#include "platform/timer.h"
#include "platform/sdl/fonts.h"
#include "platform/sdl/real_clock.h"
#include "platform/sdl/scene_renderer.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_event_backend.h"
#include "platform/user_folders.h"
#include "settings_dialog/imgui_learning_window.h"
#include "settings_dialog/imgui_settings_dialog.h"
#include "voice/mecab_reading.h"
#include "voice/openjtalk_speech.h"

// Members are declared in the order they must be built; they go in reverse.
struct GameProgram::Parts {
    Parts(const SdlWindowOptions& options, bool holdsDataFolder)
        : random(clock.NowMs() ^ static_cast<uint32_t>(std::time(nullptr))),
          window(options),
          audio(clock),
          programFolder(ProgramFolder()),
          speech(programFolder, audio),
          services{app, random, audio, audio, speech, reading, input, window, programFolder, DocumentsFolder(),
                   &calendar, holdsDataFolder},
          form(services),
          renderer(window.Renderer(), fonts),
          backend(app, window, renderer, form, input),
          // After the window and the back end, so it goes before them (it shuts
          // Dear ImGui down on their renderer and unhooks itself).
          settingsDialog(form, app, window, backend),
          learningWindow(form, app, backend, settingsDialog) {}

    RealClock clock;
    Application app{clock};
    // Seeded from the clock: no two runs replay the same boards.
    MtRandom random;
    FontLibrary fonts;
    SdlWindow window;
    SdlAudio audio;
    std::string programFolder;
    OpenJTalkSpeech speech;
    MecabReading reading;
    InputState input;
    SystemCalendar calendar;
    GameServices services;
    TForm1 form;
    SceneRenderer renderer;
    SdlEventBackend backend;
    ImGuiSettingsDialog settingsDialog;
    ImGuiLearningWindow learningWindow;  // after the dialog: it passes the dialog's events on
};

GameProgram::GameProgram(const SdlWindowOptions& window, bool holdsDataFolder,
                         std::vector<std::string> startupNotices)
    : parts_(std::make_unique<Parts>(window, holdsDataFolder)), startupNotices_(std::move(startupNotices)) {}

GameProgram::~GameProgram() = default;

void GameProgram::StartUp() {
    Parts& p = *parts_;
    p.app.SetBackend(&p.backend);
    const auto dialogs = [&p](TForm1& form) {
        form.SetSettingsDialog(&p.settingsDialog);
        form.SetLearningWindow(&p.learningWindow);
    };
    // The design is laid out at 800 x 600: going full screen scales it. Then the
    // window's events reach the game.
    const auto hookUp = [&p, this](TForm1& form) {
        p.backend.SyncClientSize();
        WindowEventHandlers& handlers = p.backend.Handlers();
        handlers.onKeyDown = [&form](int vk, char16_t ch, TShiftState shift) { form.FormKeyDown(&form, vk, ch, shift); };
        handlers.onActivate = [&form] { form.FormActivate(); };
        handlers.onCloseRequest = [&form] { form.Close(); };

        // A second copy started meanwhile asks for this window (see single_copy.h).
        TTimer* raiseWatch = form.Create<TTimer>(nullptr, p.app);
        raiseWatch->SetInterval(250);
        raiseWatch->OnTimer = [&p](SceneObject*) {
            if (TakeRaiseRequest()) p.window.BringToForeground();
        };
        raiseWatch->SetEnabled(true);

        // The program's own notices (the lock) join the files' on the title.
        form.AddStartupNotices(startupNotices_);
    };
    StartGame(p.form, {.beforeCreate = dialogs, .beforeShow = hookUp});
    p.form.FormActivate();
}

void GameProgram::DrawFrame() { parts_->backend.DrawFrame(); }

void GameProgram::Run() {
    Parts& p = *parts_;
    // The title shows first; the dialogs' glyph atlas is then built on another
    // thread while the player looks at it, so their first opening is quick.
    p.app.ProcessMessages();
    p.learningWindow.PrepareFonts();
    p.app.Run(p.form);
    parts_->form.FormDestroy();
}
