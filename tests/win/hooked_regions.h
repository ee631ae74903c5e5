// The effects' region seam of the product, with hooks for the Windows
// programs that watch the effects run: one after each frame reaches the
// window, and one that pauses instead of Sleep. A null hook leaves the product's behaviour.
#pragma once
#include <windows.h>

#include <stdint.h>

extern void (*AfterWindowRegion)(HWND window);
extern void (*PauseInstead)(uint32_t milliseconds);
