// Benchmark of the window shape effects on a real 588 x 438 window: the
// installer's open and close effects from their first frame to their
// return, and the work of one frame of each kind with no pause. Prints a
// table of medians; asserts nothing.
#include <algorithm>
#include <stdio.h>
#include <vector>

#include "effects/effects.h"
#include "runtime/win32/toolkit.h"
#include "tests/win/hooked_regions.h"

namespace {

const int Runs = 15;
// The window the installer opens and closes with these effects, banner and all.
const ComponentId Window = WelcomeWindow::Self;

// One frame's work: its regions and SetWindowRgn, then the events it
// dispatched (the repaint), up to its pause.
struct FrameTime {
    double work, events;  // microseconds
};

LARGE_INTEGER Frequency;
int64_t FrameStart, RegionSet, FirstFrame;
double Paused;  // microseconds slept since the effect began
std::vector<FrameTime> Frames;

int64_t Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Microseconds(int64_t ticks) { return ticks * 1e6 / Frequency.QuadPart; }

void MarkRegionSet(HWND) {
    RegionSet = Now();
    if (!FirstFrame) FirstFrame = RegionSet;
}

void TimedPause(uint32_t milliseconds) {
    const int64_t start = Now();
    Frames.push_back({Microseconds(start - FrameStart), Microseconds(start - RegionSet)});
    Sleep(milliseconds);
    FrameStart = Now();
    Paused += Microseconds(FrameStart - start);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Max(const std::vector<double>& values) { return *std::max_element(values.begin(), values.end()); }

// Milliseconds from the first frame to the return; Paused then holds the
// time slept from the effect's start, which is the same for these effects,
// whose first frame comes before their first pause.
double RunEffect(bool opening, int32_t kind, int32_t delay, int32_t steps) {
    Frames.clear();
    FirstFrame = 0;
    Paused = 0;
    FrameStart = Now();
    if (opening) OpenEffect(Window, kind, delay, steps);
    else CloseEffect(Window, kind, delay, steps);
    return Microseconds(Now() - FirstFrame) / 1000;
}

void PrintInstallerEffect(const char* name, bool opening, int32_t kind) {
    std::vector<double> total, paused;
    for (int run = 0; run < Runs; run++) {
        total.push_back(RunEffect(opening, kind, 5, 10));
        paused.push_back(Paused / 1000);
        RunEffect(!opening, kind, 0, 10);  // back to where the next run starts
    }
    const double median = Median(total);
    printf("%-5s kind %2d, 5 ms, 10 steps %9.2f %9.2f %9.2f %9.2f %9.2f\n", name, kind, median,
           *std::min_element(total.begin(), total.end()), Max(total), Median(paused), median / 50);
}

// Per frame the median over the runs; printed over the frames: the median,
// the costliest, and the median of the events' part.
void PrintFrames(bool opening, int32_t kind, int32_t steps) {
    std::vector<std::vector<double>> work, events;
    for (int run = 0; run < Runs; run++) {
        RunEffect(opening, kind, 0, steps);
        work.resize(Frames.size());
        events.resize(Frames.size());
        for (size_t f = 0; f < Frames.size(); f++) {
            work[f].push_back(Frames[f].work);
            events[f].push_back(Frames[f].events);
        }
    }
    std::vector<double> frameWork, frameEvents;
    for (size_t f = 0; f < work.size(); f++) {
        frameWork.push_back(Median(work[f]));
        frameEvents.push_back(Median(events[f]));
    }
    printf(" %8.0f %8.0f %8.0f", Median(frameWork), Max(frameWork), Median(frameEvents));
}

void PrintRow(int32_t kind, int32_t steps) {
    printf("%4d %5d", kind, steps);
    PrintFrames(true, kind, steps);
    PrintFrames(false, kind, steps);
    printf("\n");
}

}  // namespace

int main() {
    QueryPerformanceFrequency(&Frequency);
    StartRunTime(GetModuleHandleA(nullptr));
    LoadWindow(Window);
    ProcessEvents();
    AfterWindowRegion = MarkRegionSet;
    PauseInstead = TimedPause;

    printf("Installer effects on a 588 x 438 window, ms from the first frame to the return (%d runs)\n", Runs);
    printf("%-28s %9s %9s %9s %9s %9s\n", "effect", "median", "min", "max", "slept", "/ 50 ms");
    PrintInstallerEffect("open", true, 2);
    PrintInstallerEffect("close", false, 3);

    printf("\nOne frame's work with delay 0, us: per frame the median of %d runs; over the frames\n"
           "the median, the costliest, and the median spent in the events (the repaint)\n", Runs);
    printf("%4s %5s %8s %8s %8s %8s %8s %8s\n", "kind", "steps", "open", "worst", "events", "close", "worst",
           "events");
    for (int32_t kind = 0; kind <= 13; kind++) PrintRow(kind, 10);
    for (int32_t kind = 12; kind <= 13; kind++) PrintRow(kind, 33);  // the blinds' default count
    return 0;
}
