// A periodic timer; the Application's loop asks it whether it is due and fires it.
#include "platform/timer.h"

#include "platform/application.h"

TTimer::TTimer(TForm* owner, Application& app) : SceneObject(owner), app_(&app) {
    app_->AddTimer(this);
    Restart();
}

TTimer::~TTimer() {
    if (app_) app_->RemoveTimer(this);
}

void TTimer::Restart() {
    if (app_) due_ = app_->clock().NowMs() + interval_;
}

void TTimer::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    Restart();
}

void TTimer::SetInterval(uint32_t ms) {
    if (ms == interval_) return;
    interval_ = ms;
    Restart();
}

bool TTimer::IsDue(uint32_t nowMs) const {
    if (!app_ || !enabled_ || !OnTimer || interval_ == 0 || inHandler_) return false;
    return static_cast<int32_t>(nowMs - due_) >= 0;
}

void TTimer::Fire(uint32_t nowMs) {
    // A late tick does not make up for lost ones: the next one is a whole
    // interval from now. Set before the handler, which may restart the timer.
    due_ = nowMs + interval_;
    inHandler_ = true;
    if (OnTimer) OnTimer(this);
    inHandler_ = false;
}
