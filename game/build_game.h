#pragma once
// The one way the game is put together, by the program, the test fixtures, the
// benchmarks and the soak: the window on its services, its run-time scene
// created (FormCreate), its first screen shown (FormShow).
#include <functional>
#include <memory>

#include "game/services.h"
#include "game/tform1.h"

struct GameBuildSteps {
    std::function<void(TForm1&)> beforeCreate{};  // e.g. the window's size, its dialogs
    std::function<void(TForm1&)> beforeShow{};    // e.g. the program's screen size and event handlers
};

// For a window that already stands (the program's, built before its back end).
void StartGame(TForm1& form, const GameBuildSteps& steps = {});
std::unique_ptr<TForm1> BuildGame(GameServices& services, const GameBuildSteps& steps = {});
