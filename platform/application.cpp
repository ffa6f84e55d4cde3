// The event loop: queued input, due timers and animation ticks, and drawing.
#include "platform/application.h"

#include <algorithm>

#include "platform/timer.h"

namespace {
// Live applications, oldest first; animations run on the newest one's clock.
std::vector<Application*>& LiveApplications() {
    static std::vector<Application*> live;
    return live;
}

// Nothing at all is scheduled: the loop may wait this long.
constexpr uint32_t kNothingDueMs = 0x7FFFFFFF;

bool IsReached(uint32_t now, uint32_t at) { return static_cast<int32_t>(now - at) >= 0; }
}  // namespace

Application::Application(Clock& clock) : clock_(clock), animClock_(clock) {
    LiveApplications().push_back(this);
    AnimationClock::SetCurrent(&animClock_);
}

Application::~Application() {
    for (TTimer* t : timers_) t->ApplicationGone();
    auto& live = LiveApplications();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    AnimationClock::SetCurrent(live.empty() ? nullptr : &live.back()->animClock_);
}

void Application::Post(std::function<void()> event) { queue_.push_back(std::move(event)); }

void Application::AddTimer(TTimer* t) {
    if (std::find(timers_.begin(), timers_.end(), t) == timers_.end()) timers_.push_back(t);
}

void Application::RemoveTimer(TTimer* t) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end());
}

bool Application::AnimationTickDue() {
    return animClock_.HasRunning() && !animClock_.InTick() &&
           IsReached(clock_.NowMs(), animClock_.LastTickMs() + AnimationClock::kIntervalMs);
}

void Application::ProcessMessages() {
    if (backend_) backend_->PumpEvents();
    // Each timer and the animation clock get at most one turn per call: a handler
    // slower than its interval would otherwise keep this call busy for ever.
    std::vector<TTimer*> fired;
    bool ticked = false;
    for (;;) {
        bool delivered = false;
        // Events posted by the handlers below wait for the next pass.
        for (size_t n = queue_.size(); n > 0 && !queue_.empty(); --n) {
            auto event = std::move(queue_.front());
            queue_.pop_front();
            event();
            delivered = true;
        }
        const std::vector<TTimer*> snapshot = timers_;  // handlers may add or remove timers
        for (TTimer* t : snapshot) {
            if (std::find(fired.begin(), fired.end(), t) != fired.end()) continue;
            if (std::find(timers_.begin(), timers_.end(), t) == timers_.end()) continue;
            const uint32_t now = clock_.NowMs();
            if (!t->IsDue(now)) continue;
            fired.push_back(t);
            t->Fire(now);
            delivered = true;
        }
        if (!ticked && AnimationTickDue()) {
            ticked = true;
            animClock_.Tick();
            delivered = true;
        }
        if (!delivered) break;
    }
    // A handler that lets waiting events run wants what it changed on screen
    // (before a blocking sound, for example).
    if (backend_ && backend_->FrameDue()) {
        TickAnimationsBeforeFrame();
        backend_->DrawFrame();
    }
}

uint32_t Application::NextDueMs() {
    const uint32_t now = clock_.NowMs();
    if (!queue_.empty()) return now;
    // Measured from now, so that something already overdue (a handler that held
    // the thread past its timer's next turn) counts as due now rather than
    // wrapping round to the far future and letting the loop sleep until input.
    uint32_t untilNext = kNothingDueMs;
    auto consider = [&](uint32_t at) {
        const int32_t until = static_cast<int32_t>(at - now);
        const uint32_t wait = until > 0 ? static_cast<uint32_t>(until) : 0;
        if (wait < untilNext) untilNext = wait;
    };
    for (TTimer* t : timers_) {
        // A timer that is off, has no handler or is inside its handler waits for nothing.
        if (t->Enabled() && t->OnTimer && t->Interval() > 0 && !t->InHandler()) consider(t->NextDueMs());
    }
    if (animClock_.HasRunning() && !animClock_.InTick())
        consider(animClock_.LastTickMs() + AnimationClock::kIntervalMs);
    return now + untilNext;
}

void Application::RunFor(uint32_t ms) {
    const uint32_t end = clock_.NowMs() + ms;
    for (;;) {
        ProcessMessages();
        const uint32_t now = clock_.NowMs();
        if (IsReached(now, end)) return;
        uint32_t next = NextDueMs();
        if (static_cast<int32_t>(next - end) > 0) next = end;
        const int32_t wait = static_cast<int32_t>(next - now);
        clock_.WaitMs(wait > 0 ? static_cast<uint32_t>(wait) : 1);
    }
}

void Application::PaintFrameNow() {
    if (backend_) backend_->DrawFrame();
}

void Application::TickAnimationsBeforeFrame() {
    if (animClock_.HasRunning() && !animClock_.InTick()) animClock_.Tick();
}

void Application::Run(TForm& mainForm) {
    while (!mainForm.IsClosed()) {
        ProcessMessages();
        if (mainForm.IsClosed()) break;
        const uint32_t now = clock_.NowMs();
        const int32_t untilDue = static_cast<int32_t>(NextDueMs() - now);
        if (backend_) {
            if (backend_->FrameDue()) {
                TickAnimationsBeforeFrame();
                backend_->DrawFrame();
            } else {
                // The back end wakes up early for input or a frame it wants.
                backend_->Idle(untilDue > 0 ? static_cast<uint32_t>(untilDue) : 0);
            }
        } else {
            // Headless: nothing but timers and animations can close the form.
            if (static_cast<uint32_t>(untilDue) >= kNothingDueMs) return;
            clock_.WaitMs(untilDue > 0 ? static_cast<uint32_t>(untilDue) : 1);
        }
    }
}

void Application::ShowModal(TForm& dialog) {
    dialog.Reopen();
    Run(dialog);
}
