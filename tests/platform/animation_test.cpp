// Float animations on the shared clock, driven by a virtual clock in 10 ms ticks.
#include <gtest/gtest.h>

#include "platform/animation.h"
#include "platform/application.h"

namespace {

class AnimationTest : public ::testing::Test {
protected:
    VirtualClock clock;
    Application app{clock};
    TForm form{800, 600};
    TImage* img = form.Create<TImage>(&form);
    TFloatAnimation* ani = MakeAnimation(img, "Position.X", 0, 100, 1.0f);
    int finishes = 0;
    float valueAtFinish = -1;

    TFloatAnimation* MakeAnimation(TControl* parent, const char* property, float from, float to,
                                   float duration) {
        auto* a = form.Create<TFloatAnimation>(parent);
        a->PropertyName = property;
        a->StartValue = from;
        a->StopValue = to;
        a->Duration = duration;
        return a;
    }
    void CountFinishes() {
        ani->OnFinish = [this](SceneObject*) {
            ++finishes;
            valueAtFinish = img->Position.X;
        };
    }
    void SetUp() override { CountFinishes(); }
};

TEST_F(AnimationTest, RunsLinearlyAndFinishesOnceAfterTheFinalValue) {
    img->Position.X = 55;
    ani->Start();
    EXPECT_TRUE(ani->Running());
    EXPECT_TRUE(ani->Enabled());
    EXPECT_EQ(img->Position.X, 0);  // no delay: the first frame is made at once
    app.RunFor(250);
    EXPECT_NEAR(img->Position.X, 25, 1e-3);
    app.RunFor(740);
    EXPECT_EQ(finishes, 0);
    app.RunFor(10);
    EXPECT_EQ(finishes, 1);
    EXPECT_EQ(valueAtFinish, 100);
    EXPECT_FALSE(ani->Running());
    EXPECT_TRUE(ani->Enabled());  // a natural end leaves Enabled as it was
    app.RunFor(1000);
    EXPECT_EQ(finishes, 1);
}

TEST_F(AnimationTest, EndsAreExactFloats) {
    ani->PropertyName = "Opacity";
    ani->StartValue = 0.9f;  // 0.9f + (0.1f - 0.9f) rounds away from 0.1f
    ani->StopValue = 0.1f;
    ani->Duration = 0.3f;
    ani->Start();
    EXPECT_EQ(img->Opacity, 0.9f);
    app.RunFor(300);
    EXPECT_FALSE(ani->Running());
    EXPECT_EQ(img->Opacity, 0.1f);
}

// Every way a run ends runs OnFinish exactly once.
TEST_F(AnimationTest, EveryEndingRunsOnFinishOnce) {
    enum class Ending { Natural, Stop, StopAtCurrent, HideParent, DisableIt };
    struct Case {
        Ending ending;
        float expectedX;
        bool expectedEnabled;
    };
    const Case cases[] = {
        {Ending::Natural, 100, true},       {Ending::Stop, 100, true},
        {Ending::StopAtCurrent, 30, false}, {Ending::HideParent, 100, true},
        {Ending::DisableIt, 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.ending));
        finishes = 0;
        img->Visible = true;
        ani->SetEnabled(false);  // quiet: not running
        EXPECT_EQ(finishes, 0);
        ani->Start();
        app.RunFor(300);
        switch (c.ending) {
        case Ending::Natural: break;
        case Ending::Stop: ani->Stop(); EXPECT_EQ(finishes, 1); break;
        case Ending::StopAtCurrent: ani->StopAtCurrent(); EXPECT_EQ(finishes, 1); break;
        case Ending::DisableIt: ani->SetEnabled(false); EXPECT_EQ(finishes, 1); break;
        case Ending::HideParent:
            img->Visible = false;
            EXPECT_EQ(finishes, 0);  // only at the next tick
            app.RunFor(10);
            EXPECT_EQ(finishes, 1);
            EXPECT_EQ(valueAtFinish, 100);
            break;
        }
        app.RunFor(2000);
        EXPECT_EQ(finishes, 1);
        EXPECT_FALSE(ani->Running());
        EXPECT_NEAR(img->Position.X, c.expectedX, 1e-3);
        EXPECT_EQ(ani->Enabled(), c.expectedEnabled);
    }
}

TEST_F(AnimationTest, StopsOnAnIdleAnimationDoNothing) {
    img->Position.X = 42;
    ani->Stop();
    ani->StopAtCurrent();
    EXPECT_EQ(finishes, 0);
    EXPECT_EQ(img->Position.X, 42);
    EXPECT_FALSE(ani->Enabled());
}

TEST_F(AnimationTest, StopDuringDelayGivesStartValue) {
    img->Position.X = 5;
    ani->StartValue = 20;
    ani->Delay = 1;
    ani->Start();
    app.RunFor(500);
    EXPECT_EQ(img->Position.X, 5);  // untouched while the delay runs
    ani->Stop();
    EXPECT_EQ(img->Position.X, 20);
    EXPECT_EQ(finishes, 1);
}

TEST_F(AnimationTest, DelayThenDurationTiming) {
    img->Position.X = 7;
    ani->StartValue = 10;
    ani->StopValue = 110;
    ani->Delay = 2;
    ani->Start();
    EXPECT_TRUE(ani->Running());
    app.RunFor(1990);
    EXPECT_EQ(img->Position.X, 7);
    app.RunFor(10);
    EXPECT_EQ(img->Position.X, 10);  // the rest of the delay's tick is dropped
    app.RunFor(990);
    EXPECT_LT(img->Position.X, 110);
    EXPECT_EQ(finishes, 0);
    app.RunFor(10);
    EXPECT_EQ(img->Position.X, 110);
    EXPECT_EQ(finishes, 1);
}

TEST_F(AnimationTest, StartFromCurrentTakesTheValueWhenTheFirstFrameIsMade) {
    ani->StartFromCurrent = true;
    // With a delay: the object moved before the delay ends starts from there.
    img->Position.X = 10;
    ani->Delay = 0.5f;
    ani->Start();
    app.RunFor(200);
    img->Position.X = 40;
    app.RunFor(300);
    EXPECT_EQ(ani->StartValue, 40);
    EXPECT_EQ(img->Position.X, 40);
    app.RunFor(500);
    EXPECT_NEAR(img->Position.X, 70, 1e-3);
    app.RunFor(500);
    EXPECT_EQ(img->Position.X, 100);
    EXPECT_EQ(ani->StartValue, 40);  // stays in the field after the run

    // Without a delay: taken at Start(), a later move is overwritten.
    ani->Delay = 0;
    img->Position.X = 10;
    ani->Start();
    img->Position.X = 40;
    app.RunFor(10);
    EXPECT_EQ(ani->StartValue, 10);
    EXPECT_NEAR(img->Position.X, 10.9f, 1e-3);
}

TEST_F(AnimationTest, StartOnHiddenParentDoesNothing) {
    img->Visible = false;
    img->Position.X = 33;
    ani->Start();
    app.RunFor(2000);
    EXPECT_FALSE(ani->Running());
    EXPECT_FALSE(ani->Enabled());
    EXPECT_EQ(finishes, 0);
    EXPECT_EQ(img->Position.X, 33);
}

TEST_F(AnimationTest, ImmediateEndWhenTooShortOrOutsideAWindow) {
    // Too short: end value and OnFinish inside Start, and later starts are immediate too.
    ani->Duration = 0.0005f;
    ani->Start();
    EXPECT_EQ(finishes, 1);
    EXPECT_EQ(img->Position.X, 100);
    EXPECT_FALSE(ani->Running());
    EXPECT_EQ(ani->Duration, 0.00001f);

    // Not yet in a window's scene.
    TImage* loose = form.Create<TImage>(nullptr);
    TFloatAnimation* a = MakeAnimation(loose, "Width", 0, 64, 1.0f);
    int looseFinishes = 0;
    a->OnFinish = [&](SceneObject*) { ++looseFinishes; };
    a->Start();
    EXPECT_EQ(looseFinishes, 1);
    EXPECT_EQ(loose->Width, 64);
    EXPECT_FALSE(a->Running());
    EXPECT_EQ(a->Duration, 0.00001f);
    EXPECT_EQ(app.animationClock().RunningCount(), 0u);
}

TEST_F(AnimationTest, NoParentOrEmptyPropertyDoesNothing) {
    TFloatAnimation* orphan = MakeAnimation(nullptr, "Position.X", 0, 1, 1);
    orphan->OnFinish = [this](SceneObject*) { ++finishes; };
    orphan->Start();
    ani->PropertyName = "";
    ani->Start();
    EXPECT_FALSE(orphan->Running());
    EXPECT_FALSE(ani->Running());
    EXPECT_EQ(finishes, 0);
}

TEST_F(AnimationTest, RestartGivesNoFinishAndStartsFromCurrent) {
    ani->StartFromCurrent = true;
    ani->Start();
    app.RunFor(500);
    ani->Start();
    EXPECT_EQ(finishes, 0);
    EXPECT_TRUE(ani->Running());
    EXPECT_NEAR(ani->StartValue, 50, 1e-3);
    app.RunFor(990);
    EXPECT_EQ(finishes, 0);  // a full Duration from the restart
    app.RunFor(10);
    EXPECT_EQ(finishes, 1);
    EXPECT_EQ(img->Position.X, 100);
}

TEST_F(AnimationTest, EnabledSetter) {
    ani->SetEnabled(true);  // false -> true starts
    EXPECT_TRUE(ani->Running());
    app.RunFor(500);
    ani->SetEnabled(true);  // same value: no restart
    app.RunFor(500);
    EXPECT_EQ(finishes, 1);
    EXPECT_TRUE(ani->Enabled());
    // Enabled is still true after the natural end, so setting it true starts nothing.
    ani->SetEnabled(true);
    EXPECT_FALSE(ani->Running());
}

// An opacity pulse: stopping it leaves the value at the end of the leg it runs
// towards, and the next Start() continues in that direction.
TEST_F(AnimationTest, LoopingPulseStopsAtTheEndOfItsLegAndKeepsDirection) {
    TFloatAnimation* pulse = MakeAnimation(img, "Opacity", 0.2f, 1.0f, 0.5f);
    pulse->Loop = true;
    pulse->AutoReverse = true;
    int pulseFinishes = 0;
    pulse->OnFinish = [&](SceneObject*) { ++pulseFinishes; };

    pulse->Start();
    app.RunFor(200);  // forward leg
    pulse->Stop();
    EXPECT_EQ(img->Opacity, 1.0f);
    EXPECT_FALSE(pulse->Inverse());

    pulse->Start();
    app.RunFor(2500 + 200);  // five legs later: backward leg again
    EXPECT_TRUE(pulse->Inverse());
    EXPECT_TRUE(pulse->Running());
    pulse->Stop();
    EXPECT_EQ(img->Opacity, 0.2f);
    EXPECT_EQ(pulseFinishes, 2);

    pulse->Start();  // continues backwards: from StopValue towards StartValue
    EXPECT_TRUE(pulse->Inverse());
    EXPECT_EQ(img->Opacity, 1.0f);
    app.RunFor(100);
    EXPECT_NEAR(img->Opacity, 0.84f, 1e-4);
}

TEST_F(AnimationTest, AutoReverseWithoutLoopRunsThereAndBackOnce) {
    ani->AutoReverse = true;
    ani->Start();
    app.RunFor(1000);
    EXPECT_EQ(img->Position.X, 100);
    EXPECT_TRUE(ani->Running());
    app.RunFor(1000);
    EXPECT_EQ(img->Position.X, 0);
    EXPECT_EQ(finishes, 1);
    EXPECT_FALSE(ani->Running());
}

// Animations started in one handler with equal durations end in the same tick,
// even when the handler runs inside a tick and one of them was already running.
TEST_F(AnimationTest, EqualDurationsStartedTogetherEndInTheSameTick) {
    TFloatAnimation* aniY = MakeAnimation(img, "Position.Y", 0, 50, 0.5f);
    TFloatAnimation* trigger = MakeAnimation(img, "Width", 0, 10, 0.1f);
    ani->Duration = 0.5f;
    uint32_t endX = 0, endY = 0;
    ani->OnFinish = [&](SceneObject*) { endX = clock.NowMs(); };
    aniY->OnFinish = [&](SceneObject*) { endY = clock.NowMs(); };
    trigger->OnFinish = [&](SceneObject*) {
        ani->Start();   // joins the clock during the tick
        aniY->Start();  // restarts in place, behind the trigger in the tick's order
    };
    aniY->Start();
    trigger->Start();
    app.RunFor(2000);
    EXPECT_NE(endX, 0u);
    EXPECT_EQ(endX, endY);
}

TEST_F(AnimationTest, IdleTimeIsNotCountedWhenTheClockRestarts) {
    app.RunFor(5000);
    clock.Advance(777);
    ani->Start();
    app.RunFor(10);
    EXPECT_NEAR(img->Position.X, 1, 1e-3);
}

TEST_F(AnimationTest, HoldKeepsTheValueAndStartContinuesFromIt) {
    ani->StartFromCurrent = true;
    ani->Start();
    app.RunFor(400);
    ani->Hold();
    EXPECT_FALSE(ani->Running());
    EXPECT_TRUE(ani->Held());
    app.RunFor(3000);
    EXPECT_NEAR(img->Position.X, 40, 1e-3);
    EXPECT_EQ(finishes, 0);
    ani->Stop();  // nothing is running: no finish
    EXPECT_EQ(finishes, 0);

    ani->Start();
    EXPECT_FALSE(ani->Held());
    app.RunFor(500);
    EXPECT_NEAR(img->Position.X, 70, 1e-3);
    app.RunFor(500);
    EXPECT_EQ(img->Position.X, 100);
    EXPECT_EQ(finishes, 1);
}

// Finish handlers may start and stop animations, this one included.
TEST_F(AnimationTest, FinishHandlersMayStartAndStopAnimations) {
    TFloatAnimation* other = MakeAnimation(img, "Position.Y", 0, 80, 5.0f);
    int otherFinishes = 0;
    other->OnFinish = [&](SceneObject*) { ++otherFinishes; };
    ani->Duration = 0.2f;
    ani->OnFinish = [&](SceneObject*) {
        ++finishes;
        if (finishes == 1) other->Stop();  // other joined earlier: still to be advanced this tick
        if (finishes < 3) ani->Start();
    };
    other->Start();
    ani->Start();
    app.RunFor(2000);
    EXPECT_EQ(finishes, 3);
    EXPECT_EQ(otherFinishes, 1);
    EXPECT_EQ(img->Position.Y, 80);
    EXPECT_EQ(app.animationClock().RunningCount(), 0u);
}

TEST_F(AnimationTest, AnimatesEveryNamedProperty) {
    const char* names[] = {"Position.X", "Position.Y", "Width", "Height", "Opacity"};
    float* fields[] = {&img->Position.X, &img->Position.Y, &img->Width, &img->Height, &img->Opacity};
    for (int i = 0; i < 5; ++i) {
        TFloatAnimation* a = MakeAnimation(img, names[i], 0, 0.5f, 0.1f);
        a->Start();
        app.RunFor(100);
        EXPECT_EQ(*fields[i], 0.5f) << names[i];
    }
}

}  // namespace
