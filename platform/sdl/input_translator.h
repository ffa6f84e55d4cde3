#pragma once
// Turns SDL input and window events into the application's events: key
// presses for the key handler, mouse moves routed through the scene, button
// and Ctrl state for the frame tick, focus, close and size changes.
#include <functional>

#include "platform/application.h"
#include "platform/input_state.h"
#include "platform/scene.h"
#include "platform/sdl/pixel_mapping.h"

union SDL_Event;

struct WindowEventHandlers {
    // Virtual-key code, typed character (0 for none), modifiers of the event.
    std::function<void(int virtualKey, char16_t character, TShiftState shift)> onKeyDown;
    std::function<void()> onActivate;      // the window gained the focus
    std::function<void()> onCloseRequest;  // the user or the system asked to quit
};

class SdlInputTranslator {
public:
    SdlInputTranslator(Application& app, TForm& form, InputState& input) : app_(app), form_(form), input_(input) {}

    WindowEventHandlers handlers;

    // Where the window lies on the screen and its size, in window coordinates.
    void SetWindowGeometry(int screenX, int screenY, int width, int height);
    // How window coordinates become the form's logical pixels.
    void SetPixelMapping(const PixelMapping& mapping) { mapping_ = mapping; }

    // Queues the application events for one SDL event.
    void Translate(const SDL_Event& e);

private:
    void TranslateWindowEvent(const SDL_Event& e);

    Application& app_;
    TForm& form_;
    InputState& input_;
    int windowX_ = 0, windowY_ = 0;
    int windowW_ = 0, windowH_ = 0;
    PixelMapping mapping_;
};
