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

// Whether files can be installed into the folder at all, before anything is
// written: FileOk, or FileNoName (empty or blank: it would name the root of
// the current drive), FileBadName (a character Windows forbids in a name) or
// FileTooLong (the installed file's path would not fit in 259 bytes).
int32_t CheckInstallDir(const char* installDir);
// The folder levels of a path, outermost first, as new texts: each call
// gives the next one and moves position past it, null after the last. A
// drive ("C:\") or a network share ("\\server\share") is not a level.
char* NextFolderLevel(const char* path, uint32_t* position);
