#include "installer/handlers.h"
#include "installer/paths.h"
#include "installer/texts.h"
#include "runtime/services.h"
#include "screens/catalogue.h"

static char* ReadInstalledExePath() {
    char* installDir = GetTextProperty(LocationWindow::安装位置, PropText);
    char* exePath = InstalledExePath(installDir);
    FreeText(installDir);
    return exePath;
}

static void CreateDesktopShortcut() {
    char* desktop = GetSpecialFolder(FolderDesktop);
    char* shortcutPath = ConcatText(2, desktop, ProductName);
    FreeText(desktop);
    char* exePath = ReadInstalledExePath();
    CreateShortcut(shortcutPath, exePath);
    FreeText(shortcutPath);
    FreeText(exePath);
}

void OnFinishClick() {
    if (GetProperty(FinishWindow::选择框1, PropChecked) == 1) CreateDesktopShortcut();
    ExitProgram(0);
}

void OnTryNowClick() {
    if (GetProperty(FinishWindow::选择框1, PropChecked) == 1) CreateDesktopShortcut();
    char* exePath = ReadInstalledExePath();
    RunFile(VerbOpen, exePath);
    FreeText(exePath);
    ExitProgram(0);
}
