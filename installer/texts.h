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

// The message of a failed install: InstallFailedHead, the folder,
// ReasonHead, the reason (FileReasons, by LastFileError), InstallFailedTail.
extern const char InstallFailedHead[];
extern const char ReasonHead[];
extern const char InstallFailedTail[];
extern const char* const FileReasons[];
// Followed by the installed file's path.
extern const char ShortcutFailedText[];
