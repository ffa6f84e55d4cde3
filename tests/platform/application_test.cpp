// The event loop: queued events, the current application, and the windowed loop
// (Run, ShowModal) against a scripted back end on a virtual clock.
#include <gtest/gtest.h>

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

TEST(ApplicationTest, CurrentIsTheNewestLiveApplication) {
    VirtualClock clock;
    Application outer(clock);
    EXPECT_EQ(Application::Current(), &outer);
    {
        Application inner(clock);
        EXPECT_EQ(Application::Current(), &inner);
        EXPECT_EQ(AnimationClock::Current(), &inner.animationClock());
    }
    EXPECT_EQ(Application::Current(), &outer);
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
    TTimer* timer = mainForm.Create<TTimer>(nullptr);
    timer->SetInterval(50);
    int ticks = 0;
    timer->OnTimer = [&](TFmxObject*) {
        if (++ticks == 4) dialog.Close();
    };
    app.ShowModal(dialog);
    EXPECT_EQ(ticks, 4);
    EXPECT_EQ(clock.NowMs(), 200u);
    EXPECT_TRUE(dialog.IsClosed());
    EXPECT_FALSE(mainForm.IsClosed());
    EXPECT_FALSE(backend.frameTimes.empty());
}

}  // namespace
