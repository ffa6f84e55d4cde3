#pragma once
// Everything the main window needs from outside the game logic. The real program
// wires SDL, SDL_mixer, Open JTalk and MeCab in; tests wire fakes and a virtual clock.
#include <string>

#include "platform/application.h"
#include "platform/audio.h"
#include "platform/calendar.h"
#include "platform/input_state.h"
#include "platform/random.h"
#include "platform/user_folders.h"
#include "platform/window_host.h"
#include "voice/speech.h"

// The settings dialog, shown modally by [S].
class SettingsDialog {
public:
    virtual ~SettingsDialog() = default;
    virtual void ShowModal() = 0;
};

// The learning window, shown modally by [R].
class LearningWindow {
public:
    virtual ~LearningWindow() = default;
    virtual void ShowModal() = 0;
};

struct GameServices;
// The program folder with its trailing '/': every asset path starts with it.
std::string AssetFolder(const GameServices& services);

struct GameServices {
    Application& app;
    RandomSource& random;
    EffectPlayer& effects;
    MusicBackend& music;
    SpeechService& speech;
    ReadingService& reading;
    InputState& input;
    WindowHost& host;
    std::string programFolder;    // with trailing '/'
    std::string documentsFolder;  // the user's documents folder, no trailing '/'
    Calendar* calendar = nullptr;  // today's date for the learning record; none: nothing is recorded
    // This copy holds the data folder's lock: only then may it remove temporary
    // files there, which could be another copy's save in flight.
    bool holdsDataFolder = true;
};

inline std::string AssetFolder(const GameServices& services) { return WithTrailingSlash(services.programFolder); }
