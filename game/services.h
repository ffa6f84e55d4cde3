#pragma once
// Everything the main window needs from outside the game logic. The real program
// wires SDL, SDL_mixer, Open JTalk and MeCab in; tests wire fakes and a virtual clock.
#include <string>

#include "platform/application.h"
#include "platform/audio.h"
#include "platform/input_state.h"
#include "platform/random.h"
#include "voice/speech.h"

// The operating-system side of the window.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual void Minimize() = 0;
    virtual void BringToForeground() = 0;
    // The cursor display counter: ShowCursor(false) decrements, (true) increments;
    // the cursor shows while the counter is >= 0. Returns the new counter.
    virtual int ShowCursor(bool show) = 0;
    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;
};

// The settings dialog, shown modally by [S].
class SettingsDialog {
public:
    virtual ~SettingsDialog() = default;
    virtual void ShowModal() = 0;
};

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
};

// A window host that does nothing: headless play and tests.
class HeadlessWindowHost : public WindowHost {
public:
    HeadlessWindowHost(int w = 800, int h = 600) : w_(w), h_(h) {}
    void Minimize() override { ++minimizeCount; }
    void BringToForeground() override { ++foregroundCount; }
    int ShowCursor(bool show) override { return cursorCounter += show ? 1 : -1; }
    int ScreenWidth() const override { return w_; }
    int ScreenHeight() const override { return h_; }
    int cursorCounter = 0;
    int minimizeCount = 0;
    int foregroundCount = 0;
private:
    int w_, h_;
};
