"""What the install tests check beyond the windows (tests/e2e/installer.py):
the payload and the files an install leaves, the target of a shortcut, the
text of a message box, and typing an install folder."""
import hashlib
import os
import re
import subprocess

import harness
import installer

PAYLOAD_SIZE = 1446912


def payload(s):
    """The bytes the build embedded as the application."""
    with open(os.path.join(s.args.build, "payload", "Vorlandix.exe"), "rb") as f:
        return f.read()


def holds(path, expected):
    with open(path, "rb") as f:
        return f.read() == expected


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def listing(folder):
    return sorted(os.listdir(folder)) if os.path.isdir(folder) else None


def link_target(path):
    """The local path a .lnk file points at, as lnkinfo (liblnk) reads it;
    the link holds it in the ANSI code page, 936."""
    out = subprocess.run(["lnkinfo", "-c", "windows-936", path], stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, timeout=30).stdout.decode("utf-8", "replace")
    found = re.search(r"^\s*Local path\s*:\s*(.*?)\s*$", out, re.M)
    if not found:
        raise harness.HarnessError("lnkinfo found no local path in %s:\n%s" % (path, out))
    return found.group(1)


def box_text(s):
    """The texts of the dialog boxes on screen, read inside Wine by
    tests/win/box_text.cpp (X has a box's title, not its text)."""
    reader = os.path.join(s.args.build, "box_text.exe")
    out = subprocess.run([harness.WINE64, reader], env=s.env, stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, timeout=30).stdout
    return out.decode("utf-8", "replace").replace("\r\n", "\n")


def dismiss_message(s):
    """Waits for the installer's message box, keeps a screenshot, presses
    OK; returns the box's text."""
    box = installer.message_box(s)
    s.screenshot("message")
    text = box_text(s)
    installer.answer(s, box, "Return")
    return text


def type_folder(s, text):
    """Replaces the location window's install folder; pasted, so Chinese
    arrives as code page 936."""
    installer.click(s, installer.LOCATION_EDIT)
    s.key("End", "shift+Home", "BackSpace")
    if text:
        s.paste(text)
