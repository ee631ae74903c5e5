// Window shape effects: a window's region grows (open) or shrinks (close)
// frame by frame in one of fourteen rectangle-based shapes.
#pragma once
#include <stdint.h>

#include "runtime/services.h"

// An argument that may be left out; Omitted takes the default (open) or
// the value remembered from the last open effect (close).
struct EffectArg {
    int32_t value;
    bool given;
    constexpr EffectArg(int32_t v) : value(v), given(true) {}
    constexpr EffectArg() : value(0), given(false) {}
};
constexpr EffectArg Omitted{};

struct EffectWindowArg {
    ComponentId value;
    bool given;
    constexpr EffectWindowArg(ComponentId v) : value(v), given(true) {}
    constexpr EffectWindowArg() : value{0, 0}, given(false) {}
};

// The parameters of the last open effect that passed its guard.
struct EffectMemoryRecord {
    ComponentId window;
    int32_t kind, delay, steps;
};
extern EffectMemoryRecord EffectMemory;

void OpenEffect(ComponentId window, EffectArg kind = Omitted, EffectArg delay = Omitted,
                EffectArg steps = Omitted);
void CloseEffect(EffectWindowArg window = EffectWindowArg(), EffectArg kind = Omitted,
                 EffectArg delay = Omitted, EffectArg steps = Omitted);
