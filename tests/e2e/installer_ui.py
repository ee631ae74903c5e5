"""The installer's windows as the install tests drive them: where the
buttons are, which of its windows is on screen, and what it left on disk.

Every window is 588 x 438, centred on the 1024 x 768 screen; the points are
window-relative button centres from the screen catalogue."""
import hashlib
import os
import re
import subprocess
import time

import harness

LEFT, TOP = 218, 165
WIDTH, HEIGHT = 588, 438
TITLE = "Vorlandix安装程序"  # message boxes, found by their X window's name
PAYLOAD_SIZE = 1446912

QUICK, CUSTOM, CLOSE = (300, 336), (529, 413), (569, 297)
BROWSE, BACK, INSTALL, FOLDER = (542, 365), (547, 413), (464, 413), (261, 364)
NEXT = (519, 408)
NEXT_PROBE = (512, 396)  # inside the next button; white on the location window
FINISH, TRY_NOW, SHORTCUT_BOX = (414, 395), (174, 395), (32, 300)
WHITE = (255, 255, 255)


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def payload(s):
    """The payload file the build embedded."""
    path = os.path.join(s.args.build, "payload", "Vorlandix.exe")
    with open(path, "rb") as f:
        return f.read()


def listing(folder):
    return sorted(os.listdir(folder)) if os.path.isdir(folder) else None


def link_target(path):
    """The local path a .lnk file points at, as lnkinfo (liblnk) reads it;
    the link holds it in the ANSI code page, 936."""
    out = subprocess.run(["lnkinfo", "-c", "windows-936", path], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                         timeout=30).stdout.decode("utf-8", "replace")
    found = re.search(r"^\s*Local path\s*:\s*(.*?)\s*$", out, re.M)
    if not found:
        raise harness.HarnessError("lnkinfo found no local path in %s:\n%s" % (path, out))
    return found.group(1)


class Installer:
    """One run of the installer, from its welcome window on."""

    def __init__(self, s, exe=None):
        self.s = s
        self.program = s.launch(exe or s.args.installer)
        self.welcome = s.wait_window_at(LEFT, TOP, WIDTH, HEIGHT, pid=self.program, timeout=30)
        # LocationWindow is loaded, hidden, with the welcome window.
        self.location = harness.wait_until(self._hidden_window, 10, what="the hidden location window")
        self.started = set(s.find_windows(pid=self.program, visible=False))

    def _hidden_window(self):
        for window in self.s.find_windows(pid=self.program, visible=False):
            if window != self.welcome and self.s.geometry(window) == (LEFT, TOP, WIDTH, HEIGHT):
                return window
        return None

    def shown(self):
        """The program's windows on screen: 'welcome', 'location', or 'new'
        for a window made since the start (progress, finish)."""
        names = []
        for window in self.s.find_windows(pid=self.program):
            if window == self.welcome:
                names.append("welcome")
            elif window == self.location:
                names.append("location")
            elif window not in self.started:
                names.append("new")
        return sorted(names)

    def click(self, point):
        self.s.click(LEFT + point[0], TOP + point[1])

    def wait_shown(self, names, timeout=20):
        return harness.wait_until(lambda: self.shown() == sorted(names), timeout,
                                  what="windows %r (now %r)" % (names, self.shown()))

    def type_folder(self, text):
        """Replaces the install folder in the location window's edit box;
        pasted, so Chinese arrives as code page 936."""
        self.click(FOLDER)
        self.s.key("End", "shift+Home", "BackSpace")
        if text:
            self.s.paste(text)

    def wait_complete(self, timeout=15):
        """Waits for the next button (shown with 安装完成√); returns seconds taken."""
        begun = time.monotonic()
        probe = (LEFT + NEXT_PROBE[0], TOP + NEXT_PROBE[1])
        harness.wait_until(lambda: self.s.pixel(*probe) != WHITE, timeout, interval=0.1,
                           what="the next button")
        return time.monotonic() - begun

    def box_text(self):
        """The texts of the dialog boxes on screen, read inside Wine by
        tests/win/box_text.cpp."""
        reader = os.path.join(self.s.args.build, "box_text.exe")
        out = subprocess.run([harness.WINE64, reader], env=self.s.env, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, timeout=30).stdout
        return out.decode("utf-8", "replace").replace("\r\n", "\n")

    def message_box(self, timeout=20):
        """Waits for a message box of the installer, screenshots it, presses
        its default button; returns its text."""
        box = self.s.wait_window(name="^%s$" % TITLE, timeout=timeout)
        time.sleep(0.3)
        self.s.screenshot("message")
        text = self.box_text()
        self.s.click(10, 10, window=box)
        self.s.key("Return")
        harness.wait_until(lambda: box not in self.s.find_windows(name="^%s$" % TITLE), 10,
                           what="the message box to close")
        return text

    def quit_from_location(self):
        """Esc back to the welcome window, then its close button, Yes."""
        self.click(FOLDER)
        self.s.key("Escape")
        self.wait_shown(["welcome"])
        self.click(CLOSE)
        self.message_box()
        assert self.s.wait_exit(self.program) == 0
