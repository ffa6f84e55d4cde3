// Float property animations and the one clock that advances them.
#include "platform/animation.h"

#include <algorithm>

#include "platform/clock.h"

namespace {
AnimationClock* g_currentClock = nullptr;

// Time values within this distance of a limit count as having reached it: the
// clock counts whole milliseconds, so this only absorbs rounding of 10 ms steps.
constexpr double kTimeSlack = 5e-5;
}  // namespace

// ---------------------------------------------------------------- the clock

AnimationClock::AnimationClock(Clock& clock) : clock_(clock) {}

AnimationClock::~AnimationClock() {
    for (TFloatAnimation* a : running_) a->ClockGone();
    running_.clear();
    if (g_currentClock == this) g_currentClock = nullptr;
}

AnimationClock* AnimationClock::Current() { return g_currentClock; }
void AnimationClock::SetCurrent(AnimationClock* c) { g_currentClock = c; }

void AnimationClock::Join(TFloatAnimation* a) {
    if (running_.empty()) {
        // Restarting after standing still: idle time is not animation time.
        lastMs_ = clock_.NowMs();
        haveReference_ = true;
    }
    if (std::find(running_.begin(), running_.end(), a) == running_.end()) running_.push_back(a);
    if (inTick_) startedDuringTick_.push_back(a);
}

void AnimationClock::Leave(TFloatAnimation* a) {
    running_.erase(std::remove(running_.begin(), running_.end(), a), running_.end());
}

void AnimationClock::NoteRestarted(TFloatAnimation* a) {
    if (inTick_) startedDuringTick_.push_back(a);
}

bool AnimationClock::StartedDuringThisTick(TFloatAnimation* a) const {
    return std::find(startedDuringTick_.begin(), startedDuringTick_.end(), a) !=
           startedDuringTick_.end();
}

void AnimationClock::Tick() {
    if (inTick_ || running_.empty()) return;  // a finish handler's ProcessMessages does not nest ticks
    const uint32_t now = clock_.NowMs();
    if (!haveReference_) {
        lastMs_ = now;
        haveReference_ = true;
        return;
    }
    const int32_t elapsedMs = static_cast<int32_t>(now - lastMs_);
    if (elapsedMs <= 0) {
        if (elapsedMs < 0) lastMs_ = now;  // the time source went back: resynchronise
        return;
    }
    lastMs_ = now;
    const double elapsed = elapsedMs / 1000.0;

    // Finish handlers may start and stop animations (this one too) while we go:
    // advance a snapshot, newest first, and skip whatever left or (re)started meanwhile.
    inTick_ = true;
    startedDuringTick_.clear();
    const std::vector<TFloatAnimation*> snapshot(running_.rbegin(), running_.rend());
    for (TFloatAnimation* a : snapshot) {
        if (std::find(running_.begin(), running_.end(), a) == running_.end()) continue;
        if (StartedDuringThisTick(a)) continue;
        auto* parent = dynamic_cast<TControl*>(a->Parent());
        if (parent && !parent->Visible) {
            a->Stop();
            continue;
        }
        a->Advance(elapsed);
    }
    startedDuringTick_.clear();
    inTick_ = false;
}

// ---------------------------------------------------------- the animation

TFloatAnimation::TFloatAnimation(TForm* owner) : SceneObject(owner) {}

TFloatAnimation::~TFloatAnimation() {
    if (clock_) clock_->Leave(this);
}

void TFloatAnimation::ClockGone() {
    clock_ = nullptr;
    running_ = false;
    held_ = false;
}

bool TFloatAnimation::ResolveTarget() {
    target_ = nullptr;
    auto* control = dynamic_cast<TControl*>(parent_);
    if (!control) return false;
    if (PropertyName == "Position.X") target_ = &control->Position.X;
    else if (PropertyName == "Position.Y") target_ = &control->Position.Y;
    else if (PropertyName == "Width") target_ = &control->Width;
    else if (PropertyName == "Height") target_ = &control->Height;
    else if (PropertyName == "Opacity") target_ = &control->Opacity;
    return target_ != nullptr;
}

void TFloatAnimation::SetValueAt(float t) {
    if (!target_) return;
    float value;
    if (delayLeft_ > 0) {
        value = StartValue;
    } else if (Duration <= 0) {
        value = inverse_ ? StartValue : StopValue;
    } else {
        const float fraction = t / Duration;
        // The ends are exact, whatever the rounding of the interpolation.
        if (fraction >= 1) value = StopValue;
        else if (fraction <= 0) value = StartValue;
        else value = StartValue + (StopValue - StartValue) * fraction;
    }
    *target_ = value;
}

void TFloatAnimation::FirstFrame() {
    if (StartFromCurrent && target_) StartValue = *target_;
}

void TFloatAnimation::Start() {
    if (!parent_ || PropertyName.empty()) return;
    if (!ResolveTarget()) return;
    if (!Loop) reversals_ = 0;
    if (auto* control = dynamic_cast<TControl*>(parent_); control && !control->Visible) return;

    AnimationClock* clock = AnimationClock::Current();
    if (Duration < 0.001f || RootForm() == nullptr || clock == nullptr) {
        // Too short to animate, or nothing to show it in: jump to the end at once.
        if (clock_) clock_->Leave(this);
        clock_ = nullptr;
        running_ = false;
        held_ = false;
        delayLeft_ = 0;
        time_ = inverse_ ? 0 : Duration;
        *target_ = inverse_ ? StartValue : StopValue;
        Duration = 0.00001f;
        if (OnFinish) OnFinish(this);
        return;
    }

    if (clock_ && clock_ != clock) clock_->Leave(this);
    const bool restartInPlace = running_ && clock_ == clock;
    held_ = false;
    delayLeft_ = Delay > 0 ? Delay : 0;
    running_ = true;
    time_ = inverse_ ? Duration : 0;
    if (delayLeft_ == 0) {
        FirstFrame();
        SetValueAt(static_cast<float>(time_));
    }
    clock_ = clock;
    if (restartInPlace) clock->NoteRestarted(this);
    else clock->Join(this);
    enabled_ = true;
}

void TFloatAnimation::Advance(double elapsed) {
    if (!running_) return;
    if (delayLeft_ > 0) {
        delayLeft_ -= elapsed;
        if (delayLeft_ > kTimeSlack) return;
        // The delay is over; the rest of this tick's time is dropped.
        delayLeft_ = 0;
        time_ = inverse_ ? Duration : 0;
        FirstFrame();
        SetValueAt(static_cast<float>(time_));
        return;
    }

    time_ += inverse_ ? -elapsed : elapsed;
    bool ended = false;
    if (time_ >= Duration - kTimeSlack) {
        time_ = Duration;
        if (Loop) {
            if (AutoReverse) inverse_ = true;
            else time_ = 0;
        } else if (AutoReverse && reversals_ == 0) {
            reversals_ = 1;
            inverse_ = true;
        } else {
            ended = true;
        }
    } else if (time_ <= kTimeSlack) {
        time_ = 0;
        if (Loop) {
            if (AutoReverse) inverse_ = false;
            else time_ = Duration;
        } else if (AutoReverse && reversals_ == 0) {
            reversals_ = 1;
            inverse_ = false;
        } else {
            ended = true;
        }
    }
    SetValueAt(static_cast<float>(time_));
    if (ended) EndRun();
}

void TFloatAnimation::EndRun() {
    if (clock_) clock_->Leave(this);
    clock_ = nullptr;
    running_ = false;
    if (OnFinish) OnFinish(this);
}

void TFloatAnimation::Stop() {
    if (!running_) {
        target_ = nullptr;
        return;
    }
    time_ = inverse_ ? 0 : Duration;
    SetValueAt(static_cast<float>(time_));  // StartValue while a delay is pending
    delayLeft_ = 0;
    target_ = nullptr;  // forgotten before OnFinish, which may start a new run
    EndRun();
}

void TFloatAnimation::StopAtCurrent() {
    if (!running_) return;
    enabled_ = false;
    delayLeft_ = 0;
    EndRun();
}

void TFloatAnimation::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    if (value) Start();
    else Stop();
}

void TFloatAnimation::Hold() {
    if (!running_) return;
    if (clock_) clock_->Leave(this);
    clock_ = nullptr;
    running_ = false;
    held_ = true;
}
