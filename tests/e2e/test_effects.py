#!/usr/bin/python3
"""The installer's window shape effects on screen: WelcomeWindow opens top
down in ten frames at start-up, and after the close question's Yes it
closes bottom up in ten frames, the last one empty, before its X window goes
and the program ends with code 0.

Every shape the X server applies arrives as an event (tests/e2e/shapes.py),
so the frames are checked one by one against the host tool's expected
frames for the same cases. At one frame of each effect the screen is
captured with the server held still: outside the shape it shows the root
behind the window, inside it (when closing) the window as it was."""
import os

from PIL import Image

import harness
import installer as vx
import shapes

FRAMES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "host", "effects", "frames")


def expected_extents(case):
    """Each frame's bounding box, from effect-frames' expected output; an
    empty frame has the X server's empty extents."""
    boxes = []
    for line in open(os.path.join(FRAMES, case + ".txt")):
        rects = [tuple(map(int, r.split(","))) for r in line.split()[1:] if r != "-"]
        if not rects:
            boxes.append((0, 0, 0, 0))
            continue
        left, top = min(r[0] for r in rects), min(r[1] for r in rects)
        right, bottom = max(r[2] for r in rects), max(r[3] for r in rects)
        boxes.append((left, top, right - left, bottom - top))
    return boxes


def inside(rectangles, x, y):
    return any(left <= x < right and top <= y < bottom for left, top, right, bottom in rectangles)


def check_snapshot(s, snapshot, name, reference=None, covered=()):
    """Outside the shape the window's area shows the root's background; inside
    it, if a reference picture is given, the window as that picture shows it,
    except in the covered rectangles (window-relative), which the window may
    not have repainted yet. Saves the capture with the test's screenshots."""
    snapshot.image.save(os.path.join(s.screens, "effect-%s.png" % name))
    print("%s: captured at the frame %r, the shape then %r" % (name, snapshot.shape.extents, snapshot.rectangles))
    x0, y0 = vx.origin(s)
    background = snapshot.image.getpixel((5, 5))
    shown = matching = 0
    for y in range(0, vx.HEIGHT, 3):
        for x in range(0, vx.WIDTH, 3):
            got = snapshot.image.getpixel((x0 + x, y0 + y))
            if not inside(snapshot.rectangles, x, y):
                assert got == background, "%s: %r at %d,%d outside the shape %r" % (
                    name, got, x, y, snapshot.rectangles)
            elif reference is not None and not inside(covered, x, y):
                shown += 1
                matching += got == reference.getpixel((x0 + x, y0 + y))
    # The close button under the pointer may show its hover picture.
    assert shown == 0 or matching >= 0.99 * shown, "%s: %d of %d pixels inside the shape as before" % (
        name, matching, shown)


def scenario(s):
    watcher = shapes.Watcher(s.display).start()
    full = (0, 0, vx.WIDTH, vx.HEIGHT)
    watcher.snapshot_at("open", lambda shape: shape.extents[2] == vx.WIDTH and 0 < shape.extents[3] < vx.HEIGHT)
    program, welcome = vx.start(s)

    # Start-up: the watcher asks for a window's shapes once the server tells it
    # the window exists, so it might in principle miss the first frames; what
    # it saw must be the end of the expected sequence, up to the whole window.
    opening = [shape.extents for shape in watcher.shapes(welcome)]
    expected = expected_extents("open-2-10-588-438")
    print("open effect: %d of %d frames seen: %r" % (len(opening), len(expected), opening))
    assert expected[-1] == full
    assert opening and opening == expected[-len(opening):], opening
    check_snapshot(s, watcher.snapshots["open"], "open")

    reference = Image.open(s.screenshot("welcome")).convert("RGB")
    seen = len(watcher.shapes(welcome))
    watcher.snapshot_at("close", lambda shape: shape.window == welcome and shape.extents[3] < vx.HEIGHT)
    vx.click(s, vx.WELCOME_CLOSE)
    box = vx.message_box(s)
    x0, y0 = vx.origin(s)
    bx, by, bw, bh = s.geometry(box)
    box_area = (bx - x0, by - y0, bx - x0 + bw, by - y0 + bh)
    assert watcher.shapes(welcome)[seen:] == [], "the question leaves the shape alone"
    vx.answer(s, box, "y")
    assert s.wait_exit(program) == 0

    # Every close frame reached the screen before the window went.
    harness.wait_until(lambda: watcher.shapes_before_destroy(welcome) is not None, 10,
                       what="WelcomeWindow's X window to be destroyed")
    closing = watcher.shapes_before_destroy(welcome)[seen:]
    assert [shape.extents for shape in closing] == expected_extents("close-3-10-588-438"), closing
    print("close effect: %d frames over %d ms of server time" % (len(closing), closing[-1].time - closing[0].time))
    snapshot = watcher.snapshots["close"]
    assert snapshot.rectangles and snapshot.rectangles[0][3] < vx.HEIGHT, snapshot.rectangles
    # The first frames may still show the question's box: Wine repaints the
    # area it leaves between the frames.
    check_snapshot(s, snapshot, "close", reference, [box_area])
    watcher.stop()


harness.run(scenario)
