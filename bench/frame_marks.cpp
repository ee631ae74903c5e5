// Linked into the installer's bench build only: every effect frame, once it
// has been painted and before its pause, writes a "frame" mark (bench/clock.h).
#include "bench/clock.h"
#include "tests/win/hooked_regions.h"

static void MarkThenPause(uint32_t milliseconds) {
    BenchMark("frame");
    Sleep(milliseconds);
}

// Set before WinMain, so the product's entry stays as it is.
static const bool Hooked = (PauseInstead = MarkThenPause, true);
