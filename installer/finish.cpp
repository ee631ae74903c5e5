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

// A shortcut that could not be made is told, with where the program is;
// the install itself stands. Without a desktop folder no link is made at
// all rather than one in the installer's own folder.
static void CreateDesktopShortcut() {
    char* desktop = GetSpecialFolder(FolderDesktop);
    bool found = desktop != nullptr;
    char* shortcutPath = ConcatText(2, desktop, ProductName);
    FreeText(desktop);
    char* exePath = ReadInstalledExePath();
    if (!found || !CreateShortcut(shortcutPath, exePath)) {
        char* message = ConcatText(2, ShortcutFailedText, exePath);
        ShowMessageBox(message, StyleWarning, InstallerTitle);
        FreeText(message);
    }
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
