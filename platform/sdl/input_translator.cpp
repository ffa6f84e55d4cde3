#include "platform/sdl/input_translator.h"

#include <SDL.h>

#include "platform/sdl/key_mapping.h"

void SdlInputTranslator::SetWindowGeometry(int screenX, int screenY, int width, int height) {
    windowX_ = screenX;
    windowY_ = screenY;
    windowW_ = width;
    windowH_ = height;
}

void SdlInputTranslator::Translate(const SDL_Event& e) {
    switch (e.type) {
        case SDL_KEYDOWN: {
            const KeyPress press = TranslateKeyDown(e.key.keysym.sym, e.key.keysym.mod);
            const bool ctrl = (e.key.keysym.mod & KMOD_CTRL) != 0 || press.virtualKey == 17;
            app_.Post([this, press, ctrl] {
                input_.Ctrl = ctrl;
                if (handlers.onKeyDown) handlers.onKeyDown(press.virtualKey, press.character, press.shift);
            });
            break;
        }
        case SDL_KEYUP: {
            const SDL_Keycode key = e.key.keysym.sym;
            const bool ctrl = (e.key.keysym.mod & KMOD_CTRL) != 0 && key != SDLK_LCTRL && key != SDLK_RCTRL;
            app_.Post([this, ctrl] { input_.Ctrl = ctrl; });
            break;
        }
        case SDL_MOUSEMOTION: {
            // Screen and client positions in logical pixels, as the form has them.
            const float sx = mapping_.WindowToLogical(static_cast<float>(windowX_ + e.motion.x));
            const float sy = mapping_.WindowToLogical(static_cast<float>(windowY_ + e.motion.y));
            const float cx = mapping_.WindowToLogical(static_cast<float>(e.motion.x));
            const float cy = mapping_.WindowToLogical(static_cast<float>(e.motion.y));
            TShiftState shift = ShiftStateOf(static_cast<Uint16>(SDL_GetModState()));
            shift.Left = (e.motion.state & SDL_BUTTON_LMASK) != 0;
            shift.Right = (e.motion.state & SDL_BUTTON_RMASK) != 0;
            shift.Middle = (e.motion.state & SDL_BUTTON_MMASK) != 0;
            app_.Post([this, sx, sy, cx, cy, shift] {
                input_.ScreenMouseX = sx;
                input_.ScreenMouseY = sy;
                form_.RouteMouseMove(cx, cy, shift);
            });
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const bool down = e.type == SDL_MOUSEBUTTONDOWN;
            const Uint8 button = e.button.button;
            app_.Post([this, down, button] {
                if (button == SDL_BUTTON_LEFT) input_.LeftButton = down;
                if (button == SDL_BUTTON_RIGHT) input_.RightButton = down;
            });
            break;
        }
        case SDL_WINDOWEVENT:
            TranslateWindowEvent(e);
            break;
        case SDL_QUIT:
            app_.Post([this] {
                if (handlers.onCloseRequest) handlers.onCloseRequest();
            });
            break;
        default:
            break;
    }
}

void SdlInputTranslator::TranslateWindowEvent(const SDL_Event& e) {
    switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            app_.Post([this] {
                if (handlers.onActivate) handlers.onActivate();
            });
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // Releases happening elsewhere never reach us: forget held buttons.
            app_.Post([this] {
                input_.LeftButton = input_.RightButton = input_.Ctrl = false;
            });
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            const int w = e.window.data1, h = e.window.data2;
            windowW_ = w;
            windowH_ = h;
            const int cw = mapping_.WindowToLogicalSide(w), ch = mapping_.WindowToLogicalSide(h);
            app_.Post([this, cw, ch] { form_.SetClientSize(cw, ch); });
            break;
        }
        case SDL_WINDOWEVENT_MOVED:
            windowX_ = e.window.data1;
            windowY_ = e.window.data2;
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            app_.Post([this] { form_.WindowState = TWindowState::wsMinimized; });
            break;
        case SDL_WINDOWEVENT_RESTORED:
            app_.Post([this] { form_.WindowState = TWindowState::wsNormal; });
            break;
        default:
            break;
    }
}
