// Program entry: the game full screen until its window closes.
#include <cstdio>
#include <exception>

#include "app/program.h"

int main() {
    try {
        SdlWindowOptions options;
        options.caption = "てらもん2";
        GameProgram program(options);
        program.StartUp();
        program.Run();
        return 0;
    } catch (const std::exception& e) {
        // A missing Japanese font or no way to open a window.
        std::fprintf(stderr, "teramon2: %s\n", e.what());
        return 1;
    }
}
