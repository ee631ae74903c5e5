// The installer's constant texts, code page 936 bytes.
#pragma once

extern const char ProductName[];
extern const char DefaultInstallDir[];
extern const char ExeSuffix[];
extern const char BrowsePrompt[];
extern const char ExitPrompt[];
extern const char InstallerTitle[];
extern const char DoneText[];
extern const char EmptyText[];
