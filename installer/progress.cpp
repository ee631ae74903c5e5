#include "installer/handlers.h"
#include "installer/paths.h"
#include "installer/payload.h"
#include "installer/texts.h"
#include "runtime/services.h"
#include "screens/catalogue.h"

static const int32_t ProgressStep = 5;

// A text property for passing on: the empty text in place of null.
static const char* OrEmpty(const char* text) { return text ? text : EmptyText; }

void OnProgressCreated() {
    char* installDir = GetTextProperty(LocationWindow::安装位置, PropText);
    MakeDirectory(OrEmpty(installDir));
    FreeText(installDir);

    installDir = GetTextProperty(LocationWindow::安装位置, PropText);
    char* exePath = InstalledExePath(installDir);
    FreeText(installDir);
    WriteBytesToFile(exePath, &Payload);
    FreeText(exePath);

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
