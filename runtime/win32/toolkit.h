// Internals shared by the Win32 run time's files: the live windows built
// from the catalogue, the event dispatch and the run time's own errors.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "runtime/win32/picture.h"
#include "screens/catalogue.h"


struct LiveControl {
    const ControlDef* def;
    HWND hwnd;  // null for the controls the window paints itself
    bool visible;
    PictureState state;
    char* caption;  // a label's caption, a heap copy
    int32_t minimum, maximum, position;
    int32_t period;
    Picture pictures[StateCount];  // decoded once, when the control is made
};

struct LiveWindow {
    const WindowDef* def;
    HWND hwnd;  // null while the window is not loaded
    LiveControl controls[MaxControls];
};

extern HINSTANCE Instance;
// Before anything else: a safe DLL search, the window classes.
void StartRunTime(HINSTANCE instance);
extern bool LoopRunning;

LiveWindow* FindLive(uint32_t window);
LiveWindow* LiveFromHwnd(HWND hwnd);
LiveWindow* LoadedLive(uint32_t window);  // fatal when not loaded
bool AnyWindowLoaded();
void DestroyAllWindows();

// Runs a handler for an event; a click or close request (user input) is
// held back while a created handler runs.
void RaiseEvent(HWND window, Handler handler, bool userInput);
bool CreateLiveWindow(const WindowDef* def);
void RegisterClasses();
// The icons and the common controls library, once no window is left.
void ReleaseToolkit();
bool PreTranslate(MSG* msg);

inline RECT ControlRect(const ControlDef* def) {
    return RECT{def->left, def->top, def->left + def->width, def->top + def->height};
}
// Repaints the part of the window under a control it paints itself.
void RepaintArea(LiveWindow* live, const ControlDef* def);
// A heap copy of a text the run time keeps (a label's caption).
char* KeepText(const char* text);

// The run time's own error reports; each ends the program with -1.
extern const char OutOfMemory[], NotLoaded[], Unsupported[], StartWindowFailed[];
[[noreturn]] void FatalError(const char* what);
[[noreturn]] void EndProgram(int32_t code, bool callEndRoutines);
