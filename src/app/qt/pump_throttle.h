// Spaces out the window's event pump: a run asks for it after every progress text, but
// repainting the boxes costs more than a row's work, and about 20 pumps a second keep the
// window just as responsive.
#pragma once

#include <cstdint>

class PumpThrottle {
public:
    static constexpr int64_t kIntervalMs = 50;
    // True when a pump is due at nowMs (milliseconds of a steady clock); the first always is.
    bool due(int64_t nowMs) {
        if (pumped_ && nowMs - last_ < kIntervalMs) return false;
        pumped_ = true;
        last_ = nowMs;
        return true;
    }

private:
    bool pumped_ = false;
    int64_t last_ = 0;
};
