// The installer's windows as data: one WindowDef per window with its
// ControlDefs. The run time builds live windows from these records.
#pragma once
#include <stdint.h>
#include "runtime/services.h"

enum ControlKind : uint8_t {
    KindPictureButton,
    KindPictureBox,
    KindLabel,  // transparent label, drawn by the window beneath it
    KindCheckBox,
    KindEditBox,
    KindProgressBar,
    KindTimer,
};

enum Pointer : uint8_t { PointerArrow, PointerHand, PointerIBeam };

// A picture as the complete bytes of a JPEG or PNG file, embedded by the
// build (assets/pictures.S).
struct PictureFile {
    const uint8_t* begin;
    const uint8_t* end;
};

enum PictureState : uint8_t { StateNormal, StateHover, StatePressed, StateCount };

struct ControlDef {
    uint32_t component;
    ControlKind kind;
    int16_t left, top, width, height;
    bool visible;
    bool tabStop;
    Pointer pointer;
    bool flat;     // check box drawn flat rather than three-dimensional
    bool checked;  // check box initial state
    const char* text;  // label caption, check box text, edit box content
    uint32_t textColor, backColor;  // 0x00BBGGRR
    PictureFile pictures[StateCount];  // a picture button's states; [0] of a picture box
    int32_t minimum, maximum, position;   // progress bar
    int32_t period;                       // timer
    Handler handler;  // click of a picture button, tick of a timer
};

struct WindowDef {
    ComponentId id;
    const char* title;
    const char* className;  // system class to create the window in; null: own class
    int16_t width, height;
    uint32_t backColor;
    bool escCloses;
    bool dragBySurface;
    bool ownIcon;  // carries the application icon itself
    bool visible;  // shown once its created handler has run
    Handler created;
    // Answers a close request (Esc, the taskbar's close); null destroys the window.
    Handler closeRequest;
    const ControlDef* controls;
    uint8_t controlCount;
};

// Upper bounds for the run time's fixed tables; the catalogue checks them.
constexpr int MaxWindows = 4;
constexpr int MaxControls = 8;

extern const WindowDef WindowDefs[MaxWindows];

const WindowDef* FindWindowDef(uint32_t window);
const ControlDef* FindControlDef(const WindowDef* def, uint32_t component);

// Identities the installer addresses, grouped by window. Controls keep the
// names of their definitions.
namespace WelcomeWindow {
constexpr uint32_t Id = 0x52010001;
constexpr ComponentId Self{Id, 0x06010000};
constexpr ComponentId 关闭{Id, 0x16010021};
constexpr ComponentId 图片框1{Id, 0x16010019};
constexpr ComponentId 自定义安装{Id, 0x16010013};
constexpr ComponentId 透明标签1{Id, 0x1601000F};
constexpr ComponentId 快速安装{Id, 0x1601000B};
constexpr ComponentId 选择框1{Id, 0x16010003};
}  // namespace WelcomeWindow

namespace ProgressWindow {
constexpr uint32_t Id = 0x52010024;
constexpr ComponentId Self{Id, 0x06010023};
constexpr ComponentId 图形按钮2{Id, 0x160100B4};
constexpr ComponentId 时钟1{Id, 0x16010030};
constexpr ComponentId 透明标签1{Id, 0x16010027};
constexpr ComponentId 进度条1{Id, 0x16010026};
constexpr ComponentId 图片框1{Id, 0x16010025};
}  // namespace ProgressWindow

namespace LocationWindow {
constexpr uint32_t Id = 0x52010033;
constexpr ComponentId Self{Id, 0x06010032};
constexpr ComponentId 图形按钮2{Id, 0x1601005D};
constexpr ComponentId 返回{Id, 0x1601003E};
constexpr ComponentId 图形按钮1{Id, 0x1601003D};
constexpr ComponentId 透明标签1{Id, 0x1601003C};
constexpr ComponentId 安装位置{Id, 0x1601003B};
constexpr ComponentId 图片框1{Id, 0x16010034};
}  // namespace LocationWindow

namespace FinishWindow {
constexpr uint32_t Id = 0x52010042;
constexpr ComponentId Self{Id, 0x06010041};
constexpr ComponentId 完成安装{Id, 0x1601004A};
constexpr ComponentId 立即体验{Id, 0x16010049};
constexpr ComponentId 选择框1{Id, 0x16010047};
constexpr ComponentId 图片框1{Id, 0x16010043};
}  // namespace FinishWindow
