// Text joining and the rules by which the installer builds its paths.
#pragma once
#include <stdint.h>

uint32_t TextLength(const char* text);
// Joins count parts (each may be null) into a new text owned by the caller.
char* ConcatText(int count, ...);

// The install folder after browsing: the folder, a backslash unless it
// already ends with one, then the product name.
char* BrowsedInstallDir(const char* folder);
// The install folder (the edit box's text) followed by the file name.
char* InstalledExePath(const char* installDir);
