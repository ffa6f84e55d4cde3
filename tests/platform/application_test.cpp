// The event loop: queued events, the current application, and the windowed loop
// (Run, ShowModal) against a scripted back end on a virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/timer.h"

namespace {

TEST(ApplicationTest, ProcessMessagesDeliversEventsInOrderIncludingOnesPostedMeanwhile) {
    VirtualClock clock;
    Application app(clock);
    std::string log;
    app.Post([&] {
        log += "a";
        app.Post([&] { log += "c"; });
    });
    app.Post([&] { log += "b"; });
    app.ProcessMessages();
    EXPECT_EQ(log, "abc");
}

TEST(ApplicationTest, AnimationsRunOnTheNewestLiveApplicationsClock) {
    VirtualClock clock;
    Application outer(clock);
    EXPECT_EQ(AnimationClock::Current(), &outer.animationClock());
    {
        Application inner(clock);
        EXPECT_EQ(AnimationClock::Current(), &inner.animationClock());
    }
    EXPECT_EQ(AnimationClock::Current(), &outer.animationClock());
}

// A display that wants a frame every 16 ms; sleeping advances the virtual clock.
class ScriptedBackend : public EventBackend {
public:
    ScriptedBackend(VirtualClock& clock, Application& app) : clock_(clock), app_(app) {}
    void PumpEvents() override {
        while (!script.empty() && static_cast<int32_t>(clock_.NowMs() - script.front().first) >= 0) {
            app_.Post(script.front().second);
            script.erase(script.begin());
        }
    }
    void DrawFrame() override {
        frameTimes.push_back(clock_.NowMs());
        if (onDraw) onDraw();
        nextFrame_ = clock_.NowMs() + 16;
    }
    bool FrameDue() override { return static_cast<int32_t>(clock_.NowMs() - nextFrame_) >= 0; }
    void Idle(uint32_t ms) override {
        idleCalls++;
        clock_.Advance(std::max<uint32_t>(1, std::min(ms, nextFrame_ - clock_.NowMs())));
    }

    std::vector<std::pair<uint32_t, std::function<void()>>> script;
    std::vector<uint32_t> frameTimes;
    std::function<void()> onDraw;
    int idleCalls = 0;

private:
    VirtualClock& clock_;
    Application& app_;
    uint32_t nextFrame_ = 0;
};

class LoopTest : public ::testing::Test {
protected:
    VirtualClock clock{0};
    Application app{clock};
    ScriptedBackend backend{clock, app};
    TForm mainForm{800, 600};
    TForm dialog{622, 599};
    void SetUp() override { app.SetBackend(&backend); }
};

TEST_F(LoopTest, RunDrawsFramesWithFreshAnimationsUntilTheFormCloses) {
    TImage* img = mainForm.Create<TImage>(&mainForm);
    auto* ani = mainForm.Create<TFloatAnimation>(img);
    ani->PropertyName = "Position.X";
    ani->StopValue = 1000;
    ani->Duration = 1;
    std::vector<std::pair<uint32_t, float>> drawn;
    backend.onDraw = [&] { drawn.emplace_back(clock.NowMs(), img->Position.X); };
    uint32_t startedAt = 0;
    backend.script.push_back({3, [&] {
        startedAt = clock.NowMs();
        ani->Start();
    }});
    backend.script.push_back({500, [&] { mainForm.Close(); }});
    app.Run(mainForm);

    EXPECT_TRUE(mainForm.IsClosed());
    EXPECT_GE(clock.NowMs(), 500u);
    EXPECT_LT(clock.NowMs(), 520u);
    ASSERT_GT(drawn.size(), 20u);
    // Every frame shows the animation as of the moment it is drawn.
    for (auto [at, x] : drawn) {
        if (at < startedAt) continue;
        EXPECT_FLOAT_EQ(x, static_cast<float>(at - startedAt)) << "frame at " << at;
    }
}

TEST_F(LoopTest, ShowModalKeepsTimersRunningAndReturnsWhenTheDialogCloses) {
    dialog.Close();  // closed before: ShowModal opens it again
    TTimer* timer = mainForm.Create<TTimer>(nullptr, app);
    timer->SetInterval(50);
    int ticks = 0;
    timer->OnTimer = [&](SceneObject*) {
        if (++ticks == 4) dialog.Close();
    };
    app.ShowModal(dialog);
    EXPECT_EQ(ticks, 4);
    EXPECT_EQ(clock.NowMs(), 200u);
    EXPECT_TRUE(dialog.IsClosed());
    EXPECT_FALSE(mainForm.IsClosed());
    EXPECT_FALSE(backend.frameTimes.empty());
}


// A back end that never wants a frame and sleeps exactly as long as it is told:
// the loop's own wake-up time is all that brings the next timer tick.
class SleepingBackend : public EventBackend {
public:
    explicit SleepingBackend(VirtualClock& clock) : clock_(clock) {}
    void PumpEvents() override {}
    void DrawFrame() override {}
    bool FrameDue() override { return false; }
    void Idle(uint32_t ms) override {
        longestSleep = std::max(longestSleep, ms);
        clock_.Advance(std::min<uint32_t>(std::max<uint32_t>(ms, 1), 10000));
    }
    uint32_t longestSleep = 0;

private:
    VirtualClock& clock_;
};

TEST(ApplicationTest, ATimerOverdueAfterASlowHandlerStillWakesTheLoop) {
    // The first tick holds the thread like a blocking sound; afterwards the timer's
    // next turn lies in the past. With a clock near zero and near the 32-bit wrap.
    for (uint32_t start : {0u, 100000u, 0xFFFFFF00u}) {
        SCOPED_TRACE(start);
        VirtualClock clock{start};
        Application app{clock};
        SleepingBackend backend{clock};
        app.SetBackend(&backend);
        TForm form{800, 600};
        TTimer* timer = form.Create<TTimer>(nullptr, app);
        timer->SetInterval(50);
        int ticks = 0;
        timer->OnTimer = [&](SceneObject*) {
            if (++ticks == 1) clock.Advance(1600);
            if (ticks == 5) form.Close();
        };
        app.Run(form);
        EXPECT_EQ(ticks, 5);
        EXPECT_LE(backend.longestSleep, 50u);
        EXPECT_LT(static_cast<uint32_t>(clock.NowMs() - start), 1600u + 5 * 50u);
    }
}

}  // namespace
