// Frame draw cost of the title screen at two screen sizes, with the software
// renderer into memory and with the default renderer of a window, and the cost
// of one animation-clock step with 60 running animations.
#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "game/services.h"
#include "game/build_game.h"
#include "game/tform1.h"
#include "platform/sdl/fonts.h"
#include "platform/sdl/scene_renderer.h"
#include "platform/sdl/sdl_window.h"
#include "tests/test_support/headless_window_host.h"
#include "tests/test_support/recording_audio.h"

namespace {

// The program folder: the one holding Data/, beside this binary or above it.
std::string ProgramFolder() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
    for (std::filesystem::path p = exe; !p.empty() && p != p.root_path(); p = p.parent_path())
        if (std::filesystem::exists(p / "Data" / "Png")) return p.string() + "/";
    return exe.string() + "/";
}

// The real main window, created and shown at the given screen size, on a
// virtual clock with silent sound and speech: the title screen.
struct TitleScreen {
    VirtualClock clock;
    Application app{clock};
    MtRandom random{1};
    RecordingEffectPlayer effects{clock};
    FakeMusicBackend music{clock};
    SilentSpeech speech;
    NoReadings reading;
    InputState input;
    HeadlessWindowHost host;
    std::filesystem::path documents;
    std::unique_ptr<GameServices> services;
    std::unique_ptr<TForm1> form;

    TitleScreen(int w, int h) : host(w, h) {
        documents = std::filesystem::temp_directory_path() / ("teramon_bench_" + std::to_string(getpid()));
        std::filesystem::create_directories(documents);
        services.reset(new GameServices{app, random, effects, music, speech, reading, input, host,
                                        ProgramFolder(), documents.string()});
        form = BuildGame(*services, {.beforeShow = [&](TForm1& f) { f.SetClientSize(w, h); }});
    }
    ~TitleScreen() {
        form.reset();
        std::error_code ec;
        std::filesystem::remove_all(documents, ec);
    }
};

// With TERAMON_BENCH_SCREENSHOT_DIR set, the frames timed are also written
// there as PNG files, for looking at what was measured.
std::string ScreenshotPath(const char* kind, int w, int h) {
    const char* dir = std::getenv("TERAMON_BENCH_SCREENSHOT_DIR");
    if (!dir || !*dir) return "";
    return std::string(dir) + "/title_" + kind + "_" + std::to_string(w) + "x" + std::to_string(h) + ".png";
}

FontLibrary& Fonts() {
    static FontLibrary fonts;
    return fonts;
}

void DrawFrames(benchmark::State& state, SDL_Renderer* renderer, TForm& form, bool present) {
    SceneRenderer scene(renderer, Fonts());
    scene.Draw(form);  // fills the caches: the steady state is what we time
    for (auto _ : state) {
        scene.Draw(form);
        if (present)
            SDL_RenderPresent(renderer);
        else
            SDL_RenderFlush(renderer);
    }
    state.counters["texts"] = static_cast<double>(scene.Texts().Size());
    state.counters["pictures"] = static_cast<double>(scene.Pictures().Size());
}

void BM_DrawTitleSoftware(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    TitleScreen title(w, h);
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(target);
    if (!renderer) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    DrawFrames(state, renderer, *title.form, false);
    if (std::string path = ScreenshotPath("software", w, h); !path.empty()) IMG_SavePNG(target, path.c_str());
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(target);
}

void BM_DrawTitleWindow(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    std::unique_ptr<SdlWindow> window;
    try {
        SdlWindowOptions options;
        options.caption = "bench";
        options.width = w;
        options.height = h;
        options.vsync = false;
        window = std::make_unique<SdlWindow>(options);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(window->Renderer(), &info);
    state.SetLabel(info.name ? info.name : "?");
    TitleScreen title(window->Width(), window->Height());
    DrawFrames(state, window->Renderer(), *title.form, true);
    if (std::string path = ScreenshotPath(info.name ? info.name : "window", w, h); !path.empty()) {
        SceneRenderer scene(window->Renderer(), Fonts());
        scene.Draw(*title.form);
        window->SaveScreenshot(path);
    }
}

void BM_AnimationStep60(benchmark::State& state) {
    VirtualClock clock;
    Application app(clock);
    TForm form(800, 600);
    for (int i = 0; i < 60; ++i) {
        TImage* img = form.Create<TImage>(&form);
        TFloatAnimation* a = form.Create<TFloatAnimation>(img);
        a->PropertyName = i % 2 ? "Position.Y" : "Position.X";
        a->StartValue = 0;
        a->StopValue = 500;
        a->Duration = 1.0f + i * 0.01f;
        a->Loop = true;
        a->AutoReverse = true;
        a->Start();
    }
    AnimationClock& anim = app.animationClock();
    for (auto _ : state) {
        clock.Advance(AnimationClock::kIntervalMs);
        anim.Tick();
    }
    state.counters["running"] = static_cast<double>(anim.RunningCount());
}

}  // namespace

BENCHMARK(BM_DrawTitleSoftware)->Args({1280, 720})->Args({1920, 1080})->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DrawTitleWindow)->Args({1280, 720})->Args({1920, 1080})->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_AnimationStep60)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
