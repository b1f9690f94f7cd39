#include "countdown.h"

std::optional<int> Countdown::startValue(int mode) {
    switch (mode) {
    case 0:
        return 60;
    case 1:
        return 30;
    default:
        return std::nullopt;
    }
}

CountdownTick Countdown::tick() {
    if (m_nRemaining < 0) return {true, 0};
    return {false, m_nRemaining--};
}
