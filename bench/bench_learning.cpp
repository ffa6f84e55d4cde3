// The learning window with 1,000 idioms (170 built-in + 830 additional, every
// one with a record row), with the software renderer: its first opening in a
// run (a fresh Dear ImGui layer each time, at 1920 x 1080 and at 3840 x 2160
// scale 2), with and without the glyph atlas prepared as the program does
// after the title shows; later openings; and one save of the record.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "persistence/learning_file.h"
#include "platform/sdl/fonts.h"
#include "platform/sdl/scene_renderer.h"
#include "platform/sdl/sdl_event_backend.h"
#include "platform/sdl/sdl_window.h"
#include "settings_dialog/imgui_learning_window.h"
#include "settings_dialog/imgui_settings_dialog.h"
#include "tests/test_support/game_fixture.h"

namespace {

constexpr int kAdditional = 830;

// A made-up idiom per number, and a reading and meaning. Some of its kanji lie
// outside the common set every atlas holds, as in real additional questions.
std::string MadeUpIdiom(int n) {
    static const char* const kanji[] = {"天", "地", "人", "和", "風", "月", "花", "鳥", "山", "水",
                                        "魑", "魅", "魍", "魎", "鬱", "檸", "檬", "薔", "薇", "蝙"};
    std::string s;
    for (int i = 0; i < 4; ++i, n /= 20) s += kanji[n % 20];
    return s;
}

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

SdlWindowOptions BenchWindow(bool large) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    SdlWindowOptions o;
    o.caption = "bench";
    o.width = large ? 3840 : 1920;
    o.height = large ? 2160 : 1080;
    o.scaleFactor = large ? 2 : 1;
    o.softwareRenderer = true;
    return o;
}

struct LargeRecordGame {
    game_test::GameFixture game;
    FixedCalendar calendar{"2026-12-10"};

    LargeRecordGame() {
        TForm1& f = game.f();
        for (int i = 0; i < kAdditional; ++i) {
            f.Questions().Append({MadeUpIdiom(i), "ついかもんだい" + std::to_string(i),
                                "追加した問題の意味、その" + std::to_string(i) + "。少し長めの説明文をつける", ""});
            GameStateSetUp(f).progress().AddAdditionalQuestion(false);
        }
        game.services->calendar = &calendar;
        f.OpenLearningRecord();
        // Every idiom met: some right, some missed, due dates spread out.
        for (int q = 0; q < kBuiltInQuestions + kAdditional; ++q) {
            calendar.Set(AddDays("2026-10-01", q % 70));
            f.LearningRecordLog().Dealt(f.Questions().At(q).Jukugo, f.Questions().At(q).Yomi);
            if (q % 3 == 0) f.LearningRecordLog().Missed(f.Questions().At(q).Jukugo, f.Questions().At(q).Yomi);
            if (q % 2 == 0) f.LearningRecordLog().Right(f.Questions().At(q).Jukugo, f.Questions().At(q).Yomi);
        }
        calendar.Set("2026-12-10");
    }
};

// The opening's three ways, as the argument says.
enum Atlas { kBuiltAtOpening = 0, kPreparedAndReady = 1, kPreparedOpenedAtOnce = 2 };

// [R] to the first frame, each time in a fresh window with a fresh ImGui layer,
// as in a run's first opening. With the atlas prepared, the preparation starts
// as the program starts it after the title's first frame; [R] comes either
// when it is ready (prepare_ready_ms later: any real press comes later still)
// or at that very moment, waiting for the rest of it.
void BM_LearningWindowFirstOpening(benchmark::State& state) {
    const auto atlas = static_cast<Atlas>(state.range(0));
    const SdlWindowOptions options = BenchWindow(state.range(1) != 0);
    LargeRecordGame g;
    double prepareStartMs = 0, prepareReadyMs = 0, worstMs = 0;
    for (auto _ : state) {
        SdlWindow window(options);
        FontLibrary fonts;
        SceneRenderer scene(window.Renderer(), fonts);
        SdlEventBackend backend(g.game.app, window, scene, g.game.f(), g.game.input);
        ImGuiSettingsDialog dialog(g.game.f(), g.game.app, window, backend);
        ImGuiLearningWindow learning(g.game.f(), g.game.app, backend, dialog);
        if (atlas != kBuiltAtOpening) {
            const auto start = std::chrono::steady_clock::now();
            learning.PrepareFonts();
            prepareStartMs += MsSince(start);
            if (atlas == kPreparedAndReady) {
                while (!dialog.FontsPrepared()) std::this_thread::sleep_for(std::chrono::microseconds(200));
                prepareReadyMs += MsSince(start);
            }
        }
        const auto start = std::chrono::steady_clock::now();
        learning.PrepareAndDrawForBenchmark();
        const double ms = MsSince(start);
        state.SetIterationTime(ms / 1000);
        worstMs = std::max(worstMs, ms);
        if (learning.VisibleRows() != kBuiltInQuestions + kAdditional) state.SkipWithError("not every idiom listed");
    }
    const double n = static_cast<double>(state.iterations());
    if (atlas != kBuiltAtOpening) state.counters["prepare_start_ms"] = prepareStartMs / n;
    if (atlas == kPreparedAndReady) state.counters["prepare_ready_ms"] = prepareReadyMs / n;
    state.counters["worst_ms"] = worstMs;
}
BENCHMARK(BM_LearningWindowFirstOpening)
    ->ArgNames({"atlas", "4k"})
    ->ArgsProduct({{kBuiltAtOpening, kPreparedAndReady, kPreparedOpenedAtOnce}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(8);

// Opening again in the same run: the table built and one frame drawn.
void BM_LearningWindowReopening(benchmark::State& state) {
    LargeRecordGame g;
    SdlWindow window(BenchWindow(false));
    FontLibrary fonts;
    SceneRenderer scene(window.Renderer(), fonts);
    SdlEventBackend backend(g.game.app, window, scene, g.game.f(), g.game.input);
    ImGuiSettingsDialog dialog(g.game.f(), g.game.app, window, backend);
    ImGuiLearningWindow learning(g.game.f(), g.game.app, backend, dialog);
    learning.PrepareAndDrawForBenchmark();
    for (auto _ : state) learning.PrepareAndDrawForBenchmark();
    state.counters["rows"] = learning.VisibleRows();
}
BENCHMARK(BM_LearningWindowReopening)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_LearningRecordSave(benchmark::State& state) {
    LargeRecordGame g;
    const LearningTable& table = g.game.f().LearningRecordLog().Record().Table();
    const std::string path = g.game.DataFile("Gakushu.tsv");
    for (auto _ : state)
        if (!WriteLearningFile(path, table)) state.SkipWithError("write failed");
    state.counters["rows"] = static_cast<double>(table.rows.size());
    state.counters["bytes"] = static_cast<double>(LearningText(table).size());
}
BENCHMARK(BM_LearningRecordSave)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
