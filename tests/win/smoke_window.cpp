// A small window for exercising the end-to-end harness without the
// installer: a borderless popup at a fixed place with a flat colour, an
// edit box and three buttons. Texts are code page 936.
//   OK       exit code 7 if the edit box holds "你好 abc", else 9
//   Notice   shows a message box, then exit code 5
//   Quit     exit code -1 (reaches the harness as 255)
#include <windows.h>
#include <string.h>

namespace {

const char kTitle[] = "\xC3\xB0\xD1\xCC\xB2\xE2\xCA\xD4";          // 冒烟测试
const char kExpected[] = "\xC4\xE3\xBA\xC3" " abc";                   // 你好 abc
const char kBoxTitle[] = "\xC3\xB0\xD1\xCC\xCC\xE1\xCA\xBE";        // 冒烟提示
const char kBoxText[] = "\xB0\xB4\xC8\xB7\xB6\xA8\xB9\xD8\xB1\xD5";  // 按确定关闭
const COLORREF kBackground = RGB(32, 128, 192);

enum { IdEdit = 100, IdOk = 101, IdNotice = 102, IdQuit = 103 };

HBRUSH background_brush;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE: {
        HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        struct {
            const char* cls;
            const char* text;
            DWORD style;
            int x, y, w, h, id;
        } const controls[] = {
            {"EDIT", "", WS_BORDER | ES_AUTOHSCROLL, 20, 20, 240, 24, IdEdit},
            {"BUTTON", "\xC8\xB7\xB6\xA8", BS_PUSHBUTTON, 20, 60, 100, 30, IdOk},       // 确定
            {"BUTTON", "\xCC\xE1\xCA\xBE", BS_PUSHBUTTON, 140, 60, 100, 30, IdNotice},  // 提示
            {"BUTTON", "\xCD\xCB\xB3\xF6", BS_PUSHBUTTON, 260, 60, 100, 30, IdQuit},    // 退出
        };
        for (const auto& c : controls) {
            HWND control = CreateWindowExA(0, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, c.x,
                                           c.y, c.w, c.h, window,
                                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                           nullptr, nullptr);
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        return 0;
    }
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IdOk: {
            char text[64] = {};
            GetDlgItemTextA(window, IdEdit, text, sizeof text);
            PostQuitMessage(strcmp(text, kExpected) == 0 ? 7 : 9);
            return 0;
        }
        case IdNotice:
            MessageBoxA(window, kBoxText, kBoxTitle, MB_OK);
            PostQuitMessage(5);
            return 0;
        case IdQuit:
            PostQuitMessage(-1);
            return 0;
        }
        break;
    case WM_ERASEBKGND: {
        RECT rect;
        GetClientRect(window, &rect);
        FillRect(reinterpret_cast<HDC>(wparam), &rect, background_brush);
        return 1;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    background_brush = CreateSolidBrush(kBackground);
    WNDCLASSA cls = {};
    cls.lpfnWndProc = WindowProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    cls.lpszClassName = "VxSmokeWindow";
    if (!RegisterClassA(&cls)) return 2;
    HWND window = CreateWindowExA(0, cls.lpszClassName, kTitle, WS_POPUP | WS_VISIBLE, 100, 80, 400,
                                  300, nullptr, nullptr, instance, nullptr);
    if (!window) return 3;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
