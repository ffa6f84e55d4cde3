#pragma once
// Translation of SDL key presses into the virtual-key codes and typed
// characters the game's key handler expects.
#include <SDL_keyboard.h>

#include "platform/scene.h"

struct KeyPress {
    int virtualKey = 0;      // 0 for keys the game has no code for
    char16_t character = 0;  // what the key typed, 0 for none
    TShiftState shift;
};

// Modifiers are those of the event itself (not a later state query).
KeyPress TranslateKeyDown(SDL_Keycode key, Uint16 modifiers);

// Shift, Alt and Ctrl flags of an event's modifier bits.
TShiftState ShiftStateOf(Uint16 modifiers);
