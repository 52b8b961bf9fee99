#pragma once
// A repeating timer the engine can start and stop without knowing the event
// loop behind it (the editor scrolls with one while the mouse drags a
// selection beyond the window). The owner connects the expiry to the engine.

namespace ostrel {

class Timer {
public:
    virtual ~Timer() = default;
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
    virtual bool Active() const = 0;
};

}  // namespace ostrel
