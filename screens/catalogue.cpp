#include "screens/catalogue.h"

#include "installer/handlers.h"
#include "installer/texts.h"
#include "screens/pictures.h"

static constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }
static constexpr uint32_t White = Rgb(255, 255, 255), Black = 0, Teal = Rgb(0, 128, 128),
                          Red = Rgb(255, 0, 0);

#define PICTURE(name) PictureFile{name, name##_end}

// Window titles and control texts, as code page 936 bytes.
static const char WelcomeTitle[] = "Vorlandix\xb0\xb2\xd7\xb0";  // Vorlandix安装
static const char AgreementHint[] =
    "\xb0\xb2\xd7\xb0\xc7\xb0\xc7\xeb\xcd\xac\xd2\xe2\xb4\xcb\xd0\xad\xd2\xe9";  // 安装前请同意此协议
static const char AgreementText[] =
    "\xd2\xd1\xcd\xac\xd2\xe2Vorlandix\xb5\xc4\xd3\xc3\xbb\xa7\xd0\xed\xbf\xc9\xd0\xad\xd2\xe9\xbc\xb0"
    "\xb5\xda\xc8\xfd\xb7\xbd\xd3\xc3\xbb\xa7\xd0\xad\xd2\xe9";  // 已同意Vorlandix的用户许可协议及第三方用户协议
static const char InstallingText[] = "\xd5\xfd\xd4\xda\xb0\xb2\xd7\xb0\xa3\xba";  // 正在安装：
static const char LocationText[] = "\xb0\xb2\xd7\xb0\xce\xbb\xd6\xc3\xa3\xba";    // 安装位置：
static const char ShortcutText[] =
    "\xcc\xed\xbc\xd3\xb5\xbd\xd7\xc0\xc3\xe6\xbf\xec\xbd\xdd\xb7\xbd\xca\xbd";  // 添加到桌面快捷方式

static const ControlDef WelcomeControls[] = {
    {.component = WelcomeWindow::关闭.component, .kind = KindPictureButton,
     .left = 552, .top = 280, .width = 35, .height = 35, .visible = true,
     .pictures = {PICTURE(close_normal_jpg), PICTURE(close_hover_jpg), PICTURE(close_pressed_jpg)},
     .handler = OnCloseClick},
    {.component = WelcomeWindow::图片框1.component, .kind = KindPictureBox,
     .left = 0, .top = 0, .width = 588, .height = 278, .visible = true,
     .pictures = {PICTURE(banner_welcome_jpg)}},
    {.component = WelcomeWindow::自定义安装.component, .kind = KindPictureButton,
     .left = 480, .top = 405, .width = 98, .height = 17, .visible = true,
     .pictures = {PICTURE(custom_normal_jpg), PICTURE(custom_hover_jpg), PICTURE(custom_pressed_jpg)},
     .handler = OnCustomInstallClick},
    {.component = WelcomeWindow::透明标签1.component, .kind = KindLabel,
     .left = 350, .top = 408, .width = 112, .height = 16, .visible = false,
     .text = AgreementHint, .textColor = Red},
    {.component = WelcomeWindow::快速安装.component, .kind = KindPictureButton,
     .left = 174, .top = 304, .width = 252, .height = 64, .visible = true,
     .pictures = {PICTURE(quick_normal_jpg), PICTURE(quick_hover_jpg), PICTURE(quick_pressed_jpg)},
     .handler = OnQuickInstallClick},
    {.component = WelcomeWindow::选择框1.component, .kind = KindCheckBox,
     .left = 8, .top = 408, .width = 336, .height = 16, .visible = true, .tabStop = true,
     .flat = true, .checked = true, .text = AgreementText, .textColor = Teal, .backColor = White},
};

static const ControlDef ProgressControls[] = {
    {.component = ProgressWindow::图形按钮2.component, .kind = KindPictureButton,
     .left = 478, .top = 392, .width = 82, .height = 32, .visible = false,
     .pointer = PointerHand, .pictures = {PICTURE(next_normal_png), PICTURE(next_hover_png)},
     .handler = OnProgressNextClick},
    {.component = ProgressWindow::时钟1.component, .kind = KindTimer, .period = 0,
     .handler = OnProgressTick},
    {.component = ProgressWindow::透明标签1.component, .kind = KindLabel,
     .left = 32, .top = 320, .width = 56, .height = 16, .visible = true,
     .text = InstallingText, .textColor = Black},
    {.component = ProgressWindow::进度条1.component, .kind = KindProgressBar,
     .left = 32, .top = 352, .width = 528, .height = 16, .visible = true,
     .minimum = 0, .maximum = 100, .position = 0},
    {.component = ProgressWindow::图片框1.component, .kind = KindPictureBox,
     .left = 0, .top = 0, .width = 588, .height = 278, .visible = true,
     .pictures = {PICTURE(banner_product_jpg)}},
};

static const ControlDef LocationControls[] = {
    {.component = LocationWindow::图形按钮2.component, .kind = KindPictureButton,
     .left = 501, .top = 349, .width = 82, .height = 32, .visible = true,
     .pointer = PointerHand, .pictures = {PICTURE(browse_normal_jpg), PICTURE(browse_hover_jpg)},
     .handler = OnBrowseClick},
    {.component = LocationWindow::返回.component, .kind = KindPictureButton,
     .left = 520, .top = 400, .width = 55, .height = 26, .visible = true,
     .pictures = {PICTURE(back_normal_jpg), PICTURE(back_hover_jpg), PICTURE(back_pressed_jpg)},
     .handler = OnBackClick},
    {.component = LocationWindow::图形按钮1.component, .kind = KindPictureButton,
     .left = 424, .top = 400, .width = 81, .height = 26, .visible = true,
     .pictures = {PICTURE(install_normal_jpg), PICTURE(install_hover_jpg), PICTURE(install_pressed_jpg)},
     .handler = OnInstallClick},
    {.component = LocationWindow::透明标签1.component, .kind = KindLabel,
     .left = 32, .top = 320, .width = 56, .height = 16, .visible = true,
     .text = LocationText, .textColor = Black},
    {.component = LocationWindow::安装位置.component, .kind = KindEditBox,
     .left = 25, .top = 352, .width = 472, .height = 24, .visible = true, .tabStop = true,
     .pointer = PointerIBeam, .text = DefaultInstallDir, .textColor = Black, .backColor = White},
    {.component = LocationWindow::图片框1.component, .kind = KindPictureBox,
     .left = 0, .top = 0, .width = 588, .height = 278, .visible = true,
     .pictures = {PICTURE(banner_welcome_jpg)}},
};

static const ControlDef FinishControls[] = {
    {.component = FinishWindow::完成安装.component, .kind = KindPictureButton,
     .left = 334, .top = 368, .width = 160, .height = 54, .visible = true,
     .pictures = {PICTURE(finish_normal_jpg), PICTURE(finish_hover_jpg), PICTURE(finish_pressed_jpg)},
     .handler = OnFinishClick},
    {.component = FinishWindow::立即体验.component, .kind = KindPictureButton,
     .left = 94, .top = 368, .width = 160, .height = 54, .visible = true,
     .pictures = {PICTURE(trynow_normal_jpg), PICTURE(trynow_hover_jpg), PICTURE(trynow_pressed_jpg)},
     .handler = OnTryNowClick},
    {.component = FinishWindow::选择框1.component, .kind = KindCheckBox,
     .left = 24, .top = 288, .width = 152, .height = 24, .visible = true, .tabStop = true,
     .flat = false, .checked = true, .text = ShortcutText, .textColor = Teal, .backColor = White},
    {.component = FinishWindow::图片框1.component, .kind = KindPictureBox,
     .left = 0, .top = 0, .width = 588, .height = 278, .visible = true,
     .pictures = {PICTURE(banner_product_jpg)}},
};

#define CONTROLS(list) .controls = list, .controlCount = (uint8_t)(sizeof(list) / sizeof(list[0]))
static_assert(sizeof(WelcomeControls) / sizeof(ControlDef) <= MaxControls &&
              sizeof(ProgressControls) / sizeof(ControlDef) <= MaxControls &&
              sizeof(LocationControls) / sizeof(ControlDef) <= MaxControls &&
              sizeof(FinishControls) / sizeof(ControlDef) <= MaxControls);

// A system close on WelcomeWindow asks like its close button, on
// LocationWindow goes back like its back button, and on the two windows
// past the install point ends the program: no window is ever left
// loaded but hidden with nothing shown.
const WindowDef WindowDefs[MaxWindows] = {
    {.id = WelcomeWindow::Self, .title = WelcomeTitle, .className = "#32768",
     .width = 588, .height = 438, .backColor = White, .escCloses = true, .dragBySurface = true,
     .ownIcon = true, .visible = true, .created = OnWelcomeCreated, .closeRequest = OnCloseClick,
     CONTROLS(WelcomeControls)},
    {.id = ProgressWindow::Self, .title = EmptyText, .className = "#32768",
     .width = 588, .height = 438, .backColor = White, .escCloses = true, .dragBySurface = true,
     .visible = true, .created = OnProgressCreated, .closeRequest = OnEndRequest,
     CONTROLS(ProgressControls)},
    {.id = LocationWindow::Self, .title = EmptyText, .className = "#32768",
     .width = 588, .height = 438, .backColor = White, .escCloses = true,
     .visible = true, .closeRequest = OnBackClick, CONTROLS(LocationControls)},
    {.id = FinishWindow::Self, .title = EmptyText, .className = nullptr,
     .width = 588, .height = 438, .backColor = White, .escCloses = true,
     .visible = true, .closeRequest = OnEndRequest, CONTROLS(FinishControls)},
};

const WindowDef* FindWindowDef(uint32_t window) {
    for (const WindowDef& def : WindowDefs)
        if (def.id.window == window) return &def;
    return nullptr;
}

const ControlDef* FindControlDef(const WindowDef* def, uint32_t component) {
    for (uint8_t i = 0; i < def->controlCount; i++)
        if (def->controls[i].component == component) return &def->controls[i];
    return nullptr;
}
