#pragma once
// The event loop: input events, timers, the animation clock and drawing, all on
// the one UI thread.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "platform/animation.h"
#include "platform/clock.h"
#include "platform/scene.h"

class TTimer;

// Where events come from and frames go to. The SDL back end implements it; the
// headless application (tests) has none.
class EventBackend {
public:
    virtual ~EventBackend() = default;
    // Moves waiting window-system events into the application's queue
    // (Application::Post). A request to close the window arrives that way too,
    // as the main window's close handler.
    virtual void PumpEvents() = 0;
    // Draws every open window once.
    virtual void DrawFrame() = 0;
    // Whether a frame should be drawn now: the picture is out of date (see
    // TForm::NeedsFrame) and the display is ready for the next one.
    virtual bool FrameDue() = 0;
    // Waits for the next input event, at most ms milliseconds (the next timer
    // or animation step), or less when a wanted frame falls due earlier.
    virtual void Idle(uint32_t ms) = 0;
};

class Application {
public:
    explicit Application(Clock& clock);
    ~Application();

    Clock& clock() { return clock_; }
    AnimationClock& animationClock() { return animClock_; }
    void SetBackend(EventBackend* backend) { backend_ = backend; }

    // Queues an event (input from the back end, or tests) for delivery by the loop.
    void Post(std::function<void()> event);

    // Delivers every waiting event: queued input, due timers and due animation
    // ticks with their finish events. Returns when none is left.
    void ProcessMessages();

    // Paints one frame of the scene as it stands, now, whatever the display's
    // pace. Called before the thread is held (a blocking sound), so that what
    // led to it is on screen meanwhile. Animations are not stepped: a caller in
    // the middle of a handler gets no finish events.
    void PaintFrameNow();

    // Runs the loop until the form is closed (the main loop, or a modal dialog:
    // timers, animations and drawing keep running inside it).
    void Run(TForm& mainForm);
    void ShowModal(TForm& dialog);

    // Headless: advances the virtual clock to now + ms in steps, delivering every
    // timer and animation tick on time. Only for a VirtualClock.
    void RunFor(uint32_t ms);

    // Timer registry (used by TTimer).
    void AddTimer(TTimer* t);
    void RemoveTimer(TTimer* t);

    // The animation clock also ticks right before each drawn frame.
    void TickAnimationsBeforeFrame();

private:
    bool AnimationTickDue();
    // The clock reading at which the next timer or animation tick falls due.
    uint32_t NextDueMs();

    Clock& clock_;
    AnimationClock animClock_;
    EventBackend* backend_ = nullptr;
    std::deque<std::function<void()>> queue_;
    std::vector<TTimer*> timers_;
};
