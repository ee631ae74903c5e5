#!/usr/bin/python3
"""The windows as they look and behave: pictures at their places, the
picture buttons' states, labels and check boxes in their colours, the edit
box and progress bar, dragging by the surface, and placement."""
import time

import harness
import installer as vx
from installer import close, press, release, shows_picture, wait_picture

def scenario(s):
    program, welcome = vx.start(s)
    x, y = vx.origin(s)
    shot = s.screenshot("welcome")
    for name, left, top in [("banner_welcome.jpg", 0, 0), ("close_normal.jpg", 552, 280),
                            ("quick_normal.jpg", 174, 304), ("custom_normal.jpg", 480, 405)]:
        assert shows_picture(s, name, left, top, shot), name
    # The agreement text in teal on white.
    text = s.pixels([(x + px, y + py) for px in range(24, 330) for py in range(410, 422)], shot)
    assert any(close(p, (0, 128, 128), 40) and p[0] < 60 for p in text), "teal check box text"

    # Hover, pressed, and a press that leaves the button raises no click.
    s.move_mouse(x + 300, y + 336)
    wait_picture(s, "quick_hover.jpg", 174, 304, "the hover picture")
    s.screenshot("quick-hover")
    s.xdotool("mousedown", 1)
    wait_picture(s, "quick_pressed.jpg", 174, 304, "the pressed picture")
    s.screenshot("quick-pressed")
    s.move_mouse(x + 300, y + 390)
    wait_picture(s, "quick_normal.jpg", 174, 304, "the normal picture once the pointer left")
    release(s)
    time.sleep(0.5)
    assert vx.shown(s) == "welcome", "a release outside the button clicks nothing"
    s.move_mouse(x + 569, y + 297)
    wait_picture(s, "close_hover.jpg", 552, 280, "the close button's hover picture")
    s.xdotool("mousedown", 1)
    wait_picture(s, "close_pressed.jpg", 552, 280, "the close button's red pressed cross")
    s.move_mouse(x + 500, y + 390)
    release(s)

    # The banner drags WelcomeWindow; a window created later is centred again.
    press(s, x + 300, y + 100)
    for step in range(1, 6):
        s.move_mouse(x + 300 + 10 * step, y + 100 + 6 * step)
        time.sleep(0.05)
    release(s)
    harness.wait_until(lambda: s.geometry(welcome)[:2] == (x + 50, y + 30), 5,
                       what="WelcomeWindow dragged to %d,%d" % (x + 50, y + 30))
    s.screenshot("welcome-dragged")
    s.click(x + 50 + vx.WELCOME_CUSTOM[0], y + 30 + vx.WELCOME_CUSTOM[1])
    vx.wait_shown(s, "location")
    shot = s.screenshot("location")
    for name, left, top in [("banner_welcome.jpg", 0, 0), ("browse_normal.jpg", 501, 349),
                            ("back_normal.jpg", 520, 400), ("install_normal.jpg", 424, 400)]:
        assert shows_picture(s, name, left, top, shot), name
    # The edit box: a one-pixel border, white bands, black text on its middle line.
    border, band, above = s.pixels([(x + 100, y + 352), (x + 100, y + 355), (x + 100, y + 351)], shot)
    assert max(border) < 200 and vx.is_white(band) and vx.is_white(above), (border, band, above)
    line = s.pixels([(x + px, y + py) for px in range(28, 90) for py in range(356, 372)], shot)
    assert any(max(p) < 100 for p in line), "the folder text is drawn"

    # LocationWindow cannot be dragged by its banner.
    press(s, x + 300, y + 100)
    for step in range(1, 6):
        s.move_mouse(x + 300 + 10 * step, y + 100 + 6 * step)
        time.sleep(0.05)
    release(s)
    time.sleep(0.3)
    location = [w for w in s.find_windows(pid=program) if s.geometry(w)[:2] == (x, y)]
    assert location, "LocationWindow stays where it was placed"

    # The browse button's 34-row hover picture shows its top 32 rows only.
    s.move_mouse(x + 542, y + 365)
    harness.wait_until(lambda: shows_picture(s, "browse_hover.jpg", 501, 349, rows=32), 5,
                       what="the browse button's hover picture")
    s.screenshot("browse-hover")

    # A press on the white area, moved onto 返回 and released there, clicks it.
    press(s, x + 300, y + 395)
    s.move_mouse(x + 530, y + 410)
    time.sleep(0.1)
    s.move_mouse(x + vx.LOCATION_BACK[0], y + vx.LOCATION_BACK[1])
    time.sleep(0.1)
    release(s)
    harness.wait_until(lambda: s.window_shown(welcome) and not location[0] in s.find_windows(pid=program),
                       5, what="the back button's click")
    assert s.geometry(welcome)[:2] == (x + 50, y + 30), "WelcomeWindow comes back where it was left"

    # ProgressWindow: its banner and bar; the next button comes with the done text.
    s.click(x + 50 + vx.WELCOME_QUICK[0], y + 30 + vx.WELCOME_QUICK[1])
    vx.wait_shown(s, "progress")
    shot = s.screenshot("progress")
    assert shows_picture(s, "banner_product.jpg", 0, 0, shot)
    vx.wait_next_button(s)
    s.move_mouse(x + vx.PROGRESS_NEXT[0], y + vx.PROGRESS_NEXT[1])
    harness.wait_until(lambda: shows_picture(s, "next_hover.png", 478, 392, rows=32), 5,
                       what="the next button's hover picture")
    s.screenshot("progress-done")
    vx.click(s, vx.PROGRESS_NEXT)
    vx.wait_shown(s, "finish")
    shot = s.screenshot("finish")
    for name, left, top in [("banner_product.jpg", 0, 0), ("finish_normal.jpg", 334, 368),
                            ("trynow_normal.jpg", 94, 368)]:
        assert shows_picture(s, name, left, top, shot), name
    vx.escape(s, (300, 330))
    assert s.wait_exit(program) == 0


harness.run(scenario)
