#pragma once
// Runs of the program one after another over the same folders: the main window
// on a virtual clock with silent fakes, over a program folder and a documents
// folder that outlive each run (a game suspended in one run, continued in the next).
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "game/services.h"
#include "game/build_game.h"
#include "game/tform1.h"
#include "tests/test_support/headless_window_host.h"
#include "tests/test_support/recording_audio.h"
#include "tests/test_support/temp_folder.h"

namespace game_test {

// One run of the program: the main window on a virtual clock with silent fakes,
// over a program folder and a documents folder that outlive it.
struct ProgramRun {
    VirtualClock clock;
    Application app{clock};
    ScriptedRandom random{3};
    RecordingEffectPlayer effects{clock};
    FakeMusicBackend music{clock};
    SilentSpeech speech;
    NoReadings reading;
    InputState input;
    HeadlessWindowHost host;
    GameServices services;
    std::unique_ptr<TForm1> form;

    ProgramRun(const std::string& programFolder, const std::string& documentsFolder, int width, int height,
               const std::function<void(TForm1&)>& beforeShow = {})
        : host(width, height),
          services{app, random, effects, music, speech, reading, input, host, programFolder, documentsFolder} {
        form = BuildGame(services, {.beforeCreate = [&](TForm1& f) { f.SetClientSize(width, height); },
                                    .beforeShow = beforeShow});
    }
    TForm1& f() { return *form; }
    void Char(char16_t c) { form->FormKeyDown(form.get(), 0, c, {}); }
    void Shift() { form->FormKeyDown(form.get(), VK_SHIFT_KEY, 0, {}); }
    void Key(int vk) { form->FormKeyDown(form.get(), vk, 0, {}); }
};

struct Folders {
    TempFolder root;
    std::string program, documents;
    Folders() {
        program = root.Path() + "/prog/";
        documents = root.Path() + "/docs";
        std::filesystem::create_directories(program);
        std::filesystem::create_directories(documents);
        std::filesystem::create_directory_symlink(TERAMON_SOURCE_DIR "/Data", program + "Data");
    }
    std::string Data(const std::string& name) const { return documents + "/みずうみ舎/TeramonData/" + name; }
};

}  // namespace game_test
