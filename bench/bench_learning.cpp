// The learning window with 1,000 idioms (170 built-in + 830 additional, every
// one with a record row): building its table and drawing its first frame at
// 1920 x 1080 with the software renderer; and one save of the record.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>

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

// A made-up idiom per number, from a small set of kanji, and a reading and meaning.
std::string MadeUpIdiom(int n) {
    static const char* const kanji[] = {"天", "地", "人", "和", "風", "月", "花", "鳥", "山", "水"};
    std::string s;
    for (int i = 0; i < 4; ++i, n /= 10) s += kanji[n % 10];
    return s;
}

struct LargeRecordGame {
    game_test::GameFixture game;
    FixedCalendar calendar{"2026-12-10"};

    LargeRecordGame() {
        TForm1& f = game.f();
        for (int i = 0; i < kAdditional; ++i) {
            f.questions.Append({MadeUpIdiom(i), "ついかもんだい" + std::to_string(i),
                                "追加した問題の意味、その" + std::to_string(i) + "。少し長めの説明文をつける", ""});
            f.progress.TuikaShutudaiSumi.push_back(false);
        }
        game.services->calendar = &calendar;
        f.OpenLearningRecord();
        // Every idiom met: some right, some missed, due dates spread out.
        for (int q = 0; q < kBuiltInQuestions + kAdditional; ++q) {
            calendar.Set(AddDays("2026-10-01", q % 70));
            f.Learning.Dealt(f.questions.At(q).Jukugo, f.questions.At(q).Yomi);
            if (q % 3 == 0) f.Learning.Missed(f.questions.At(q).Jukugo, f.questions.At(q).Yomi);
            if (q % 2 == 0) f.Learning.Right(f.questions.At(q).Jukugo, f.questions.At(q).Yomi);
        }
        calendar.Set("2026-12-10");
    }
};

void BM_LearningWindowFirstFrame(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    LargeRecordGame g;
    SdlWindowOptions o;
    o.caption = "bench";
    o.width = 1920;
    o.height = 1080;
    o.softwareRenderer = true;
    SdlWindow window(o);
    FontLibrary fonts;
    SceneRenderer scene(window.Renderer(), fonts);
    SdlEventBackend backend(g.game.app, window, scene, g.game.f(), g.game.input);
    ImGuiSettingsDialog dialog(g.game.f(), g.game.app, window, backend);
    ImGuiLearningWindow learning(g.game.f(), g.game.app, backend, dialog);

    // The very first ImGui window of a run (this or the settings dialog) also
    // builds the ImGui layer (timed apart) and, in its first frame, the glyph
    // atlas of the common characters and of every character in the table.
    auto msSince = [](auto start) {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    };
    auto start = std::chrono::steady_clock::now();
    dialog.Layer();
    const double layerMs = msSince(start);
    start = std::chrono::steady_clock::now();
    learning.PrepareAndDrawForBenchmark();
    const double coldMs = msSince(start);
    if (learning.VisibleRows() != kBuiltInQuestions + kAdditional) state.SkipWithError("not every idiom listed");

    for (auto _ : state) learning.PrepareAndDrawForBenchmark();
    state.counters["imgui_layer_ms"] = layerMs;
    state.counters["first_opening_ms"] = coldMs;
    state.counters["rows"] = learning.VisibleRows();
}
BENCHMARK(BM_LearningWindowFirstFrame)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_LearningRecordSave(benchmark::State& state) {
    LargeRecordGame g;
    const LearningTable& table = g.game.f().Learning.Record().Table();
    const std::string path = g.game.DataFile("Gakushu.tsv");
    for (auto _ : state)
        if (!WriteLearningFile(path, table)) state.SkipWithError("write failed");
    state.counters["rows"] = static_cast<double>(table.rows.size());
    state.counters["bytes"] = static_cast<double>(LearningText(table).size());
}
BENCHMARK(BM_LearningRecordSave)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
