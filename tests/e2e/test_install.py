#!/usr/bin/python3
"""Quick install, three runs in one prefix: finish without the shortcut;
a second install over a longer file, finish with the shortcut; 立即体验
starts the installed program."""
import os
import time

import harness
import installer
from install_checks import PAYLOAD_SIZE, holds, link_target, listing, payload


def quick_install(s, run):
    """Welcome -> quick install -> complete -> next: the finish window."""
    program, _ = installer.start(s)
    installer.click(s, installer.WELCOME_QUICK)
    installer.wait_shown(s, "progress")
    s.screenshot("%s-progress" % run)
    begun = time.monotonic()
    installer.wait_next_button(s)
    print("%s: next button %.1f s after the progress window" % (run, time.monotonic() - begun))
    s.screenshot("%s-complete" % run)
    installer.click(s, installer.PROGRESS_NEXT)
    installer.wait_shown(s, "finish")
    s.screenshot("%s-finish" % run)
    return program


def scenario(s):
    expected = payload(s)
    assert len(expected) == PAYLOAD_SIZE and expected[:2] == b"MZ"
    with open(s.args.installer, "rb") as f:
        assert f.read().find(expected) >= 0, "the payload's bytes stand verbatim in the installer"

    folder = s.wine_path("C:\\Vorlandix")
    exe = os.path.join(folder, "Vorlandix.exe")
    link = os.path.join(s.desktop, "Vorlandix.lnk")

    # Shortcut box unchecked: the file, no link, exit code 0.
    program = quick_install(s, "first")
    assert holds(exe, expected), "C:\\Vorlandix\\Vorlandix.exe is the payload byte for byte"
    installer.click(s, installer.FINISH_SHORTCUT_BOX)
    installer.click(s, installer.FINISH_DONE)
    assert s.wait_exit(program) == 0
    assert not os.path.exists(link), "no shortcut when the box is unchecked"

    # Over a longer file of other bytes: replaced whole.
    with open(exe, "wb") as f:
        f.write(b"old" * PAYLOAD_SIZE)
    program = quick_install(s, "second")
    assert holds(exe, expected), "the second install replaced the whole file"
    assert listing(folder) == ["Vorlandix.exe"], "no temporary file is left: %r" % listing(folder)
    installer.click(s, installer.FINISH_DONE)
    assert s.wait_exit(program) == 0
    assert os.path.isfile(link), "the shortcut box starts checked"
    assert link_target(link) == "C:\\Vorlandix\\Vorlandix.exe", link_target(link)

    # 立即体验: the installed program starts and shows the product's name.
    os.unlink(link)
    program = quick_install(s, "third")
    installer.click(s, installer.FINISH_SHORTCUT_BOX)
    installer.click(s, installer.FINISH_TRY)
    assert s.wait_exit(program) == 0
    app = s.wait_window(name="^Vorlandix$", timeout=20)
    time.sleep(0.5)
    s.screenshot("started")
    assert not os.path.exists(link)
    # The stand-in ends when its window is closed (the caption's close box).
    pid = int(s.xdotool("getwindowpid", app))
    x, y, width, _ = s.geometry(app)
    s.click(x + width - 14, y + 12)
    harness.wait_until(lambda: not os.path.exists("/proc/%d" % pid), 10,
                       what="the started program to end")


harness.run(scenario)
