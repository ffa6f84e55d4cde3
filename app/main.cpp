// Program entry: the game full screen until its window closes.
#include <SDL.h>

#include <cstdio>
#include <exception>

#include "app/program.h"
#include "app/single_copy.h"
#include "game/services.h"
#include "platform/single_copy_lock.h"
#include "platform/user_folders.h"

int main() {
    try {
        ListenForRaiseRequests();
        // One copy per account, held until the program ends. Taken only where a
        // display opens: without one the window reports the fault and no data
        // folder is made.
        const bool display = SDL_Init(SDL_INIT_VIDEO) == 0;
        const SingleCopyLock lock(display ? DataFolderIn(DocumentsFolder()) : std::string());
        if (display && lock.OtherCopyRuns()) {
            if (AskToRaise(lock.Holder()))
                std::fprintf(stderr, "teramon2: the game is already running; its window was brought to the front\n");
            else
                std::fprintf(stderr, "teramon2: the game is already running\n");
            return 0;
        }
        SdlWindowOptions options;
        options.caption = "てらもん2";
        GameProgram program(options, display && lock.Held());
        program.StartUp();
        program.Run();
        return 0;
    } catch (const std::exception& e) {
        // A missing Japanese font, no way to open a window, no home folder.
        std::fprintf(stderr, "teramon2: %s\n", e.what());
        return 1;
    }
}
