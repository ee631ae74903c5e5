// The per-kind property rules, shared by the Win32 run time and the host
// double so that both behave alike.
#pragma once
#include <stdint.h>

// Progress bar minimum, maximum and position are stored limited to this.
inline int32_t LimitProgressValue(int32_t value) {
    return value < 0 ? 0 : value > 32767 ? 32767 : value;
}

// The position the bar shows: raised to the minimum, then lowered to the
// maximum. The stored position is what reads give back.
inline int32_t ShownProgressPosition(int32_t minimum, int32_t maximum, int32_t position) {
    if (position < minimum) position = minimum;
    if (position > maximum) position = maximum;
    return position;
}

// A negative timer period stops the timer like 0 does.
inline int32_t LimitTimerPeriod(int32_t value) { return value < 0 ? 0 : value; }

// A check box is checked only by exactly 1.
inline bool CheckedFromValue(int32_t value) { return value == 1; }
