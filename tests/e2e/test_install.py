#!/usr/bin/python3
"""Quick install, three runs in one prefix: finish without the shortcut;
a second install over a longer file, finish with the shortcut; 立即体验
starts the installed program."""
import os
import time

import harness
from installer_ui import (FINISH, NEXT, PAYLOAD_SIZE, QUICK, SHORTCUT_BOX, TRY_NOW, Installer,
                          link_target, listing, payload)


def quick_install(s, run):
    """Welcome -> quick install -> complete -> next: the finish window."""
    installer = Installer(s)
    s.screenshot("%s-welcome" % run)
    installer.click(QUICK)
    installer.wait_shown(["new"])
    s.screenshot("%s-progress" % run)
    seconds = installer.wait_complete()
    print("%s: progress complete %.1f s after the window appeared" % (run, seconds))
    s.screenshot("%s-complete" % run)
    progress = s.find_windows(pid=installer.program)
    installer.click(NEXT)
    harness.wait_until(lambda: installer.shown() == ["new"] and s.find_windows(pid=installer.program) != progress,
                       10, what="the finish window")
    time.sleep(0.3)
    s.screenshot("%s-finish" % run)
    return installer


def scenario(s):
    expected = payload(s)
    assert len(expected) == PAYLOAD_SIZE and expected[:2] == b"MZ"
    with open(s.args.installer, "rb") as f:
        assert f.read().find(expected) >= 0, "the payload's bytes stand verbatim in the installer"

    folder = s.wine_path("C:\\Vorlandix")
    exe = os.path.join(folder, "Vorlandix.exe")
    link = os.path.join(s.desktop, "Vorlandix.lnk")

    # Shortcut box unchecked: the file, no link, exit code 0.
    installer = quick_install(s, "first")
    with open(exe, "rb") as f:
        assert f.read() == expected, "C:\\Vorlandix\\Vorlandix.exe is the payload byte for byte"
    installer.click(SHORTCUT_BOX)
    installer.click(FINISH)
    assert s.wait_exit(installer.program) == 0
    assert not os.path.exists(link), "no shortcut when the box is unchecked"

    # Over a longer file of other bytes: replaced whole, in place of the old.
    with open(exe, "wb") as f:
        f.write(b"old" * PAYLOAD_SIZE)
    installer = quick_install(s, "second")
    with open(exe, "rb") as f:
        assert f.read() == expected, "the second install replaced the whole file"
    assert listing(folder) == ["Vorlandix.exe"], "no temporary file is left: %r" % listing(folder)
    installer.click(FINISH)
    assert s.wait_exit(installer.program) == 0
    assert os.path.isfile(link), "the shortcut box starts checked"
    assert link_target(link) == "C:\\Vorlandix\\Vorlandix.exe", link_target(link)

    # 立即体验: the installed program starts and shows the product's name.
    os.unlink(link)
    installer = quick_install(s, "third")
    installer.click(SHORTCUT_BOX)
    installer.click(TRY_NOW)
    assert s.wait_exit(installer.program) == 0
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
