// A host double of the run time: the same services over an in-memory model
// of the windows in the catalogue, with the same property rules, scripted
// answers for dialogs and the shell, and a log of what reached the system.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runtime/services.h"

// Thrown by ExitProgram and by fatal run-time errors, so that nothing after
// them runs, as in the product.
struct ProgramEnded {
    int32_t code;
};

namespace Double {

// A fresh process: nothing loaded, no scripted answers, empty log.
void Reset();

// Loads a window as LoadWindow does but without running its created
// handler, for tests of code that expects an existing window.
void LoadQuietly(ComponentId window);
void SetSize(ComponentId window, int32_t width, int32_t height);
// Ends a loaded window as the window system would, running no handler:
// for tests of code that outlives its window.
void Destroy(ComponentId window);
bool IsVisible(ComponentId id);

// User input, delivered as the message loop would. Each returns the exit
// code when the program ended inside the handler.
std::optional<int32_t> Click(ComponentId button);
std::optional<int32_t> Tick(ComponentId timer);
std::optional<int32_t> CloseRequest(ComponentId window);
// Runs the program entry (start-up window, then the message loop, which
// returns at once here); the exit code when the program ended during it.
std::optional<int32_t> Start();
// The user clicking a check box.
void Toggle(ComponentId checkBox);

// Scripted answers.
void AnswerMessageBox(int32_t result);  // queued; default: No
void AnswerBrowse(const char* folder);   // queued; null = cancelled
void SetDesktopFolder(const char* folder);  // null = not found
void SetOnProcessEvents(std::function<void()> hook);
// The file system: MakeDirectory and WriteBytesToFile of exactly this path
// fail with the reason (LastFileError); a folder that exists already.
void FailFile(const char* path, int32_t reason);
void AddFolder(const char* path);
// Makes CreateShortcut report failure from now on.
void FailCreateShortcut(bool fail);

// What reached the system, one line per call, e.g. "MakeDirectory C:\x\".
const std::vector<std::string>& Log();
std::string LastFatalError();
int OutstandingTexts();  // texts handed out and not yet freed
std::vector<int32_t> DestroyedWindows();

}  // namespace Double
