#!/usr/bin/python3
"""The screen flow on the real windows: start-up, the agreement gate, custom
install and back, the close question, and what a system close (Esc) does on
each window."""
import os
import time

import harness
import installer as vx


def scenario(s):
    # Start-up: WelcomeWindow centred and the only window shown.
    program, welcome = vx.start(s)
    assert s.geometry(welcome)[:2] == (218, 165)
    s.screenshot("welcome")

    # The gate: unchecked, both install buttons only show the hint.
    assert not vx.hint_shown(s)
    vx.click(s, vx.WELCOME_AGREE_TEXT)  # the text toggles the box too
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
    vx.next_to_finish(s)
    s.screenshot("finish")
    vx.escape(s, (300, 330))
    assert s.wait_exit(program) == 0

    # A cancelled browse, and a choice with no file-system path, keep the
    # folder: the install still goes to C:\Vorlandix.
    installed = s.wine_path("C:\\Vorlandix\\Vorlandix.exe")
    os.unlink(installed)
    program, welcome = vx.start(s)
    vx.click(s, vx.WELCOME_CUSTOM)
    vx.wait_shown(s, "location")
    for item in (None, (92, 192)):  # 我的电脑, the last item under 桌面
        vx.click(s, vx.LOCATION_BROWSE)
        dialog = s.wait_window(name="^选择文件夹$")
        x, y, _, _ = s.geometry(dialog)
        time.sleep(0.5)
        if item:
            s.click(x + item[0], y + item[1])
            s.screenshot("browse-computer")
            s.click(x + 160, y + 385)  # 确定
        else:
            s.click(x + 232, y + 385)  # 取消
        harness.wait_until(lambda: dialog not in s.find_windows(), 10, what="the folder browser to close")
    vx.click(s, vx.LOCATION_INSTALL)
    vx.wait_shown(s, "progress")
    with open(installed, "rb") as file, open(os.path.join(s.args.build, "payload", "Vorlandix.exe"), "rb") as payload:
        assert file.read() == payload.read()
    vx.escape(s, (300, 300))
    assert s.wait_exit(program) == 0


harness.run(scenario)
