#pragma once
// The engine's timer on a QTimer.

#include <QTimer>

#include "platform/Timer.h"

namespace ostrel {

class QtTimer final : public Timer {
public:
    QTimer& Qt() { return timer_; }
    void Start(int intervalMs) override { timer_.start(intervalMs); }
    void Stop() override { timer_.stop(); }
    bool Active() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

}  // namespace ostrel
