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
