#include "installer/handlers.h"
#include "installer/paths.h"
#include "installer/texts.h"
#include "runtime/services.h"
#include "screens/catalogue.h"

void OnBackClick() {
    LoadWindow(WelcomeWindow::Self);
    SetProperty(LocationWindow::Self, PropVisible, 0);
    SetProperty(WelcomeWindow::Self, PropVisible, 1);
}

// A cancelled browse, or a choice with no file-system path, keeps the
// folder the edit box holds.
void OnBrowseClick() {
    char* folder = BrowseForFolder(BrowsePrompt);
    if (!folder) return;
    char* installDir = BrowsedInstallDir(folder);
    FreeText(folder);
    SetProperty(LocationWindow::安装位置, PropText, installDir);
    FreeText(installDir);
}

// After a failed install the user stays here to choose again.
void OnInstallClick() {
    if (!LoadWindow(ProgressWindow::Self)) return;
    SetProperty(LocationWindow::Self, PropVisible, 0);
}
