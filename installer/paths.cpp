#include "installer/paths.h"

#include <stdarg.h>
#include <string.h>

#include "installer/texts.h"
#include "runtime/cp936.h"
#include "runtime/services.h"

uint32_t TextLength(const char* text) { return text ? (uint32_t)strlen(text) : 0; }

char* ConcatText(int count, ...) {
    va_list parts;
    uint32_t total = 0;
    va_start(parts, count);
    for (int i = 0; i < count; i++) total += TextLength(va_arg(parts, const char*));
    va_end(parts);

    char* joined = AllocText(total + 1);
    char* end = joined;
    va_start(parts, count);
    for (int i = 0; i < count; i++) {
        const char* part = va_arg(parts, const char*);
        uint32_t length = TextLength(part);
        if (length) memcpy(end, part, length);
        end += length;
    }
    va_end(parts);
    *end = 0;
    return joined;
}

char* BrowsedInstallDir(const char* folder) {
    const char* separator = EndsWithBackslash(folder) ? EmptyText : "\\";
    return ConcatText(3, folder, separator, ProductName);
}

char* InstalledExePath(const char* installDir) { return ConcatText(2, installDir, ExeSuffix); }

static bool IsSeparator(char c) { return c == '\\' || c == '/'; }
static bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

int32_t CheckInstallDir(const char* installDir) {
    const char* dir = installDir ? installDir : EmptyText;
    bool blank = true;
    for (const char* p = dir; *p; p += CharLength(p)) {
        unsigned char c = (unsigned char)*p;
        if (c != ' ') blank = false;
        // Trail bytes are not looked at: 0x7C ('|') is one of them.
        if (CharLength(p) == 2) continue;
        if (c < 0x20 || strchr("<>\"|?*", c)) return FileBadName;
        if (c == ':' && !(p == dir + 1 && IsDriveLetter(dir[0]))) return FileBadName;
    }
    if (blank) return FileNoName;
    if (TextLength(dir) + TextLength(ExeSuffix) > MaxPathLength) return FileTooLong;
    return FileOk;
}

// The bytes before the first level: "C:", "C:\", "\", or "\\server\share\".
static uint32_t RootLength(const char* path) {
    uint32_t i = 0;
    if (IsSeparator(path[0]) && IsSeparator(path[1])) {
        i = 2;
        for (int parts = 0; path[i] && parts < 2; i += CharLength(path + i))
            if (IsSeparator(path[i])) parts++;
        return i;
    }
    if (IsDriveLetter(path[0]) && path[1] == ':') i = 2;
    while (IsSeparator(path[i])) i++;
    return i;
}

char* NextFolderLevel(const char* path, uint32_t* position) {
    if (!path) return nullptr;
    uint32_t i = *position ? *position : RootLength(path);
    while (IsSeparator(path[i])) i++;
    if (!path[i]) return nullptr;
    while (path[i] && !IsSeparator(path[i])) i += CharLength(path + i);
    *position = i;
    char* level = AllocText(i + 1);
    memcpy(level, path, i);
    level[i] = 0;
    return level;
}
