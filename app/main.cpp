// Program entry: the game full screen until its window closes.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/single_copy.h"
#include "game/data_files.h"
#include "game/game_texts.h"
#include "platform/single_copy_lock.h"
#include "platform/user_folders.h"

namespace {

// The window's own rule, tried quietly: only the drivers whose display is named.
bool DisplayOpens() {
    const auto named = [](const char* name) { return std::getenv(name) && *std::getenv(name); };
    std::string drivers = named("DISPLAY") ? "x11" : "";
    if (named("WAYLAND_DISPLAY")) drivers += drivers.empty() ? "wayland" : ",wayland";
    if (drivers.empty()) return false;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    return SDL_Init(SDL_INIT_VIDEO) == 0;
}

}  // namespace

int main() {
    try {
        // One copy per account, held until the program ends. Taken only where a
        // display opens: without one the window reports the fault and no data
        // folder is made.
        const bool display = DisplayOpens();
        const std::string dataFolder = display ? DataFiles::FolderIn(DocumentsFolder()) : std::string();
        const SingleCopyLock lock(dataFolder);
        if (display && lock.OtherCopyRuns()) {
            if (AskToRaise(dataFolder))
                std::fprintf(stderr, "teramon2: the game is already running; its window was brought to the front\n");
            else
                std::fprintf(stderr, "teramon2: the game is already running\n");
            return 0;
        }
        std::vector<std::string> notices;
        if (lock.LockProblem()) {
            std::fprintf(stderr, "teramon2: %s/%s is not a regular file; starting without the check for another copy\n",
                         dataFolder.c_str(), SingleCopyLock::kFileName);
            notices.push_back(SingleCopyLock::kLockProblemText);
        }
        if (lock.Held()) ListenForRaiseRequests(dataFolder);
        SdlWindowOptions options;
        options.caption = Msg::Title;
        GameProgram program(options, display && lock.Held(), notices);
        program.StartUp();
        program.Run();
        return 0;
    } catch (const std::exception& e) {
        // A missing Japanese font, no way to open a window, no home folder.
        std::fprintf(stderr, "teramon2: %s\n", e.what());
        return 1;
    }
}
