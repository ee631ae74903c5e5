#include "effects/effects.h"
#include "installer/handlers.h"
#include "installer/texts.h"
#include "runtime/services.h"
#include "screens/catalogue.h"

void OnWelcomeCreated() {
    OpenEffect(WelcomeWindow::Self, 2, 5, 10);
    LoadWindow(LocationWindow::Self);
    SetProperty(LocationWindow::Self, PropVisible, 0);
}

// Both install buttons stop a user who has unchecked the agreement box and
// show the hint instead; the hint stays shown from then on.
static bool AgreementGiven() {
    if (GetProperty(WelcomeWindow::选择框1, PropChecked) == 0) {
        SetProperty(WelcomeWindow::透明标签1, PropVisible, 1);
        return false;
    }
    return true;
}

// An install that failed has unloaded the progress window: the user
// chooses another folder.
void OnQuickInstallClick() {
    if (!AgreementGiven()) return;
    bool installed = LoadWindow(ProgressWindow::Self);
    SetProperty(WelcomeWindow::Self, PropVisible, 0);
    if (!installed) SetProperty(LocationWindow::Self, PropVisible, 1);
}

void OnCustomInstallClick() {
    if (!AgreementGiven()) return;
    LoadWindow(LocationWindow::Self);
    SetProperty(WelcomeWindow::Self, PropVisible, 0);
    SetProperty(LocationWindow::Self, PropVisible, 1);
}

void OnCloseClick() {
    if (ShowMessageBox(ExitPrompt, StyleYesNo, InstallerTitle) != BoxYes) return;
    CloseEffect(WelcomeWindow::Self, 3, 5, 10);
    ExitProgram(0);
}
