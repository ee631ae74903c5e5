// The installer's event handlers and its program entry. Handlers take no
// argument, keep no state and read controls when they need them.
#pragma once

int ProgramEntry();

void OnWelcomeCreated();
void OnQuickInstallClick();
void OnCustomInstallClick();
void OnCloseClick();
void OnBackClick();
void OnBrowseClick();
void OnInstallClick();
void OnProgressCreated();
void OnProgressTick();
void OnProgressNextClick();
void OnFinishClick();
void OnTryNowClick();
// A system close (Esc, the taskbar) of a window the user cannot go back from.
void OnEndRequest();
