#pragma once
// Mouse buttons and [Ctrl] as the frame tick reads them, and the pointer's screen
// position. The SDL back end keeps it current from events; tests set it by hand.
struct InputState {
    bool LeftButton = false;
    bool RightButton = false;
    bool Ctrl = false;
    float ScreenMouseX = 0;
    float ScreenMouseY = 0;
};
