#!/usr/bin/python3
"""On a 1920 x 1080 screen every window is placed at 666, 321."""
import harness
import installer as vx


def placed(s, program):
    return [w for w in s.find_windows(pid=program) if s.geometry(w) == (666, 321, vx.WIDTH, vx.HEIGHT)]


def scenario(s):
    program, welcome = vx.start(s)
    assert s.geometry(welcome)[:2] == (666, 321)
    for button, window in [(vx.WELCOME_CUSTOM, "location"), (vx.LOCATION_BACK, "welcome"),
                           (vx.WELCOME_QUICK, "progress")]:
        vx.click(s, button)
        vx.wait_shown(s, window)
        assert len(placed(s, program)) == 1, window
    vx.next_to_finish(s)
    assert len(placed(s, program)) == 1
    s.screenshot("finish-1920")
    vx.escape(s, (300, 330))
    assert s.wait_exit(program) == 0


harness.run(scenario, screen=(1920, 1080))
