#include "tests/host/runtime_double.h"

#include <stdlib.h>
#include <string.h>

#include <deque>
#include <map>
#include <set>

#include "installer/handlers.h"
#include "runtime/held_events.h"
#include "runtime/properties.h"
#include "screens/catalogue.h"

namespace {

struct ControlState {
    bool visible;
    bool checked;
    std::string text;
    int32_t minimum, maximum, position;
    int32_t period;
};

struct WindowState {
    bool loaded;
    bool visible;
    int32_t width, height;
    std::map<uint32_t, ControlState> controls;
};

struct Model {
    std::map<uint32_t, WindowState> windows;
    std::vector<Handler> endRoutines;
    bool loopRunning = false;
    std::deque<int32_t> boxAnswers;
    std::deque<std::optional<std::string>> browseAnswers;
    std::optional<std::string> desktop = std::string("C:\\users\\user1\\Desktop\\");
    std::function<void()> onProcessEvents;
    std::map<std::string, int32_t> fileFailures;
    std::set<std::string> folders;
    int32_t lastFileError = FileOk;
    bool failCreateShortcut = false;
    std::vector<std::string> log;
    std::string fatal;
    std::set<const char*> texts;
    std::vector<int32_t> destroyed;
    HeldEvents held;
    std::deque<Handler> released;  // held events, back in the queue
    int delivering = 0;
};

Model model;

[[noreturn]] void Fatal(const std::string& message) {
    model.fatal = message;
    model.log.push_back("Fatal " + message);
    throw ProgramEnded{-1};
}

const WindowDef& DefOf(uint32_t window) {
    const WindowDef* def = FindWindowDef(window);
    if (!def) Fatal("unknown window");
    return *def;
}

WindowState& LoadedWindow(uint32_t window) {
    auto found = model.windows.find(window);
    if (found == model.windows.end() || !found->second.loaded) Fatal("window not loaded");
    return found->second;
}

bool IsWindowItself(ComponentId id) { return DefOf(id.window).id.component == id.component; }

ControlState& Control(ComponentId id) {
    WindowState& window = LoadedWindow(id.window);
    auto found = window.controls.find(id.component);
    if (found == window.controls.end()) Fatal("unknown control");
    return found->second;
}

const ControlDef& ControlDefOf(ComponentId id) { return *FindControlDef(&DefOf(id.window), id.component); }

char* CopyText(const std::string& text) {
    if (text.empty()) return nullptr;
    char* copy = AllocText((uint32_t)text.size() + 1);
    memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

void Build(const WindowDef& def) {
    WindowState& window = model.windows[def.id.window];
    window = WindowState{true, false, def.width, def.height, {}};
    for (uint8_t i = 0; i < def.controlCount; i++) {
        const ControlDef& c = def.controls[i];
        window.controls[c.component] = ControlState{c.visible, c.checked, c.text ? c.text : "",
                                                    c.minimum, c.maximum, c.position, c.period};
    }
}

void Destroy(uint32_t window) {
    model.windows[window].loaded = false;
    model.windows[window].visible = false;
    model.destroyed.push_back((int32_t)window);
}

// User input runs its handler unless a created handler is running; the
// outermost delivery then plays the message loop for released events.
void RaiseInput(Handler handler) {
    if (!HoldBack(model.held, nullptr, handler)) handler();
}

template <typename F>
std::optional<int32_t> Deliver(F action) {
    model.delivering++;
    try {
        action();
        while (model.delivering == 1 && !model.released.empty()) {
            Handler next = model.released.front();
            model.released.pop_front();
            RaiseInput(next);
        }
    } catch (const ProgramEnded& ended) {
        model.delivering--;
        return ended.code;
    }
    model.delivering--;
    return std::nullopt;
}

}  // namespace

namespace Double {

void Reset() { model = Model(); }

void LoadQuietly(ComponentId window) { Build(DefOf(window.window)); }

void SetSize(ComponentId window, int32_t width, int32_t height) {
    LoadedWindow(window.window).width = width;
    LoadedWindow(window.window).height = height;
}

void Destroy(ComponentId window) {
    LoadedWindow(window.window);
    ::Destroy(window.window);
}

bool IsVisible(ComponentId id) {
    if (IsWindowItself(id)) return model.windows[id.window].loaded && model.windows[id.window].visible;
    return Control(id).visible;
}

std::optional<int32_t> Click(ComponentId button) {
    return Deliver([&] {
        WindowState& window = LoadedWindow(button.window);
        // A click needs the button and its window on screen.
        if (!window.visible || !Control(button).visible) return;
        model.log.push_back("Click");
        RaiseInput(ControlDefOf(button).handler);
    });
}

std::optional<int32_t> Tick(ComponentId timer) {
    return Deliver([&] {
        if (Control(timer).period > 0) ControlDefOf(timer).handler();
    });
}

std::optional<int32_t> CloseRequest(ComponentId window) {
    return Deliver([&] {
        const WindowDef& def = DefOf(window.window);
        LoadedWindow(window.window);
        if (def.closeRequest) RaiseInput(def.closeRequest);
        else ::Destroy(window.window);
    });
}

std::optional<int32_t> Start() {
    return Deliver([] { ProgramEntry(); });
}

void Toggle(ComponentId checkBox) { Control(checkBox).checked = !Control(checkBox).checked; }

void AnswerMessageBox(int32_t result) { model.boxAnswers.push_back(result); }
void AnswerBrowse(const char* folder) {
    model.browseAnswers.push_back(folder ? std::optional<std::string>(folder) : std::nullopt);
}
void SetDesktopFolder(const char* folder) {
    model.desktop = folder ? std::optional<std::string>(folder) : std::nullopt;
}
void SetOnProcessEvents(std::function<void()> hook) { model.onProcessEvents = std::move(hook); }
void FailFile(const char* path, int32_t reason) { model.fileFailures[path] = reason; }
void AddFolder(const char* path) { model.folders.insert(path); }
void FailCreateShortcut(bool fail) { model.failCreateShortcut = fail; }

const std::vector<std::string>& Log() { return model.log; }
std::string LastFatalError() { return model.fatal; }
int OutstandingTexts() { return (int)model.texts.size(); }
std::vector<int32_t> DestroyedWindows() { return model.destroyed; }

}  // namespace Double

// The services, with the product's rules.

void PrepareProgram() { model.log.push_back("PrepareProgram"); }

void AddEndRoutine(Handler routine) {
    for (Handler known : model.endRoutines)
        if (known == routine) return;
    model.endRoutines.push_back(routine);
}

static bool Load(ComponentId window) {
    auto found = model.windows.find(window.window);
    if (found != model.windows.end() && found->second.loaded) return true;
    const WindowDef& def = DefOf(window.window);
    model.log.push_back("Create " + std::to_string(def.id.window));
    Build(def);
    EnterCreated(model.held);
    if (def.created) def.created();
    LeaveCreated(model.held, [](void*, Handler handler) { model.released.push_back(handler); });
    if (!model.windows[window.window].loaded) return false;
    if (def.visible) model.windows[window.window].visible = true;
    return true;
}

void LoadStartWindow(ComponentId window) { Load(window); }
bool LoadWindow(ComponentId window) { return Load(window); }

void UnloadWindow(ComponentId window) {
    if (!IsCreated(window)) return;
    model.log.push_back("Unload " + std::to_string(window.window));
    Destroy(window.window);
}

void RunMessageLoop() { model.loopRunning = true; }

bool IsCreated(ComponentId window) {
    auto found = model.windows.find(window.window);
    return found != model.windows.end() && found->second.loaded;
}

int32_t GetProperty(ComponentId id, int32_t property) {
    if (IsWindowItself(id)) {
        WindowState& window = LoadedWindow(id.window);
        switch (property) {
            case PropWidth: return window.width;
            case PropHeight: return window.height;
            case PropVisible: return window.visible;
        }
        Fatal("property not supported");
    }
    ControlState& control = Control(id);
    const ControlDef& def = ControlDefOf(id);
    switch (property) {
        case PropWidth: return def.width;
        case PropHeight: return def.height;
        case PropVisible: return control.visible;
    }
    if (def.kind == KindTimer && property == PropPeriod) return control.period;
    if (def.kind == KindCheckBox && property == PropChecked) return control.checked;
    if (def.kind == KindProgressBar) {
        if (property == PropMinimum) return control.minimum;
        if (property == PropMaximum) return control.maximum;
        if (property == PropPosition) return control.position;
    }
    Fatal("property not supported");
}

char* GetTextProperty(ComponentId id, int32_t property) {
    ControlState& control = Control(id);
    ControlKind kind = ControlDefOf(id).kind;
    if ((kind == KindEditBox || kind == KindLabel) && property == PropText) return CopyText(control.text);
    Fatal("property not supported");
}

void SetProperty(ComponentId id, int32_t property, int32_t value) {
    if (IsWindowItself(id)) {
        WindowState& window = LoadedWindow(id.window);
        if (property != PropVisible) Fatal("property not supported");
        window.visible = value != 0;
        model.log.push_back(std::string(value ? "Show " : "Hide ") + std::to_string(id.window));
        return;
    }
    ControlState& control = Control(id);
    ControlKind kind = ControlDefOf(id).kind;
    if (property == PropVisible) control.visible = value != 0;
    else if (kind == KindTimer && property == PropPeriod) control.period = LimitTimerPeriod(value);
    else if (kind == KindCheckBox && property == PropChecked) control.checked = CheckedFromValue(value);
    else if (kind == KindProgressBar && property == PropMinimum) control.minimum = LimitProgressValue(value);
    else if (kind == KindProgressBar && property == PropMaximum) control.maximum = LimitProgressValue(value);
    else if (kind == KindProgressBar && property == PropPosition) control.position = LimitProgressValue(value);
    else Fatal("property not supported");
}

void SetProperty(ComponentId id, int32_t property, const char* text) {
    ControlState& control = Control(id);
    ControlKind kind = ControlDefOf(id).kind;
    if ((kind != KindEditBox && kind != KindLabel) || property != PropText) Fatal("property not supported");
    control.text = text;
}

intptr_t GetWindowHandle(ComponentId window) {
    LoadedWindow(window.window);
    return (intptr_t)window.window;
}

void ProcessEvents() {
    if (model.onProcessEvents) model.onProcessEvents();
}

int32_t ShowMessageBox(const char* text, uint32_t style, const char* title) {
    model.log.push_back("ShowMessageBox " + std::to_string(style) + " " + text + " | " + title);
    if (model.boxAnswers.empty()) return BoxNo;
    int32_t answer = model.boxAnswers.front();
    model.boxAnswers.pop_front();
    return answer;
}

char* BrowseForFolder(const char* prompt) {
    model.log.push_back(std::string("BrowseForFolder ") + prompt);
    if (model.browseAnswers.empty()) return nullptr;
    std::optional<std::string> answer = model.browseAnswers.front();
    model.browseAnswers.pop_front();
    return answer ? CopyText(*answer) : nullptr;
}

char* GetSpecialFolder(int32_t number) {
    if (number != FolderDesktop || !model.desktop) return nullptr;
    return CopyText(*model.desktop);
}

bool CreateShortcut(const char* linkFile, const char* target) {
    model.log.push_back(std::string("CreateShortcut ") + linkFile + " -> " + target);
    return !model.failCreateShortcut;
}

void RunFile(int32_t verb, const char* file) {
    model.log.push_back("RunFile " + std::to_string(verb) + " " + file);
}

// The scripted failure of a path, if any, as LastFileError.
static bool FileFails(const char* path) {
    auto found = model.fileFailures.find(path);
    model.lastFileError = found == model.fileFailures.end() ? FileOk : found->second;
    return model.lastFileError != FileOk;
}

bool MakeDirectory(const char* path) {
    model.log.push_back(std::string("MakeDirectory ") + path);
    if (FileFails(path)) return false;
    if (!model.folders.insert(path).second) model.lastFileError = FileExists;
    return model.lastFileError == FileOk;
}

bool WriteBytesToFile(const char* path, const ByteArray* bytes) {
    model.log.push_back(std::string("WriteBytesToFile ") + path + " " + std::to_string(bytes->length));
    if (FileFails(path)) return false;
    if (!*path) model.lastFileError = FileNoName;
    return model.lastFileError == FileOk;
}

int32_t LastFileError() { return model.lastFileError; }

char* AllocText(uint32_t size) {
    char* text = (char*)malloc(size);
    if (!text) Fatal("out of memory");
    model.texts.insert(text);
    return text;
}

void FreeText(const char* text) {
    auto found = model.texts.find(text);
    if (found == model.texts.end()) return;  // null or a constant
    model.texts.erase(found);
    free((void*)text);
}

void ExitProgram(int32_t code) {
    for (Handler routine : model.endRoutines) routine();
    for (auto& [id, window] : model.windows)
        if (window.loaded) Destroy(id);
    model.log.push_back("ExitProgram " + std::to_string(code));
    throw ProgramEnded{code};
}
