#pragma once
// A periodic timer whose events are delivered by the Application's loop.
#include <cstdint>

#include "platform/scene.h"

class Application;

class TTimer : public SceneObject {
public:
    // Fired by the loop of app, which must outlive it or tell it ApplicationGone.
    TTimer(TForm* owner, Application& app);
    ~TTimer() override;

    // Setting a different value restarts the interval countdown; the same value
    // changes nothing.
    void SetEnabled(bool value);
    bool Enabled() const { return enabled_; }
    void SetInterval(uint32_t ms);
    uint32_t Interval() const { return interval_; }
    TNotifyEvent OnTimer;

    // Used by the Application: runs OnTimer when due. A timer whose handler is
    // still running (it called ProcessMessages) is never started again inside it.
    bool IsDue(uint32_t nowMs) const;
    void Fire(uint32_t nowMs);
    uint32_t NextDueMs() const { return due_; }
    bool InHandler() const { return inHandler_; }
    // The Application is being destroyed: the timer never fires again.
    void ApplicationGone() { app_ = nullptr; }

private:
    void Restart();
    Application* app_ = nullptr;
    bool enabled_ = true;
    uint32_t interval_ = 1000;
    uint32_t due_ = 0;
    bool inHandler_ = false;
};
