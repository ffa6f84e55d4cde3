// Timers on the event loop, driven by a virtual clock.
#include <gtest/gtest.h>

#include <vector>

#include "platform/application.h"
#include "platform/timer.h"

namespace {

class TimerTest : public ::testing::Test {
protected:
    VirtualClock clock{0};
    Application app{clock};
    TForm form{800, 600};
    TTimer* timer = form.Create<TTimer>(nullptr, app);
    std::vector<uint32_t> fired;  // clock readings at each event

    void SetUp() override {
        timer->OnTimer = [this](SceneObject*) { fired.push_back(clock.NowMs()); };
    }
};

TEST_F(TimerTest, DefaultsAndInterval) {
    EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 1000u);
    timer->SetInterval(50);
    app.RunFor(200);
    EXPECT_EQ(fired, (std::vector<uint32_t>{50, 100, 150, 200}));
    timer->SetEnabled(false);
    app.RunFor(500);
    EXPECT_EQ(fired.size(), 4u);
}

// At 60 ms into a 100 ms interval, a change restarts the countdown; the same
// value changes nothing.
TEST_F(TimerTest, ChangingEnabledOrIntervalRestartsTheCountdown) {
    struct Case {
        const char* what;
        void (*change)(TTimer*);
        uint32_t firstFire;
    };
    const Case cases[] = {
        {"same interval", [](TTimer* t) { t->SetInterval(100); }, 100},
        {"same enabled", [](TTimer* t) { t->SetEnabled(true); }, 100},
        {"new interval", [](TTimer* t) { t->SetInterval(80); }, 140},
        {"off and on", [](TTimer* t) { t->SetEnabled(false); t->SetEnabled(true); }, 160},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clock.Set(0);
        timer->SetEnabled(false);
        timer->SetInterval(100);
        timer->SetEnabled(true);
        fired.clear();
        app.RunFor(60);
        c.change(timer);
        app.RunFor(200);
        ASSERT_FALSE(fired.empty());
        EXPECT_EQ(fired[0], c.firstFire);
    }
}

TEST_F(TimerTest, LateTickFiresOnceAndSchedulesFromNow) {
    timer->SetInterval(100);
    clock.Advance(350);
    app.ProcessMessages();
    EXPECT_EQ(fired, (std::vector<uint32_t>{350}));
    EXPECT_EQ(timer->NextDueMs(), 450u);
}

// A handler that lets waiting events run is not re-entered by its own timer,
// while other timers keep firing inside it.
TEST_F(TimerTest, HandlerCallingProcessMessagesIsNotReentered) {
    TTimer* fast = form.Create<TTimer>(nullptr, app);
    fast->SetInterval(10);
    int fastFires = 0;
    fast->OnTimer = [&](SceneObject*) { ++fastFires; };
    timer->SetInterval(50);
    int depth = 0, maxDepth = 0, frames = 0;
    timer->OnTimer = [&](SceneObject*) {
        ++frames;
        maxDepth = std::max(maxDepth, ++depth);
        clock.Advance(120);  // a slow frame: the timer is overdue during it
        app.ProcessMessages();
        --depth;
    };
    app.RunFor(1000);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_GT(frames, 3);
    EXPECT_GT(fastFires, frames);
}

TEST_F(TimerTest, NoHandlerNoEventAndDestroyedTimerUnregisters) {
    TTimer* silent = form.Create<TTimer>(nullptr, app);
    silent->SetInterval(10);
    app.RunFor(100);  // nothing to call: harmless
    timer->SetInterval(10);
    app.RunFor(10);
    EXPECT_EQ(fired.size(), 1u);
    {
        TTimer local(&form, app);
        local.SetInterval(5);
        local.OnTimer = [&](SceneObject*) { fired.push_back(0); };
    }
    app.RunFor(10);
    EXPECT_EQ(fired.size(), 2u);
}

}  // namespace
