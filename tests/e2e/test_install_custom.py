#!/usr/bin/python3
"""Custom install: a folder picked in the folder browser; a typed folder
with Chinese characters, spaces and several missing levels; a relative
folder, taken from the installer's own folder."""
import os
import shutil
import time

import harness
from installer_ui import (BROWSE, CUSTOM, FINISH, INSTALL, NEXT, SHORTCUT_BOX, TRY_NOW, Installer,
                          link_target, listing, payload)


def install_custom(installer, choose):
    s = installer.s
    installer.click(CUSTOM)
    installer.wait_shown(["location"])
    choose()
    s.screenshot("folder-chosen")
    installer.click(INSTALL)
    installer.wait_shown(["new"])
    installer.wait_complete()
    installer.click(NEXT)
    time.sleep(0.5)


def pick_in_browser(s):
    """In the folder browser: 我的电脑, then C:, then Apps by its name; OK."""
    dialog = s.wait_window(name="^选择文件夹$")
    x, y, _, _ = s.geometry(dialog)
    time.sleep(0.5)
    s.click(x + 92, y + 192)  # 我的电脑, the last item under 桌面
    s.key("Right")
    time.sleep(0.5)
    s.key("Down", "Right")
    time.sleep(0.5)
    s.type_text("Apps")
    time.sleep(0.3)
    s.screenshot("browser")
    s.click(x + 160, y + 385)  # 确定
    harness.wait_until(lambda: dialog not in s.find_windows(), 10, what="the folder browser to close")


def installed(path, expected):
    with open(path, "rb") as f:
        return f.read() == expected


def scenario(s):
    expected = payload(s)
    link = os.path.join(s.desktop, "Vorlandix.lnk")

    # The browser gives C:\Apps; the folder becomes C:\Apps\Vorlandix, made.
    os.makedirs(s.wine_path("C:\\Apps"))
    installer = Installer(s)
    install_custom(installer, lambda: (installer.click(BROWSE), pick_in_browser(s)))
    assert installed(s.wine_path("C:\\Apps\\Vorlandix\\Vorlandix.exe"), expected)
    installer.click(SHORTCUT_BOX)
    installer.click(FINISH)
    assert s.wait_exit(installer.program) == 0

    # Typed (pasted): Chinese, spaces, three missing levels, no trailing backslash.
    typed = "C:\\程序 文件\\我的 应用\\Vorlandix"
    installer = Installer(s)
    install_custom(installer, lambda: installer.type_folder(typed))
    exe = os.path.join(s.prefix, "drive_c", "程序 文件", "我的 应用", "Vorlandix", "Vorlandix.exe")
    assert installed(exe, expected), "installed as %s" % exe
    installer.click(FINISH)
    assert s.wait_exit(installer.program) == 0
    assert link_target(link) == typed + "\\Vorlandix.exe", link_target(link)
    os.unlink(link)

    # Relative: from the installer's own folder C:\setup; the shortcut keeps
    # the full path, and the started program is the file installed.
    setup = s.wine_path("C:\\setup")
    os.makedirs(setup)
    shutil.copy(s.args.installer, setup)
    installer = Installer(s, os.path.join(setup, os.path.basename(s.args.installer)))
    install_custom(installer, lambda: installer.type_folder("相对 目录\\"))
    assert installed(os.path.join(setup, "相对 目录", "Vorlandix.exe"), expected)
    assert listing(os.path.join(setup, "相对 目录")) == ["Vorlandix.exe"]
    installer.click(TRY_NOW)
    assert s.wait_exit(installer.program) == 0
    assert link_target(link) == "C:\\setup\\相对 目录\\Vorlandix.exe", link_target(link)
    s.wait_window(name="^Vorlandix$", timeout=20)
    s.screenshot("started")


harness.run(scenario)
