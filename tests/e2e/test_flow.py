#!/usr/bin/python3
"""The screen flow on the real windows: start-up, the agreement gate, custom
install and back, the close question, and what a system close (Esc) does on
each window."""
import harness
import installer as vx


def scenario(s):
    # Start-up: WelcomeWindow centred and the only window shown.
    program, welcome = vx.start(s)
    assert s.geometry(welcome)[:2] == (218, 165)
    s.screenshot("welcome")

    # The gate: unchecked, both install buttons only show the hint.
    assert not vx.hint_shown(s)
    vx.click(s, vx.WELCOME_AGREE_BOX)
    for button in (vx.WELCOME_QUICK, vx.WELCOME_CUSTOM):
        vx.click(s, button)
        harness.wait_until(lambda: vx.hint_shown(s), 5, what="the agreement hint")
        assert vx.shown(s) == "welcome"
    s.screenshot("agreement-hint")

    # Checked again, the custom button proceeds; back returns as it was left.
    vx.click(s, vx.WELCOME_AGREE_BOX)
    vx.click(s, vx.WELCOME_CUSTOM)
    vx.wait_shown(s, "location")
    s.screenshot("location")
    vx.click(s, vx.LOCATION_BACK)
    vx.wait_shown(s, "welcome")
    assert vx.hint_shown(s), "the hint stays shown"
    s.screenshot("back-to-welcome")

    # Esc on LocationWindow acts as its back button.
    vx.click(s, vx.WELCOME_CUSTOM)
    vx.wait_shown(s, "location")
    vx.escape(s)
    vx.wait_shown(s, "welcome")

    # The close button asks; No keeps everything.
    vx.click(s, vx.WELCOME_CLOSE)
    box = vx.message_box(s)
    s.screenshot("close-question")
    vx.answer(s, box, "n")
    vx.wait_shown(s, "welcome")
    assert program.running

    # Esc on WelcomeWindow asks the same question; Yes ends with code 0.
    vx.escape(s)
    box = vx.message_box(s)
    vx.answer(s, box, "y")
    assert s.wait_exit(program) == 0

    # Esc on ProgressWindow ends the program with code 0.
    program, welcome = vx.start(s)
    vx.click(s, vx.WELCOME_QUICK)
    vx.wait_shown(s, "progress")
    s.screenshot("progress")
    vx.escape(s, (300, 300))
    assert s.wait_exit(program) == 0

    # And so does Esc on FinishWindow.
    program, welcome = vx.start(s)
    vx.click(s, vx.WELCOME_QUICK)
    vx.wait_shown(s, "progress")
    vx.wait_next_button(s)
    vx.click(s, vx.PROGRESS_NEXT)
    vx.wait_shown(s, "finish")
    s.screenshot("finish")
    vx.escape(s, (300, 330))
    assert s.wait_exit(program) == 0


harness.run(scenario)
