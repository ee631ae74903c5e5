// The run time's services: everything the installer asks of the window
// system, the shell and the file system goes through these functions.
// The product links the Win32 implementation (runtime/win32); the host
// tests link a double with the same rules (tests/host).
#pragma once
#include <stdint.h>

// A window or control: the window's identity and, within it, the identity
// of the window itself or of one of its controls.
struct ComponentId {
    uint32_t window;
    uint32_t component;
};

inline bool operator==(ComponentId a, ComponentId b) {
    return a.window == b.window && a.component == b.component;
}

// Property numbers. 0..7 are common to windows and controls; a kind's own
// properties follow from 8, so the same number means different things for
// different kinds.
enum : int32_t {
    PropLeft = 0,
    PropTop = 1,
    PropWidth = 2,
    PropHeight = 3,
    PropVisible = 5,
    PropDisabled = 6,
    PropText = 8,    // edit box content, label caption
    PropPeriod = 8,  // timer, milliseconds; 0 = stopped
    PropMinimum = 11,
    PropMaximum = 12,
    PropPosition = 13,
    PropChecked = 18,
};

// Message box results, numbered by the button that closed the box.
enum : int32_t { BoxOk, BoxCancel, BoxAbort, BoxRetry, BoxIgnore, BoxYes, BoxNo };
enum : uint32_t { StyleYesNo = 4, StyleError = 0x10, StyleWarning = 0x30 };

enum : int32_t { FolderDesktop = 3 };
enum : int32_t { VerbOpen = 4 };

// A byte array in memory: the word 1, the length, then the bytes.
struct ByteArray {
    uint32_t marker;
    uint32_t length;
};
inline const uint8_t* ByteArrayBytes(const ByteArray* array) {
    return reinterpret_cast<const uint8_t*>(array + 1);
}

// The longest path the file services take, in bytes: a 260-byte buffer
// with its terminator.
enum : uint32_t { MaxPathLength = 259 };

// Why the last MakeDirectory or WriteBytesToFile failed, in the terms the
// user is told.
enum : int32_t {
    FileOk,
    FileNoName,  // empty or blank
    FileExists,
    FileAccessDenied,
    FileDiskFull,
    FileInUse,
    FileBadName,
    FileTooLong,
    FileNotFound,
    FileVerifyFailed,
    FileOtherError,
    FileReasonCount
};

typedef void (*Handler)();

// Texts are zero-terminated code page 936 byte strings; null is the empty
// text. Every text a service returns belongs to the caller (FreeText).
void PrepareProgram();
void AddEndRoutine(Handler routine);
void LoadStartWindow(ComponentId window);
void RunMessageLoop();
// False also when the window's created handler unloaded it again.
bool LoadWindow(ComponentId window);
// Destroys a loaded window and its controls; nothing for one not loaded.
void UnloadWindow(ComponentId window);
bool IsCreated(ComponentId window);
int32_t GetProperty(ComponentId id, int32_t property);
char* GetTextProperty(ComponentId id, int32_t property);
void SetProperty(ComponentId id, int32_t property, int32_t value);
void SetProperty(ComponentId id, int32_t property, const char* text);
intptr_t GetWindowHandle(ComponentId window);
void ProcessEvents();
int32_t ShowMessageBox(const char* text, uint32_t style, const char* title);
char* BrowseForFolder(const char* prompt);
char* GetSpecialFolder(int32_t number);
bool CreateShortcut(const char* linkFile, const char* target);
void RunFile(int32_t verb, const char* file);
// One folder level; false when it exists already or cannot be made.
bool MakeDirectory(const char* path);
// Replaces the file as a whole: the bytes go to a temporary file beside it,
// are read back and checked, and only then take the file's place. On any
// failure the old file is left as it was.
bool WriteBytesToFile(const char* path, const ByteArray* bytes);
int32_t LastFileError();
char* AllocText(uint32_t size);
void FreeText(const char* text);
[[noreturn]] void ExitProgram(int32_t code);
