#pragma once
// Float property animations on one shared animation clock.
// A run interpolates one float property of its parent object linearly.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/scene.h"

class Clock;
class TFloatAnimation;

// Drives every running animation of the application. It ticks every 10 ms while
// at least one animation runs (and once more right before each drawn frame);
// each tick advances all running animations by the same elapsed time, in the
// reverse order of their joining.
class AnimationClock {
public:
    explicit AnimationClock(Clock& clock);
    ~AnimationClock();
    static constexpr uint32_t kIntervalMs = 10;

    // The clock the animations of this process run on (set by the Application).
    static AnimationClock* Current();
    static void SetCurrent(AnimationClock* c);

    // Advances every running animation by the time elapsed since the previous tick.
    void Tick();
    bool HasRunning() const { return !running_.empty(); }
    size_t RunningCount() const { return running_.size(); }
    Clock& TimeSource() { return clock_; }

    // Used by TFloatAnimation.
    void Join(TFloatAnimation* a);
    void Leave(TFloatAnimation* a);
    // A running animation restarted in place: it keeps its place, but is not
    // advanced by a tick that is already in progress.
    void NoteRestarted(TFloatAnimation* a);

    // Used by the Application to schedule the next tick.
    bool InTick() const { return inTick_; }
    uint32_t LastTickMs() const { return lastMs_; }

private:
    bool StartedDuringThisTick(TFloatAnimation* a) const;

    Clock& clock_;
    std::vector<TFloatAnimation*> running_;  // in joining order
    std::vector<TFloatAnimation*> startedDuringTick_;
    bool haveReference_ = false;
    bool inTick_ = false;
    uint32_t lastMs_ = 0;
};

class TFloatAnimation : public SceneObject {
public:
    explicit TFloatAnimation(TForm* owner);
    ~TFloatAnimation() override;

    std::string PropertyName;  // "Position.X", "Position.Y", "Width", "Height" or "Opacity"
    float StartValue = 0;
    float StopValue = 0;
    float Duration = 0.2f;  // seconds
    float Delay = 0;        // seconds
    bool Loop = false;
    bool AutoReverse = false;
    bool StartFromCurrent = false;
    TNotifyEvent OnFinish;

    void Start();
    void Stop();
    void StopAtCurrent();
    // Setting the value it already has does nothing; false -> true calls Start(),
    // true -> false calls Stop().
    void SetEnabled(bool value);
    bool Enabled() const { return enabled_; }
    bool Running() const { return running_; }

    // Takes a running animation off the clock without ending it: no OnFinish, the
    // property stays where it is. Start() afterwards begins a fresh run from the
    // current value (StartFromCurrent) over the full Duration. Used for pausing.
    void Hold();
    bool Held() const { return held_; }

    // Internal state, readable for tests and for saving.
    float CurrentTime() const { return static_cast<float>(time_); }
    bool Inverse() const { return inverse_; }

    // Called by the AnimationClock.
    void Advance(double elapsedSeconds);
    // The clock is being destroyed: forget it without running OnFinish.
    void ClockGone();

private:
    bool ResolveTarget();
    float* Target() const { return target_; }
    void SetValueAt(float t);
    void FirstFrame();
    void EndRun();  // leaves the clock, runs OnFinish

    bool enabled_ = false;
    bool running_ = false;
    bool held_ = false;
    bool inverse_ = false;
    int reversals_ = 0;
    double time_ = 0;       // seconds; double so that 10 ms steps add up exactly enough
    double delayLeft_ = 0;
    float* target_ = nullptr;
    AnimationClock* clock_ = nullptr;  // the clock it runs on while Running()
};
