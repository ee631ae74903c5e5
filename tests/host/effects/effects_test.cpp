#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "effects/effects.h"
#include "effects/region_model.h"
#include "screens/catalogue.h"
#include "tests/host/runtime_double.h"

using std::string;
using std::vector;

namespace {

const ComponentId Win = WelcomeWindow::Self;
intptr_t winHandle;

// A fresh process with the window loaded at the given size and hidden.
void Fresh(int32_t width, int32_t height) {
    Double::Reset();
    RegionModel::Reset();
    EffectMemory = {};
    Double::LoadQuietly(Win);
    Double::SetSize(Win, width, height);
    winHandle = GetWindowHandle(Win);
}

// Every region was deleted or handed over, nothing misused, and every frame
// went to the effect's window with a redraw.
void CheckOwnership() {
    CHECK(RegionModel::Faults() == vector<string>{});
    CHECK(RegionModel::LiveRegions() == 0);
    for (const RegionModel::Frame& frame : RegionModel::Frames()) {
        CHECK(frame.window == winHandle);
        CHECK(frame.redraw);
    }
}

// The frames shown, each clipped to the window, in the model's text form.
vector<string> Shown(int32_t width, int32_t height) {
    vector<string> shown;
    for (const RegionModel::Frame& frame : RegionModel::Frames())
        shown.push_back(RegionModel::Format(RegionModel::Intersect(frame.region, {0, 0, width, height})));
    return shown;
}

enum Direction { Open, Close };

vector<string> Play(Direction direction, int32_t kind, int32_t delay, int32_t steps, int32_t width,
                    int32_t height) {
    Fresh(width, height);
    if (direction == Open) OpenEffect(Win, kind, delay, steps);
    else CloseEffect(Win, kind, delay, steps);
    CHECK(Double::IsVisible(Win));
    CheckOwnership();
    return Shown(width, height);
}

string Rows(int32_t bottom) { return "0,0,588," + std::to_string(bottom); }

}  // namespace

TEST_CASE("the installer's open and close on 588 x 438 step by 43.8 rows") {
    const vector<string> open = Play(Open, 2, 5, 10, 588, 438);
    CHECK(open == vector<string>{Rows(43), Rows(87), Rows(131), Rows(175), Rows(219), Rows(262), Rows(306),
                                 Rows(350), Rows(394), Rows(438)});
    CHECK(RegionModel::Pauses() == vector<uint32_t>(10, 5));

    const vector<string> close = Play(Close, 3, 5, 10, 588, 438);
    CHECK(close == vector<string>{Rows(394), Rows(350), Rows(306), Rows(262), Rows(219), Rows(175), Rows(131),
                                  Rows(87), Rows(43), "-"});
    CHECK(RegionModel::Pauses() == vector<uint32_t>(10, 5));
}

TEST_CASE("single frames of the worked examples") {
    struct Case {
        Direction direction;
        int32_t kind, steps, width, height;
        size_t frame;  // index into the frames shown
        const char* shown;
    };
    const Case cases[] = {
        {Open, 8, 10, 588, 438, 0, "264,0,323,438"},  // e = 264.5
        {Open, 11, 10, 300, 500, 0, "125,225,175,275"},  // q from the height
        {Open, 11, 10, 588, 438, 9, "0,0,588,438"},      // the square overhangs the window
        {Open, 5, 4, 100, 80, 0, "0,60,25,80"},          // top given as the larger coordinate
        {Open, 6, 4, 100, 80, 0, "75,0,100,20"},
        {Close, 5, 4, 100, 80, 0, "0,20,75,80"},
        {Close, 6, 4, 100, 80, 0, "25,0,100,60"},
        {Close, 9, 4, 100, 80, 0, "0,10,100,70"},  // g = 30
        {Close, 10, 4, 100, 80, 0, "12,10,87,70"},  // a = 75, b = 60: 12.5 and 87.5 truncated
        {Close, 0, 4, 100, 80, 0, "25,0,100,80"},   // the window outside the open shape
        {Close, 1, 4, 100, 80, 0, "0,0,75,80"},
        {Close, 2, 4, 100, 80, 0, "0,20,100,80"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.direction);
        CAPTURE(c.kind);
        CAPTURE(c.frame);
        const vector<string> shown = Play(c.direction, c.kind, 0, c.steps, c.width, c.height);
        REQUIRE(shown.size() > c.frame);
        CHECK(shown[c.frame] == c.shown);
    }
}

TEST_CASE("kind 11 close on 588 x 438: the band turns and grows again, the last frame is empty") {
    CHECK(Play(Close, 11, 0, 10, 588, 438) ==
          vector<string>{"29,29,558,408", "59,59,529,379", "88,88,499,349", "118,118,470,320", "147,147,441,291",
                         "176,176,411,261", "206,206,382,232", "235,203,352,235", "265,173,323,264", "-"});
}

TEST_CASE("a 7 x 7 window with 55 steps, where 55 * (7 / 55) truncates to 6") {
    struct Case {
        int32_t kind;
        const char* lastOpen;
        const char* lastClose;
    };
    const Case cases[] = {
        {0, "0,0,6,7", "6,0,7,7"},  {1, "0,0,7,7", "-"},        {2, "0,0,7,6", "0,6,7,7"},
        {3, "0,0,7,7", "-"},        {4, "0,0,6,6", "-"},        {5, "0,0,6,7", "-"},
        {6, "0,0,7,6", "-"},        {7, "0,0,7,7", "6,6,7,7"},  {8, "0,0,7,7", "3,0,4,7"},
        {9, "0,0,7,6", "-"},        {10, "0,0,6,6", "-"},       {11, "0,0,6,6", "-"},
        {12, "0,0,7,7", "-"},       {13, "0,0,7,7", "-"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.kind);
        const size_t frames = c.kind <= 11 ? 55 : 28;  // blinds: p = 27, frames 0 to 27
        const vector<string> open = Play(Open, c.kind, 0, 55, 7, 7);
        REQUIRE(open.size() == frames);
        CHECK(open.back() == c.lastOpen);
        const vector<string> close = Play(Close, c.kind, 0, 55, 7, 7);
        REQUIRE(close.size() == frames);
        CHECK(close.back() == c.lastClose);
    }
}

TEST_CASE("blinds: frame 0, stripes k thick at pitch p, nothing beyond (n + 1) p") {
    const vector<string> rows = Play(Open, 12, 0, 10, 588, 438);
    REQUIRE(rows.size() == 6);
    CHECK(rows[0] == "-");
    CHECK(rows[1] ==
          "0,0,588,1 0,5,588,6 0,10,588,11 0,15,588,16 0,20,588,21 0,25,588,26 0,30,588,31 0,35,588,36 "
          "0,40,588,41 0,45,588,46 0,50,588,51");
    CHECK(rows[5] == "0,0,588,55");
    CHECK(Play(Close, 12, 0, 10, 588, 438).back() == "0,55,588,438");

    const vector<string> columns = Play(Open, 13, 0, 33, 588, 438);
    REQUIRE(columns.size() == 17);
    CHECK(columns.back() == "0,0,544,438");
    const vector<string> closing = Play(Close, 13, 0, 33, 588, 438);
    CHECK(closing.front() == "0,0,588,438");
    CHECK(closing.back() == "544,0,588,438");
}

TEST_CASE("regions created and deleted per frame") {
    struct Case {
        Direction direction;
        int32_t kind, steps;
        int created, deleted;
    };
    const Case cases[] = {
        {Open, 0, 5, 1, 0},   {Open, 11, 5, 1, 0},  {Open, 12, 10, 12, 11}, {Open, 13, 33, 35, 34},
        {Close, 3, 5, 2, 1},  {Close, 4, 5, 1, 0},  {Close, 11, 5, 1, 0},   // whole window for 0 to 3 only
        {Close, 12, 10, 13, 12}, {Close, 13, 33, 36, 35},  // and for the blinds
    };
    for (const Case& c : cases) {
        CAPTURE(c.direction);
        CAPTURE(c.kind);
        Play(c.direction, c.kind, 0, c.steps, 588, 438);
        REQUIRE(!RegionModel::Frames().empty());
        for (const RegionModel::Frame& frame : RegionModel::Frames()) {
            CHECK(frame.created == c.created);
            CHECK(frame.deleted == c.deleted);
        }
    }
}

TEST_CASE("step counts of zero and below") {
    struct Case {
        int32_t kind, steps;
        vector<string> open, close;
    };
    const Case cases[] = {
        {0, 0, {}, {}},   {2, -1, {}, {}},  {11, 0, {}, {}}, {7, INT32_MIN, {}, {}},
        {12, 0, {"-"}, {"0,0,40,30"}},   // one stripe of zero thickness
        {13, -1, {"-"}, {"0,0,40,30"}},  // no stripe
        {12, -2, {}, {}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.kind);
        CAPTURE(c.steps);
        CHECK(Play(Open, c.kind, 0, c.steps, 40, 30) == c.open);
        CHECK(EffectMemory.steps == c.steps);
        CHECK(Play(Close, c.kind, 0, c.steps, 40, 30) == c.close);
    }
}

TEST_CASE("kinds outside 0 to 13 make the window visible and show no frame") {
    for (int32_t kind : {14, -1, INT32_MAX, INT32_MIN}) {
        CAPTURE(kind);
        Fresh(40, 30);
        OpenEffect(Win, kind, 3, 10);
        CHECK(Double::IsVisible(Win));
        CHECK(EffectMemory.window == Win);
        CHECK(EffectMemory.kind == kind);
        CHECK(EffectMemory.delay == 3);
        CHECK(EffectMemory.steps == 10);

        SetProperty(Win, PropVisible, 0);
        CloseEffect(Win, kind, 4, 6);
        CHECK(Double::IsVisible(Win));
        CHECK(EffectMemory.delay == 3);  // the close effect only reads it
        CHECK(EffectMemory.steps == 10);
        CHECK(RegionModel::Frames().empty());
        CHECK(RegionModel::LiveRegions() == 0);
    }
}

TEST_CASE("open effect defaults, each argument independently") {
    struct Case {
        EffectArg kind, delay, steps;
        EffectMemoryRecord remembered;
    };
    const Case cases[] = {
        {Omitted, Omitted, Omitted, {Win, 11, 1, 33}},
        {4, Omitted, Omitted, {Win, 4, 1, 33}},
        {Omitted, 7, Omitted, {Win, 11, 7, 33}},
        {Omitted, Omitted, 2, {Win, 11, 1, 2}},
        {0, 0, 0, {Win, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Fresh(60, 40);
        OpenEffect(Win, c.kind, c.delay, c.steps);
        const EffectMemoryRecord& m = EffectMemory;
        CHECK(m.window == c.remembered.window);
        CHECK(m.kind == c.remembered.kind);
        CHECK(m.delay == c.remembered.delay);
        CHECK(m.steps == c.remembered.steps);
        CHECK(RegionModel::Frames().size() == (size_t)m.steps);
        CHECK(RegionModel::Pauses() == vector<uint32_t>(m.steps, m.delay));
        CheckOwnership();
    }
}

TEST_CASE("a window that is not loaded: neither effect does anything") {
    Fresh(60, 40);
    OpenEffect(LocationWindow::Self, 2, 5, 10);
    CloseEffect(LocationWindow::Self, 2, 5, 10);
    CloseEffect();  // the zero identity from the untouched memory names no window
    CHECK(EffectMemory.window == ComponentId{0, 0});
    CHECK(EffectMemory.steps == 0);
    CHECK(RegionModel::Frames().empty());
    CHECK(RegionModel::LiveRegions() == 0);
    CHECK(!Double::IsVisible(Win));
    CHECK(!IsCreated(LocationWindow::Self));
}

TEST_CASE("close effect takes omitted arguments from the last open effect") {
    SUBCASE("before any open effect: kind 0, no delay, no steps") {
        Fresh(60, 40);
        CloseEffect(Win);
        CHECK(Double::IsVisible(Win));
        CHECK(RegionModel::Frames().empty());
    }
    SUBCASE("after one: the same window, kind, delay and steps") {
        Fresh(588, 438);
        OpenEffect(Win, 2, 5, 10);
        RegionModel::Reset();
        CloseEffect();
        const vector<string> shown = Shown(588, 438);
        REQUIRE(shown.size() == 10);
        CHECK(shown[0] == "0,43,588,438");  // loses rows 0 to 42 first
        CHECK(shown.back() == "-");
        CHECK(RegionModel::Pauses() == vector<uint32_t>(10, 5));
        CheckOwnership();
    }
    SUBCASE("given arguments win, each one on its own") {
        Fresh(588, 438);
        OpenEffect(Win, 2, 5, 10);
        RegionModel::Reset();
        CloseEffect(EffectWindowArg(), 3, Omitted, 4);
        CHECK(Shown(588, 438) == vector<string>{"0,0,588,328", "0,0,588,219", "0,0,588,109", "-"});
        CHECK(RegionModel::Pauses() == vector<uint32_t>(4, 5));
        CHECK(EffectMemory.kind == 2);
        CHECK(EffectMemory.steps == 10);
    }
}

TEST_CASE("a negative delay pauses not at all") {
    struct Case {
        int32_t delay;
        vector<uint32_t> pauses;
    };
    const Case cases[] = {{-1, {}}, {INT32_MIN, {}}, {0, {0, 0, 0}}, {9, {9, 9, 9}}};
    for (const Case& c : cases) {
        CAPTURE(c.delay);
        Play(Open, 2, c.delay, 3, 60, 40);
        CHECK(RegionModel::Pauses() == c.pauses);
        Play(Close, 12, c.delay, 4, 60, 40);  // p = 2: three frames
        CHECK(RegionModel::Pauses() == c.pauses);
    }
}

TEST_CASE("step sizes stay as computed before the first frame; W and H are read per frame") {
    Fresh(100, 50);
    int frames = 0;
    Double::SetOnProcessEvents([&] {
        if (++frames == 1) Double::SetSize(Win, 200, 60);
    });
    CloseEffect(Win, 1, 0, 4);  // qW = 25 from the first width
    CHECK(Shown(200, 60) == vector<string>{"0,0,75,50", "0,0,150,60", "0,0,125,60", "0,0,100,60"});
    CheckOwnership();
}

TEST_CASE("a window that is gone before the last frame ends the effect quietly") {
    struct Case {
        Direction direction;
        int32_t kind, steps;
        int goneAfter;  // frames shown before the window went
    };
    const Case cases[] = {
        {Open, 2, 10, 3}, {Close, 3, 10, 1}, {Open, 12, 10, 2}, {Close, 13, 10, 4},
        {Open, 7, 10, 10},  // gone during the last pause: a normal end
    };
    for (const Case& c : cases) {
        CAPTURE(c.direction);
        CAPTURE(c.kind);
        CAPTURE(c.goneAfter);
        Fresh(588, 438);
        int frames = 0;
        Double::SetOnProcessEvents([&] {
            if (++frames == c.goneAfter) Double::Destroy(Win);
        });
        if (c.direction == Open) OpenEffect(Win, c.kind, 5, c.steps);
        else CloseEffect(Win, c.kind, 5, c.steps);
        CHECK(Double::LastFatalError() == "");
        CHECK(RegionModel::Frames().size() == (size_t)c.goneAfter);
        CHECK(RegionModel::Pauses().size() == (size_t)c.goneAfter);
        CHECK(!IsCreated(Win));
        CheckOwnership();
    }
}

TEST_CASE("an open effect started between frames overwrites the memory, not the running effect") {
    Fresh(100, 80);
    Double::LoadQuietly(LocationWindow::Self);
    Double::SetSize(LocationWindow::Self, 50, 50);
    bool started = false;
    Double::SetOnProcessEvents([&] {
        if (started) return;
        started = true;
        OpenEffect(LocationWindow::Self, 4, 1, 2);
    });
    OpenEffect(Win, 0, 3, 4);
    vector<string> welcomeFrames;
    for (const RegionModel::Frame& frame : RegionModel::Frames())
        if (frame.window == winHandle) welcomeFrames.push_back(RegionModel::Format(frame.region));
    CHECK(welcomeFrames == vector<string>{"0,0,25,80", "0,0,50,80", "0,0,75,80", "0,0,100,80"});
    CHECK(RegionModel::Frames().size() == 6);
    CHECK(EffectMemory.window == LocationWindow::Self);
    CHECK(EffectMemory.kind == 4);
    CHECK(RegionModel::LiveRegions() == 0);
}
