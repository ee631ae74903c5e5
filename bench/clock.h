// Wall-clock marks for the bench builds: one line "<what> <ns since 1970>"
// on standard output, on the clock the launching script reads
// (time.time_ns), so launch-to-frame times need no shared state.
#pragma once
#include <windows.h>

#include <stdio.h>

inline void BenchMark(const char* what) {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const unsigned long long ticks = (unsigned long long)now.dwHighDateTime << 32 | now.dwLowDateTime;
    char line[64];
    const int length = snprintf(line, sizeof line, "%s %llu\n", what, (ticks - 116444736000000000ull) * 100);
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, length, &written, nullptr);
}
