// Start-up to the first drawn frame: fonts, window and renderer, audio, speech
// and readings, the main window's scene with its question bank and saved files,
// scaled to the screen, and one frame drawn. Runs on SDL's dummy drivers when
// there is no display, with a fresh documents folder for every start.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/program.h"

namespace {

void BM_StartUpToFirstFrame(benchmark::State& state) {
    const std::filesystem::path docs =
        std::filesystem::temp_directory_path() / ("teramon_startup_" + std::to_string(getpid()));
    setenv("XDG_DOCUMENTS_DIR", docs.c_str(), 1);
    SdlWindowOptions options;
    options.caption = "てらもん2";
    options.width = static_cast<int>(state.range(0));
    options.height = static_cast<int>(state.range(1));
    options.vsync = false;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(docs);
        state.ResumeTiming();
        auto program = std::make_unique<GameProgram>(options);
        program->StartUp();
        program->DrawFrame();
        state.PauseTiming();  // closing down is not part of starting
        program.reset();
        state.ResumeTiming();
    }
    std::filesystem::remove_all(docs);
}
BENCHMARK(BM_StartUpToFirstFrame)->Args({1280, 720})->Args({1920, 1080})->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
