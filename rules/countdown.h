// The countdown's tick sequence, apart from the dialog that shows it.
#pragma once

#include <optional>

// What one tick does: show a number, or end the countdown.
struct CountdownTick {
    bool complete = false;
    int shown = 0;  // the number to show when not complete
};

class Countdown {
public:
    // The seconds that `mode` waits: 60 after a factory default (0), 30 after
    // new IP settings (1); nothing for any other mode, which never ticks.
    static std::optional<int> startValue(int mode);

    void start(int value) { m_nRemaining = value; }

    // Shows the remaining number, then counts down; the tick after the one
    // that showed 0 completes, and so does every later tick.
    CountdownTick tick();

    int remaining() const { return m_nRemaining; }

private:
    int m_nRemaining = 0;  // the number the next tick shows, -1 at the end
};
