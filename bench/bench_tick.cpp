// Cost of one frame tick (with the animation step before it) in a busy
// position: stage 3, all three rows standing, a ball in flight and 20 stones
// falling; and how fast headless play runs (game seconds per real second).
#include <benchmark/benchmark.h>

#include "tests/test_support/game_fixture.h"

using game_test::GameFixture;

namespace {

// The busy position: ball 0 crossing the open space below the rows, 20 stones
// falling from rows 1 and 2, the paddle out of their way.
void ArmBusyBoard(GameFixture& fx) {
    TForm1& g = fx.f();
    g.Scene().ImgPad->Position.X = 2000;
    const int b = g.GameBoard().MovingBallNo();
    g.Scene().FloatAniBallX[b]->StopAtCurrent();
    g.Scene().FloatAniBallY[b]->StopAtCurrent();
    g.Scene().ImgBall[b]->Position.X = 300;
    g.Scene().ImgBall[b]->Position.Y = 330;
    g.Scene().FloatAniBallX[b]->StopValue = 500;
    g.Scene().FloatAniBallY[b]->StopValue = 331;
    g.Scene().FloatAniBallX[b]->Duration = g.Scene().FloatAniBallY[b]->Duration = 4;
    g.Launch(b);
    for (int k = 0; k < 20; ++k) {
        fx.random.Push(2);  // three-second falls
        g.DropStone(1 + k / 16, k % 16, TForm1::StoneKind::Stone);
    }
}

void BM_FrameTick(benchmark::State& state) {
    GameFixture fx(false);
    TForm1& g = fx.f();
    g.Sound().IsMusic = false;
    fx.StartAt(0, 21);
    g.Scene().Timer1->SetEnabled(false);  // the loop below plays the timer's part
    ArmBusyBoard(fx);
    int steps = 0;
    for (auto _ : state) {
        fx.clock.Advance(10);
        fx.app.animationClock().Tick();
        g.Timer1Timer(g.Scene().Timer1);
        if (++steps == 50) {  // half a second on: put everything back in the air
            state.PauseTiming();
            ArmBusyBoard(fx);
            steps = 0;
            state.ResumeTiming();
        }
    }
    if (g.GameProgress().GameOver() || g.GameProgress().Clear() || g.GameBoard().UnVisibleBlockCount()[1] != 0) state.SkipWithError("the board changed");
}
BENCHMARK(BM_FrameTick);

// One minute of play per iteration: the paddle under the ball, the ball aimed
// at its gap, a new question whenever one ends.
void BM_HeadlessPlay(benchmark::State& state) {
    GameFixture fx(true);
    TForm1& g = fx.f();
    fx.steering = true;
    const uint32_t start = fx.clock.NowMs();
    for (auto _ : state) {
        const uint32_t until = fx.clock.NowMs() + 60000;
        while (static_cast<int32_t>(until - fx.clock.NowMs()) > 0) {
            if (g.GameBoard().MovingBallNo() < 0 && !g.CountdownRuns() && !g.Scene().FloatAniScoreY->Running())
                fx.Key(VK_SHIFT_KEY);
            fx.Play(100);
        }
    }
    state.counters["game_s_per_real_s"] =
        benchmark::Counter((fx.clock.NowMs() - start) / 1000.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HeadlessPlay)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
