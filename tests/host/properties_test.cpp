#include <doctest/doctest.h>

#include "installer/texts.h"
#include "runtime/properties.h"
#include "screens/catalogue.h"
#include "tests/host/runtime_double.h"

TEST_CASE("progress bar values are stored limited, shown within the range") {
    struct {
        int32_t written, stored, shownIn0To100;
    } cases[] = {{0, 0, 0}, {40, 40, 40}, {105, 105, 100}, {40000, 32767, 100}, {-3, 0, 0}};
    Double::Reset();
    Double::LoadQuietly(ProgressWindow::Self);
    for (auto& c : cases) {
        CAPTURE(c.written);
        SetProperty(ProgressWindow::进度条1, PropPosition, c.written);
        CHECK(GetProperty(ProgressWindow::进度条1, PropPosition) == c.stored);
        CHECK(ShownProgressPosition(0, 100, LimitProgressValue(c.written)) == c.shownIn0To100);
    }
    // The shown position is raised to the minimum before it is lowered to the maximum.
    CHECK(ShownProgressPosition(50, 20, 10) == 20);
}

TEST_CASE("timer periods: negative stops, and a check box is checked only by 1") {
    Double::Reset();
    Double::LoadQuietly(ProgressWindow::Self);
    Double::LoadQuietly(FinishWindow::Self);
    struct {
        int32_t written, stored;
    } periods[] = {{100, 100}, {0, 0}, {-5, 0}};
    for (auto& c : periods) {
        SetProperty(ProgressWindow::时钟1, PropPeriod, c.written);
        CHECK(GetProperty(ProgressWindow::时钟1, PropPeriod) == c.stored);
    }
    struct {
        int32_t written, read;
    } checks[] = {{1, 1}, {2, 0}, {1, 1}, {0, 0}, {-1, 0}};
    for (auto& c : checks) {
        SetProperty(FinishWindow::选择框1, PropChecked, c.written);
        CHECK(GetProperty(FinishWindow::选择框1, PropChecked) == c.read);
    }
}

TEST_CASE("controls of a window that is not loaded are a fatal run-time error") {
    Double::Reset();
    try {
        GetProperty(LocationWindow::安装位置, PropText);
        FAIL("no fatal error");
    } catch (const ProgramEnded& ended) {
        CHECK(ended.code == -1);
    }
    CHECK(Double::LastFatalError() != "");
}

TEST_CASE("a control's text is copied in and out; the empty text reads as null") {
    Double::Reset();
    Double::LoadQuietly(LocationWindow::Self);
    char* text = GetTextProperty(LocationWindow::安装位置, PropText);
    CHECK(std::string(text) == DefaultInstallDir);
    FreeText(text);
    SetProperty(LocationWindow::安装位置, PropText, EmptyText);
    CHECK(GetTextProperty(LocationWindow::安装位置, PropText) == nullptr);
    CHECK(Double::OutstandingTexts() == 0);
}
