#include "platform/sdl/key_mapping.h"

TShiftState ShiftStateOf(Uint16 modifiers) {
    TShiftState s;
    s.Shift = (modifiers & KMOD_SHIFT) != 0;
    s.Alt = (modifiers & KMOD_ALT) != 0;
    s.Ctrl = (modifiers & KMOD_CTRL) != 0;
    return s;
}

namespace {

int VirtualKeyOf(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return 112 + (key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 97 + (key - SDLK_KP_1);
    switch (key) {
        case SDLK_BACKSPACE: return 8;
        case SDLK_TAB: return 9;
        case SDLK_RETURN: case SDLK_KP_ENTER: return 13;
        case SDLK_LSHIFT: case SDLK_RSHIFT: return 16;
        case SDLK_LCTRL: case SDLK_RCTRL: return 17;
        case SDLK_LALT: case SDLK_RALT: return 18;
        case SDLK_PAUSE: return 19;
        case SDLK_CAPSLOCK: return 20;
        case SDLK_ESCAPE: return 27;
        case SDLK_SPACE: return 32;
        case SDLK_PAGEUP: return 33;
        case SDLK_PAGEDOWN: return 34;
        case SDLK_END: return 35;
        case SDLK_HOME: return 36;
        case SDLK_LEFT: return 37;
        case SDLK_UP: return 38;
        case SDLK_RIGHT: return 39;
        case SDLK_DOWN: return 40;
        case SDLK_INSERT: return 45;
        case SDLK_DELETE: return 46;
        case SDLK_KP_0: return 96;
        default: return 0;
    }
}

}  // namespace

KeyPress TranslateKeyDown(SDL_Keycode key, Uint16 modifiers) {
    KeyPress press;
    press.virtualKey = VirtualKeyOf(key);
    press.shift = ShiftStateOf(modifiers);
    const bool upper = (modifiers & (KMOD_SHIFT | KMOD_CAPS)) != 0;
    if (key >= SDLK_a && key <= SDLK_z) {
        // With Ctrl a letter key types its control character (Ctrl+A is 1), as
        // with Shift or Caps Lock not the lower-case letter: [Ctrl] held for the
        // fast slide must not pause, switch the music off or quit the game.
        if (modifiers & KMOD_CTRL)
            press.character = static_cast<char16_t>(1 + (key - SDLK_a));
        else
            press.character = static_cast<char16_t>(upper ? 'A' + (key - SDLK_a) : key);
    } else if (key == SDLK_SPACE) {
        press.character = u' ';
    } else if (key >= SDLK_0 && key <= SDLK_9 && !(modifiers & KMOD_SHIFT)) {
        // With Shift a digit key types a layout-dependent symbol we cannot know here.
        press.character = static_cast<char16_t>(key);
    }
    return press;
}
