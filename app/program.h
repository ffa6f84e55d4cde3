#pragma once
// The whole program put together: SDL window, audio, speech, readings, the main
// window and the settings dialog. main() runs it; the start-up benchmark times
// its construction up to the first drawn frame.
#include <memory>
#include <string>
#include <vector>

#include "platform/sdl/sdl_window.h"

class GameProgram {
public:
    // Throws FontError when no Japanese font is installed and std::runtime_error
    // when SDL cannot open a window.
    // holdsDataFolder: this copy holds the data folder's lock (see SingleCopyLock).
    // startupNotices: lines for the title screen's notice box, after the game's own.
    explicit GameProgram(const SdlWindowOptions& window, bool holdsDataFolder = true,
                         std::vector<std::string> startupNotices = {});
    ~GameProgram();
    GameProgram(const GameProgram&) = delete;
    GameProgram& operator=(const GameProgram&) = delete;

    // Creates the main window's scene, scales it to the screen and shows the
    // first screen (the event loop then runs it).
    void StartUp();
    void DrawFrame();
    // The event loop until the main window closes.
    void Run();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    std::vector<std::string> startupNotices_;
};
