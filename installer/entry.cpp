#include "installer/handlers.h"
#include "runtime/services.h"
#include "screens/catalogue.h"

static void OnProgramEnd() {}

int ProgramEntry() {
    PrepareProgram();
    AddEndRoutine(OnProgramEnd);
    LoadStartWindow(WelcomeWindow::Self);
    RunMessageLoop();
    return 0;
}

void OnEndRequest() { ExitProgram(0); }
