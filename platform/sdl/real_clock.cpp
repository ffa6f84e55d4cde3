#include "platform/sdl/real_clock.h"

#include <SDL.h>

uint32_t RealClock::NowMs() { return SDL_GetTicks(); }

void RealClock::WaitMs(uint32_t ms) { SDL_Delay(ms); }
