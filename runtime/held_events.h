// Clicks and close requests that arrive while a created handler runs (the
// open effect dispatches events between its frames) are held back until
// the outermost created handler has returned: the handler they start may
// depend on what the created handler has yet to load.
#pragma once
#include "runtime/services.h"

struct HeldEvents {
    enum { Max = 16 };
    int createdDepth;
    int count;
    struct {
        void* target;  // where the event goes once released (the run time's window)
        Handler handler;
    } held[Max];
};

// True when the event was held back rather than to be run now.
inline bool HoldBack(HeldEvents& events, void* target, Handler handler) {
    if (events.createdDepth == 0) return false;
    if (events.count < HeldEvents::Max) events.held[events.count++] = {target, handler};
    return true;
}

inline void EnterCreated(HeldEvents& events) { events.createdDepth++; }

// Leaves a created handler; at the outermost, hands every held event, in
// order, to release.
template <typename Release>
void LeaveCreated(HeldEvents& events, Release release) {
    if (--events.createdDepth > 0) return;
    int count = events.count;
    events.count = 0;
    for (int i = 0; i < count; i++) release(events.held[i].target, events.held[i].handler);
}
