#!/usr/bin/python3
"""Pictures that cannot be decoded: the installer built with a broken welcome
banner and a broken hover picture for 关闭 still builds its windows; the
banner's picture box shows its button-face background and the button its
normal picture when hovered."""
import os

import harness
import installer as vx


def scenario(s):
    s.args.installer = os.path.join(s.args.build, "vorlandix-setup-broken-pictures.exe")
    program, welcome = vx.start(s, lambda: vx.shows_picture(s, "quick_normal.jpg", 174, 304))
    x, y = vx.origin(s)
    shot = s.screenshot("broken-banner")
    face = s.pixels([(x + px, y + py) for px in range(2, 586, 97) for py in range(2, 276, 53)], shot)
    # The face colour is grey, unlike the white window around the banner.
    assert len(set(face)) == 1 and face[0] != (255, 255, 255), "one plain face colour: %r" % set(face)
    assert vx.shows_picture(s, "quick_normal.jpg", 174, 304, shot), "the other pictures are there"
    s.move_mouse(x + 569, y + 297)
    s.xdotool("mousedown", 1)
    vx.wait_picture(s, "close_pressed.jpg", 552, 280, "the pressed picture, which is intact")
    s.move_mouse(x + 569, y + 290)
    vx.release(s)
    box = vx.message_box(s)
    vx.answer(s, box, "n")
    s.move_mouse(x + 300, y + 390)
    s.move_mouse(x + 569, y + 297)
    vx.wait_picture(s, "close_normal.jpg", 552, 280, "the normal picture in place of the broken hover one")
    s.screenshot("hover-fallback")
    vx.escape(s, (300, 390))
    vx.answer(s, vx.message_box(s), "y")
    assert s.wait_exit(program) == 0


harness.run(scenario)
