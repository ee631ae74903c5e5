#include "effects/effects.h"

#include "effects/regions.h"

EffectMemoryRecord EffectMemory;

namespace {

enum Direction { Opening, Closing };

// The frame loop's step sizes, fixed before its first frame.
struct Steps {
    double qW, qH;
    double q;  // kind 11: the step of the larger size, the width on a tie
};

// Discards the fraction toward zero. Called only on values a frame uses, so
// the infinities of a zero step count never reach it.
int32_t Trunc(double x) { return (int32_t)x; }

int32_t ValueOr(EffectArg arg, int32_t fallback) { return arg.given ? arg.value : fallback; }

Steps StepsOf(ComponentId window, int32_t n) {
    const double w0 = GetProperty(window, PropWidth), h0 = GetProperty(window, PropHeight);
    // n = 0 divides by zero: IEEE gives infinity or NaN, no trap, and no frame uses it.
    const double qW = w0 / n, qH = h0 / n;
    return {qW, qH, w0 >= h0 ? qW : qH};
}

RegionRect Centred(int32_t W, int32_t H, int32_t a, int32_t b) {
    return {Trunc((W - (double)a) / 2), Trunc((H - (double)b) / 2), Trunc((W + (double)a) / 2),
            Trunc((H + (double)b) / 2)};
}

// The rectangle of frame i. Kinds 5 and 6 give the larger coordinate as the
// top; the region rules swap it back.
RegionRect OpenShape(int32_t kind, int32_t i, Steps s, int32_t W, int32_t H) {
    const double x = i * s.qW, y = i * s.qH;
    switch (kind) {
        case 0: return {0, 0, Trunc(x), H};
        case 1: return {Trunc(W - x), 0, W, H};
        case 2: return {0, 0, W, Trunc(y)};
        case 3: return {0, Trunc(H - y), W, H};
        case 4: return {0, 0, Trunc(x), Trunc(y)};
        case 5: return {0, H, Trunc(x), Trunc(H - y)};
        case 6: return {Trunc(W - x), Trunc(y), W, 0};
        case 7: return {Trunc(W - x), Trunc(H - y), W, H};
        case 8: {
            const double e = Trunc(W - x) / 2.0;
            return {Trunc(e), 0, Trunc(W - e), H};
        }
        case 9: {
            const double g = Trunc(y) / 2.0;
            return {0, Trunc(H / 2.0 - g), W, Trunc(H / 2.0 + g)};
        }
        case 10: return Centred(W, H, Trunc(x), Trunc(y));
        default: {
            const int32_t a = Trunc(i * s.q);
            return Centred(W, H, a, a);
        }
    }
}

// Kinds 0 to 3 build the open shape, which the frame then inverts; the
// others shrink shapes of their own.
RegionRect CloseShape(int32_t kind, int32_t i, Steps s, int32_t W, int32_t H) {
    const double x = i * s.qW, y = i * s.qH;
    switch (kind) {
        case 4: return {0, 0, Trunc(W - x), Trunc(H - y)};
        case 5: return {0, H, Trunc(W - x), Trunc(y)};
        case 6: return {Trunc(x), Trunc(H - y), W, 0};
        case 7: return {Trunc(x), Trunc(y), W, H};
        case 8: {
            const double e = Trunc(x) / 2.0;
            return {Trunc(e), 0, Trunc(W - e), H};
        }
        case 9: {
            const double g = Trunc(H - y) / 2.0;
            return {0, Trunc(H / 2.0 - g), W, Trunc(H / 2.0 + g)};
        }
        case 10: return Centred(W, H, Trunc(W - x), Trunc(H - y));
        case 11: {
            const double d = i * s.q;
            return Centred(W, H, Trunc(W - d), Trunc(H - d));
        }
        default: return OpenShape(kind, i, s, W, H);
    }
}

// Stripe j of blinds frame k: rows for kind 12, columns for kind 13.
RegionRect Stripe(int32_t kind, int32_t j, int32_t p, int32_t k, int32_t W, int32_t H) {
    const double from = (double)j * p;
    return kind == 12 ? RegionRect{0, Trunc(from), W, Trunc(from + k)}
                      : RegionRect{Trunc(from), 0, Trunc(from + k), H};
}

Region CreateRegion(RegionRect r) { return CreateRectRegion(r.left, r.top, r.right, r.bottom); }

// What a closing frame shows: the window outside the shape.
void InvertInWindow(Region shape, int32_t W, int32_t H) {
    const Region whole = CreateRectRegion(0, 0, W, H);
    CombineRegions(shape, shape, whole, RegionXor);
    DeleteRegion(whole);
}

void ApplyFrame(ComponentId window, Region region, int32_t delay) {
    SetWindowRegion(GetWindowHandle(window), region, true);
    ProcessEvents();
    // The pause takes an unsigned count, in which -1 would mean forever; a
    // negative delay pauses not at all.
    if (delay >= 0) Pause((uint32_t)delay);
}

// An event dispatched between frames may have ended the window; the effect
// then stops, since its services would address a window that is not loaded.
bool WindowGone(ComponentId window) { return !IsCreated(window); }

void RunFrames(ComponentId window, int32_t kind, int32_t delay, int32_t n, Direction direction) {
    const Steps steps = StepsOf(window, n);
    // Wide, so that a count of INT32_MAX still ends.
    for (int64_t i = 1; i <= n; i++) {
        if (WindowGone(window)) return;
        const int32_t W = GetProperty(window, PropWidth), H = GetProperty(window, PropHeight);
        const Region shape = CreateRegion(direction == Opening ? OpenShape(kind, (int32_t)i, steps, W, H)
                                                               : CloseShape(kind, (int32_t)i, steps, W, H));
        if (direction == Closing && kind <= 3) InvertInWindow(shape, W, H);
        ApplyFrame(window, shape, delay);
    }
}

void RunStripes(ComponentId window, int32_t kind, int32_t delay, int32_t n, Direction direction) {
    const int32_t p = Trunc(n / 2.0);
    for (int32_t k = 0; k <= p; k++) {
        if (WindowGone(window)) return;
        const int32_t W = GetProperty(window, PropWidth), H = GetProperty(window, PropHeight);
        const Region stripes = CreateRectRegion(0, 0, 0, 0);
        for (int64_t j = 0; j <= n; j++) {
            const Region stripe = CreateRegion(Stripe(kind, (int32_t)j, p, k, W, H));
            CombineRegions(stripes, stripes, stripe, RegionOr);
            DeleteRegion(stripe);
        }
        if (direction == Closing) InvertInWindow(stripes, W, H);
        ApplyFrame(window, stripes, delay);
    }
}

void Run(ComponentId window, int32_t kind, int32_t delay, int32_t n, Direction direction) {
    if (kind >= 0 && kind <= 11) RunFrames(window, kind, delay, n, direction);
    else if (kind == 12 || kind == 13) RunStripes(window, kind, delay, n, direction);
}

}  // namespace

void OpenEffect(ComponentId window, EffectArg kind, EffectArg delay, EffectArg steps) {
    const EffectMemoryRecord call{window, ValueOr(kind, 11), ValueOr(delay, 1), ValueOr(steps, 33)};
    if (!IsCreated(window)) return;
    SetProperty(window, PropVisible, 1);
    EffectMemory = call;
    Run(call.window, call.kind, call.delay, call.steps, Opening);
}

void CloseEffect(EffectWindowArg window, EffectArg kind, EffectArg delay, EffectArg steps) {
    const ComponentId target = window.given ? window.value : EffectMemory.window;
    if (!IsCreated(target)) return;
    SetProperty(target, PropVisible, 1);
    Run(target, ValueOr(kind, EffectMemory.kind), ValueOr(delay, EffectMemory.delay),
        ValueOr(steps, EffectMemory.steps), Closing);
}
