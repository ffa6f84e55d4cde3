#pragma once
// Where the window is in its screens, apart from the game itself: the title,
// the countdown, a pause, the dialogs and the switch of challenge under way.
#include <cstdint>

struct PlayFlags {
    bool Title = false;            // the title screen shows
    int ThinkingTimeCount = 0;     // the countdown before the first ball (>0 while it runs)
    uint32_t StartThinkingTime = 0;
    int OldThinkingTimeCount = 0;
    bool GameSaving = false;
    bool GameModeSetting = false;  // [Alt] has paused the game to switch the challenge
    bool GameLoading = false;      // the resume question waits for [Y] or [N]
    bool Pause = false;
    bool GameSetting = false;      // a modal window ([S], [R]) is open
    bool IsMinimized = false;
};
