// Peak memory of a whole game: one score challenge played headless from the
// first question to its end (the paddle under the ball, the ball aimed at its
// gap), reporting the process's peak resident set (getrusage ru_maxrss).
// Goal: under 150 MB.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "tests/test_support/game_fixture.h"

namespace {

double PeakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

void BM_WholeScoreChallenge(benchmark::State& state) {
    double gameSeconds = 0;
    int questions = 0;
    for (auto _ : state) {
        game_test::GameFixture fx(true);
        TForm1& g = fx.f();
        fx.steering = true;
        const uint32_t start = fx.clock.NowMs();
        // Until the last question is answered or the game is lost (at most an hour of play).
        while (!(g.GameProgress().GameOver() || (g.GameProgress().Clear() && g.GameProgress().GameClear())) && fx.clock.NowMs() - start < 3600000) {
            if (g.GameBoard().MovingBallNo() < 0 && !g.CountdownRuns() && !g.Scene().FloatAniScoreY->Running()) fx.Key(VK_SHIFT_KEY);
            fx.Play(100);
        }
        gameSeconds = (fx.clock.NowMs() - start) / 1000.0;
        questions = g.GameProgress().MondaiCount();
    }
    state.counters["peak_rss_MB"] = PeakRssMb();
    state.counters["game_s"] = gameSeconds;
    state.counters["questions"] = questions;
}
BENCHMARK(BM_WholeScoreChallenge)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
