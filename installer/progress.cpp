#include "installer/handlers.h"
#include "installer/paths.h"
#include "installer/payload.h"
#include "installer/texts.h"
#include "runtime/services.h"
#include "screens/catalogue.h"

static const int32_t ProgressStep = 5;

// Creates the install folder a level at a time, as far as it is missing.
// When the last level fails only because one before it could not be made,
// the earlier failure is the one worth telling.
static int32_t MakeInstallDir(const char* installDir) {
    int32_t first = FileOk, last = FileOk;
    uint32_t position = 0;
    while (char* level = NextFolderLevel(installDir, &position)) {
        last = MakeDirectory(level) ? FileOk : LastFileError();
        FreeText(level);
        if (last == FileExists) last = FileOk;
        if (first == FileOk) first = last;
    }
    return last == FileNotFound && first != FileOk ? first : last;
}

// FileOk once the payload stands, checked, as InstalledExePath.
static int32_t Install(const char* installDir) {
    int32_t failure = CheckInstallDir(installDir);
    if (failure == FileOk) failure = MakeInstallDir(installDir);
    if (failure != FileOk) return failure;
    char* exePath = InstalledExePath(installDir);
    bool written = WriteBytesToFile(exePath, &Payload);
    FreeText(exePath);
    return written ? FileOk : LastFileError();
}

// A failed install never shows progress or success: the user is told why,
// and the progress window goes again, so that the install button that
// loaded it leaves the user choosing a folder. A retry loads it afresh.
void OnProgressCreated() {
    char* installDir = GetTextProperty(LocationWindow::安装位置, PropText);
    int32_t failure = Install(installDir);
    if (failure != FileOk) {
        char* message =
            ConcatText(5, InstallFailedHead, installDir, ReasonHead, FileReasons[failure], InstallFailedTail);
        FreeText(installDir);
        ShowMessageBox(message, StyleError, InstallerTitle);
        FreeText(message);
        UnloadWindow(ProgressWindow::Self);
        return;
    }
    FreeText(installDir);
    SetProperty(ProgressWindow::进度条1, PropMaximum, 100);
    SetProperty(ProgressWindow::进度条1, PropMinimum, 0);
    SetProperty(ProgressWindow::时钟1, PropPeriod, 100);
}

void OnProgressTick() {
    if (GetProperty(ProgressWindow::进度条1, PropPosition) == 100) {
        SetProperty(ProgressWindow::图形按钮2, PropVisible, 1);
        SetProperty(ProgressWindow::透明标签1, PropText, DoneText);
        return;
    }
    double next = (double)GetProperty(ProgressWindow::进度条1, PropPosition) + ProgressStep;
    SetProperty(ProgressWindow::进度条1, PropPosition, (int32_t)next);
}

void OnProgressNextClick() {
    LoadWindow(FinishWindow::Self);
    SetProperty(ProgressWindow::Self, PropVisible, 0);
}
