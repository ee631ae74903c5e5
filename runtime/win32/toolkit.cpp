// Live windows built from the catalogue: creation, painting, the picture
// buttons' mouse states, drag by surface, close requests and events.
#include "runtime/win32/toolkit.h"

#include <commctrl.h>

#include "runtime/held_events.h"

HINSTANCE Instance;
bool LoopRunning;

static LiveWindow Live[MaxWindows];
static const char OwnClass[] = "VorlandixWindow";
static const char ButtonClass[] = "VorlandixPictureButton";
enum : UINT { WM_HELDEVENT = WM_APP + 1 };
static HeldEvents Held;

LiveWindow* FindLive(uint32_t window) {
    for (int i = 0; i < MaxWindows; i++)
        if (WindowDefs[i].id.window == window) {
            Live[i].def = &WindowDefs[i];
            return &Live[i];
        }
    return nullptr;
}

LiveWindow* LiveFromHwnd(HWND hwnd) {
    for (LiveWindow& live : Live)
        if (live.hwnd && live.hwnd == hwnd) return &live;
    return nullptr;
}

LiveWindow* LoadedLive(uint32_t window) {
    LiveWindow* live = FindLive(window);
    if (!live || !live->hwnd) FatalError(NotLoaded);
    return live;
}

bool AnyWindowLoaded() {
    for (LiveWindow& live : Live)
        if (live.hwnd) return true;
    return false;
}

void DestroyAllWindows() {
    for (LiveWindow& live : Live)
        if (live.hwnd) DestroyWindow(live.hwnd);
}

void RaiseEvent(HWND window, Handler handler, bool userInput) {
    if (!handler || (userInput && HoldBack(Held, window, handler))) return;
    handler();
}

static LiveControl* ControlFromHwnd(HWND hwnd) {
    LiveWindow* live = LiveFromHwnd(GetParent(hwnd));
    if (!live) return nullptr;
    for (uint8_t i = 0; i < live->def->controlCount; i++)
        if (live->controls[i].hwnd == hwnd) return &live->controls[i];
    return nullptr;
}

// Draws a picture at its natural size from (left, top), cut at the clip
// rectangle of the device context.
static void DrawPicture(HDC dc, const Picture& picture, int left, int top) {
    if (!picture.pixels) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, left, top, picture.width, picture.height, 0, 0, 0, picture.height,
                      picture.pixels, &info, DIB_RGB_COLORS);
}

// Picture boxes and transparent labels have no window of their own: the
// window paints them over its background, so a label's text always lies
// on what is beneath it.
static void PaintWindow(LiveWindow* live, HDC dc, const RECT* dirty) {
    SetDCBrushColor(dc, live->def->backColor);
    FillRect(dc, dirty, (HBRUSH)GetStockObject(DC_BRUSH));
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    for (uint8_t i = 0; i < live->def->controlCount; i++) {
        LiveControl* control = &live->controls[i];
        RECT rect = ControlRect(control->def);
        if (!control->visible) continue;
        if (control->def->kind == KindPictureBox) {
            FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
            int saved = SaveDC(dc);
            IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
            DrawPicture(dc, control->pictures[StateNormal], rect.left, rect.top);
            RestoreDC(dc, saved);
        } else if (control->def->kind == KindLabel && control->caption) {
            SetTextColor(dc, control->def->textColor);
            DrawTextA(dc, control->caption, -1, &rect,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
}

void RepaintArea(LiveWindow* live, const ControlDef* def) {
    RECT rect = ControlRect(def);
    InvalidateRect(live->hwnd, &rect, TRUE);
    UpdateWindow(live->hwnd);
}

char* KeepText(const char* text) {
    uint32_t size = lstrlenA(text) + 1;
    char* copy = (char*)HeapAlloc(GetProcessHeap(), 0, size);
    if (!copy) FatalError(OutOfMemory);
    CopyMemory(copy, text, size);
    return copy;
}

static void ReleaseLive(LiveWindow* live) {
    for (LiveControl& control : live->controls) {
        if (control.caption) HeapFree(GetProcessHeap(), 0, control.caption);
        for (Picture& picture : control.pictures) FreePicture(&picture);
        control = LiveControl{};
    }
    live->hwnd = nullptr;
}

static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LiveWindow* live = LiveFromHwnd(hwnd);
    if (!live) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd, &paint);
            PaintWindow(live, dc, &paint.rcPaint);
            EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT: {
            LiveControl* control = ControlFromHwnd((HWND)lParam);
            if (!control) break;
            HDC dc = (HDC)wParam;
            SetTextColor(dc, control->def->textColor);
            SetBkColor(dc, control->def->backColor);
            SetDCBrushColor(dc, control->def->backColor);
            return (LRESULT)GetStockObject(DC_BRUSH);
        }
        case WM_LBUTTONDOWN:
            if (live->def->dragBySurface) {
                // The system's move loop, as a press on a caption starts it.
                POINT at{(short)LOWORD(lParam), (short)HIWORD(lParam)};
                ClientToScreen(hwnd, &at);
                ReleaseCapture();
                SendMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
            }
            return 0;
        case WM_TIMER:
            if (wParam >= 1 && wParam <= live->def->controlCount)
                RaiseEvent(hwnd, live->controls[wParam - 1].def->handler, false);
            return 0;
        case WM_CLOSE:
            if (live->def->closeRequest) RaiseEvent(hwnd, live->def->closeRequest, true);
            else DestroyWindow(hwnd);
            return 0;
        case WM_HELDEVENT:
            RaiseEvent(hwnd, (Handler)lParam, true);
            return 0;
        case WM_DESTROY:
            ReleaseLive(live);
            if (LoopRunning && !AnyWindowLoaded()) PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Picture buttons: drawn here, tracked through the mouse capture, clicked
// on a release inside; no focus, no keyboard.
static void SetButtonState(HWND hwnd, LiveControl* control, PictureState state) {
    if (control->state == state) return;
    control->state = state;
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
}

static bool PointerInside(HWND hwnd, LPARAM lParam) {
    RECT client;
    GetClientRect(hwnd, &client);
    POINT at{(short)LOWORD(lParam), (short)HIWORD(lParam)};
    return PtInRect(&client, at);
}

static LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LiveControl* control = ControlFromHwnd(hwnd);
    if (!control) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd, &paint);
            RECT client;
            GetClientRect(hwnd, &client);
            FillRect(dc, &client, (HBRUSH)GetStockObject(BLACK_BRUSH));
            // A state without a picture of its own shows the normal one.
            const Picture* shown = &control->pictures[control->state];
            if (!shown->pixels) shown = &control->pictures[StateNormal];
            DrawPicture(dc, *shown, 0, 0);
            EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_MOUSEMOVE: {
            bool inside = PointerInside(hwnd, lParam), down = wParam & MK_LBUTTON;
            if (!inside && !down) {
                if (GetCapture() == hwnd) ReleaseCapture();
                SetButtonState(hwnd, control, StateNormal);
                return 0;
            }
            if (GetCapture() != hwnd) SetCapture(hwnd);
            SetButtonState(hwnd, control, !inside ? StateNormal : down ? StatePressed : StateHover);
            return 0;
        }
        case WM_LBUTTONDOWN:
            SetCapture(hwnd);
            SetButtonState(hwnd, control, StatePressed);
            return 0;
        case WM_LBUTTONUP: {
            bool inside = PointerInside(hwnd, lParam);
            ReleaseCapture();
            SetButtonState(hwnd, control, StateNormal);
            if (inside && IsWindowEnabled(hwnd))
                RaiseEvent(GetParent(hwnd), control->def->handler, true);
            return 0;
        }
        case WM_CAPTURECHANGED:
            SetButtonState(hwnd, control, StateNormal);
            return 0;
        case WM_SETCURSOR:
            SetCursor(LoadCursorA(nullptr, control->def->pointer == PointerHand ? IDC_HAND : IDC_ARROW));
            return TRUE;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A press on the progress bar goes to its window, which may start a drag.
static WNDPROC ProgressBarProc;
static LRESULT CALLBACK DragThroughProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCHITTEST) return HTTRANSPARENT;
    return CallWindowProcA(ProgressBarProc, hwnd, message, wParam, lParam);
}

// The application icon: the 64-pixel image WelcomeWindow carries itself,
// and the 32 and 16 pixel defaults of the other windows.
static HICON IconOwn, IconLarge, IconSmall;

static HICON LoadAppIcon(int size) {
    return (HICON)LoadImageA(Instance, "DEFAULT_ICON", IMAGE_ICON, size, size, 0);
}

// The progress bar's class lives in the common controls library, loaded by
// its full path rather than imported, and only once a window needs it:
// WelcomeWindow need not wait for it.
static HMODULE CommonControls;

static void LoadProgressBarClass() {
    if (CommonControls) return;
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, MAX_PATH - 16);
    if (length == 0 || length >= MAX_PATH - 16) return;
    lstrcatA(path, "\\comctl32.dll");
    CommonControls = LoadLibraryA(path);
    typedef BOOL(WINAPI * InitFn)(const INITCOMMONCONTROLSEX*);
    auto init = (InitFn)(void*)GetProcAddress(CommonControls, "InitCommonControlsEx");
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
    if (init) init(&classes);
}

void ReleaseToolkit() {
    HICON icons[] = {IconOwn, IconLarge, IconSmall};
    for (HICON icon : icons)
        if (icon) DestroyIcon(icon);
    if (CommonControls) FreeLibrary(CommonControls);
}

// The edit box draws its own frame: a one-pixel border, and its one line in
// the middle of the box with white bands above and below it that count as
// border, so the system's edit control only ever paints that line.
static WNDPROC EditProc;
static LRESULT CALLBACK CentredEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCALCSIZE) {
        RECT* client = (RECT*)lParam;
        InflateRect(client, -1, -1);
        HDC dc = GetDC(hwnd);
        HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SIZE line;
        GetTextExtentPoint32A(dc, "W", 1, &line);
        SelectObject(dc, old);
        ReleaseDC(hwnd, dc);
        LONG band = (client->bottom - client->top - line.cy) / 2;
        if (band > 0) {
            client->top += band;
            client->bottom = client->top + line.cy;
        }
        return 0;
    }
    if (message == WM_NCPAINT) {
        RECT window, client;
        GetWindowRect(hwnd, &window);
        GetClientRect(hwnd, &client);
        MapWindowPoints(hwnd, HWND_DESKTOP, (POINT*)&client, 2);
        OffsetRect(&client, -window.left, -window.top);
        OffsetRect(&window, -window.left, -window.top);
        HDC dc = GetWindowDC(hwnd);
        ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
        FrameRect(dc, &window, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&window, -1, -1);
        FillRect(dc, &window, (HBRUSH)GetStockObject(WHITE_BRUSH));
        ReleaseDC(hwnd, dc);
        return 0;
    }
    return CallWindowProcA(EditProc, hwnd, message, wParam, lParam);
}

void RegisterClasses() {
    IconOwn = LoadAppIcon(0);
    IconLarge = LoadAppIcon(32);
    IconSmall = LoadAppIcon(16);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = Instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hIcon = IconLarge;
    windowClass.hIconSm = IconSmall;
    windowClass.lpszClassName = OwnClass;
    RegisterClassExA(&windowClass);

    WNDCLASSEXA buttonClass{};
    buttonClass.cbSize = sizeof buttonClass;
    buttonClass.lpfnWndProc = ButtonProc;
    buttonClass.hInstance = Instance;
    buttonClass.lpszClassName = ButtonClass;
    RegisterClassExA(&buttonClass);
}

static HWND CreateChild(const char* className, const char* text, DWORD style, LiveWindow* live,
                        const ControlDef* def) {
    HWND hwnd = CreateWindowExA(0, className, text, WS_CHILD | WS_CLIPSIBLINGS | style, def->left,
                                def->top, def->width, def->height, live->hwnd, nullptr, Instance, nullptr);
    SendMessageA(hwnd, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
    return hwnd;
}

static void CreateControl(LiveWindow* live, uint8_t index) {
    const ControlDef* def = &live->def->controls[index];
    LiveControl* control = &live->controls[index];
    *control = LiveControl{def, nullptr, def->visible, StateNormal, nullptr,
                           def->minimum, def->maximum, def->position, 0};
    // A picture that cannot be decoded leaves its state without one.
    for (int state = 0; state < StateCount; state++) {
        const PictureFile& file = def->pictures[state];
        if (file.begin) DecodePicture(file.begin, file.end - file.begin, &control->pictures[state]);
    }
    DWORD tabStop = def->tabStop ? WS_TABSTOP : 0;
    switch (def->kind) {
        case KindPictureButton:
            control->hwnd = CreateChild(ButtonClass, "", 0, live, def);
            break;
        case KindCheckBox:
            control->hwnd = CreateChild("BUTTON", def->text,
                                        BS_AUTOCHECKBOX | BS_MULTILINE | BS_VCENTER | BS_LEFT |
                                            (def->flat ? BS_FLAT : 0) | tabStop,
                                        live, def);
            SendMessageA(control->hwnd, BM_SETCHECK, def->checked ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case KindEditBox:
            control->hwnd = CreateChild("EDIT", def->text, ES_LEFT | ES_AUTOHSCROLL | tabStop,
                                        live, def);
            EditProc = (WNDPROC)SetWindowLongPtrA(control->hwnd, GWLP_WNDPROC, (LONG_PTR)CentredEditProc);
            SetWindowPos(control->hwnd, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            SendMessageA(control->hwnd, EM_SETSEL, 0, 0);
            break;
        case KindProgressBar:
            LoadProgressBarClass();
            control->hwnd = CreateChild(PROGRESS_CLASSA, "", WS_BORDER, live, def);
            SendMessageA(control->hwnd, PBM_SETRANGE, 0, MAKELPARAM(def->minimum, def->maximum));
            SendMessageA(control->hwnd, PBM_SETPOS, def->position, 0);
            if (live->def->dragBySurface)
                ProgressBarProc = (WNDPROC)SetWindowLongPtrA(control->hwnd, GWLP_WNDPROC, (LONG_PTR)DragThroughProc);
            break;
        case KindLabel:
            control->caption = KeepText(def->text);
            break;
        case KindTimer:
            break;
        case KindPictureBox:
            break;
    }
    if (control->hwnd && def->visible) ShowWindow(control->hwnd, SW_SHOWNA);
}

bool CreateLiveWindow(const WindowDef* def) {
    LiveWindow* live = FindLive(def->id.window);
    int left = (GetSystemMetrics(SM_CXSCREEN) - def->width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - def->height) / 2;
    HWND hwnd = CreateWindowExA(0, def->className ? def->className : OwnClass, def->title,
                                WS_POPUP | WS_CLIPCHILDREN, left, top, def->width, def->height,
                                nullptr, nullptr, Instance, nullptr);
    if (!hwnd) return false;
    // A window of a system class takes its messages here from now on.
    if (def->className) SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)WindowProc);
    live->hwnd = hwnd;
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, (LPARAM)(def->ownIcon ? IconOwn : IconLarge));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, (LPARAM)IconSmall);
    for (uint8_t i = 0; i < def->controlCount; i++) CreateControl(live, i);

    EnterCreated(Held);
    if (def->created) def->created();
    // Held events go back into the queue, behind what is already there.
    LeaveCreated(Held, [](void* target, Handler handler) {
        PostMessageA((HWND)target, WM_HELDEVENT, 0, (LPARAM)handler);
    });
    // The created handler may have unloaded the window again.
    if (live->hwnd != hwnd) return false;
    if (def->visible) ShowWindow(hwnd, SW_SHOW);
    return true;
}

bool PreTranslate(MSG* msg) {
    if (msg->message != WM_KEYDOWN || msg->wParam != VK_ESCAPE) return false;
    HWND root = GetAncestor(msg->hwnd, GA_ROOT);
    LiveWindow* live = LiveFromHwnd(root);
    if (!live || !live->def->escCloses) return false;
    SendMessageA(root, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
}
