// Numbered properties of windows and controls, read from and written to the
// live windows with the per-kind rules.
#include "runtime/properties.h"
#include "runtime/services.h"
#include "runtime/win32/toolkit.h"

#include <commctrl.h>

// The live control a component identity names; null for the window itself.
static LiveControl* Addressed(ComponentId id, LiveWindow** window) {
    *window = LoadedLive(id.window);
    if ((*window)->def->id.component == id.component) return nullptr;
    for (uint8_t i = 0; i < (*window)->def->controlCount; i++)
        if ((*window)->controls[i].def->component == id.component) return &(*window)->controls[i];
    FatalError(Unsupported);
}

static int32_t CommonProperty(HWND hwnd, LiveControl* control, int32_t property) {
    RECT rect;
    if (hwnd) {
        GetWindowRect(hwnd, &rect);
        if (control) MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), (POINT*)&rect, 2);
    } else {
        rect = ControlRect(control->def);
    }
    switch (property) {
        case PropLeft: return rect.left;
        case PropTop: return rect.top;
        case PropWidth: return rect.right - rect.left;
        case PropHeight: return rect.bottom - rect.top;
        case PropVisible: return hwnd ? IsWindowVisible(hwnd) != 0 : control->visible;
    }
    FatalError(Unsupported);
}

int32_t GetProperty(ComponentId id, int32_t property) {
    LiveWindow* window;
    LiveControl* control = Addressed(id, &window);
    if (!control) return CommonProperty(window->hwnd, nullptr, property);
    ControlKind kind = control->def->kind;
    if (kind == KindTimer && property == PropPeriod) return control->period;
    if (kind == KindCheckBox && property == PropChecked)
        return SendMessageA(control->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (kind == KindProgressBar && property == PropMinimum) return control->minimum;
    if (kind == KindProgressBar && property == PropMaximum) return control->maximum;
    if (kind == KindProgressBar && property == PropPosition) return control->position;
    if (property > PropText) FatalError(Unsupported);
    return CommonProperty(control->hwnd, control, property);
}

char* GetTextProperty(ComponentId id, int32_t property) {
    LiveWindow* window;
    LiveControl* control = Addressed(id, &window);
    if (!control || property != PropText) FatalError(Unsupported);
    bool label = control->def->kind == KindLabel;
    if (!label && control->def->kind != KindEditBox) FatalError(Unsupported);
    int length = label ? lstrlenA(control->caption) : GetWindowTextLengthA(control->hwnd);
    if (length <= 0) return nullptr;
    char* text = AllocText(length + 1);
    if (label) CopyMemory(text, control->caption, length + 1);
    else GetWindowTextA(control->hwnd, text, length + 1);
    return text;
}

static void SetVisible(LiveWindow* window, LiveControl* control, bool visible) {
    if (!control) {
        ShowWindow(window->hwnd, visible ? SW_SHOW : SW_HIDE);
        return;
    }
    control->visible = visible;
    if (control->hwnd) {
        ShowWindow(control->hwnd, visible ? SW_SHOWNA : SW_HIDE);
        return;
    }
    RepaintArea(window, control->def);
}

static void SetPeriod(LiveWindow* window, LiveControl* control, int32_t value) {
    int32_t period = LimitTimerPeriod(value);
    if (period == control->period) return;
    UINT_PTR timerId = (control - window->controls) + 1;
    if (control->period > 0) KillTimer(window->hwnd, timerId);
    control->period = period;
    if (period > 0) SetTimer(window->hwnd, timerId, period, nullptr);
}

static void UpdateProgressBar(LiveControl* control) {
    int32_t low = control->minimum < control->maximum ? control->minimum : control->maximum;
    int32_t high = control->minimum < control->maximum ? control->maximum : control->minimum;
    SendMessageA(control->hwnd, PBM_SETRANGE, 0, MAKELPARAM(low, high));
    SendMessageA(control->hwnd, PBM_SETPOS,
                 ShownProgressPosition(control->minimum, control->maximum, control->position), 0);
}

void SetProperty(ComponentId id, int32_t property, int32_t value) {
    LiveWindow* window;
    LiveControl* control = Addressed(id, &window);
    if (property == PropVisible) return SetVisible(window, control, value != 0);
    ControlKind kind = control ? control->def->kind : KindPictureBox;
    if (control && kind == KindTimer && property == PropPeriod) return SetPeriod(window, control, value);
    if (control && kind == KindCheckBox && property == PropChecked) {
        SendMessageA(control->hwnd, BM_SETCHECK, CheckedFromValue(value) ? BST_CHECKED : BST_UNCHECKED, 0);
        return;
    }
    if (control && kind == KindProgressBar &&
        (property == PropMinimum || property == PropMaximum || property == PropPosition)) {
        int32_t* stored = property == PropMinimum   ? &control->minimum
                          : property == PropMaximum ? &control->maximum
                                                    : &control->position;
        *stored = LimitProgressValue(value);
        UpdateProgressBar(control);
        return;
    }
    FatalError(Unsupported);
}

void SetProperty(ComponentId id, int32_t property, const char* text) {
    LiveWindow* window;
    LiveControl* control = Addressed(id, &window);
    if (!control || property != PropText) FatalError(Unsupported);
    if (control->def->kind == KindEditBox) {
        SetWindowTextA(control->hwnd, text);
        return;
    }
    if (control->def->kind != KindLabel) FatalError(Unsupported);
    char* caption = KeepText(text);
    HeapFree(GetProcessHeap(), 0, control->caption);
    control->caption = caption;
    // What lay under the old caption is repainted with the new one on top.
    RepaintArea(window, control->def);
}

intptr_t GetWindowHandle(ComponentId window) { return (intptr_t)LoadedLive(window.window)->hwnd; }

bool IsCreated(ComponentId window) {
    LiveWindow* live = FindLive(window.window);
    return live && live->hwnd && IsWindow(live->hwnd);
}
