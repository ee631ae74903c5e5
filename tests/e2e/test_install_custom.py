#!/usr/bin/python3
"""Custom install: a folder picked in the folder browser; a typed folder
with Chinese characters, spaces and several missing levels; a relative
folder, taken from the installer's own folder."""
import os
import shutil
import time

import harness
import installer
from install_checks import holds, link_target, listing, payload, type_folder


def install_custom(s, choose):
    """Welcome -> custom install -> choose() -> install -> complete -> next."""
    program, _ = installer.start(s)
    installer.click(s, installer.WELCOME_CUSTOM)
    installer.wait_shown(s, "location")
    choose()
    s.screenshot("folder-chosen")
    installer.click(s, installer.LOCATION_INSTALL)
    installer.wait_shown(s, "progress")
    installer.next_to_finish(s)
    return program


def pick_in_browser(s):
    """In the folder browser: 我的电脑, then C:, then Apps by its name; OK."""
    installer.click(s, installer.LOCATION_BROWSE)
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


def scenario(s):
    expected = payload(s)
    link = os.path.join(s.desktop, "Vorlandix.lnk")

    # The browser gives C:\Apps; the folder becomes C:\Apps\Vorlandix, made.
    os.makedirs(s.wine_path("C:\\Apps"))
    program = install_custom(s, lambda: pick_in_browser(s))
    assert holds(s.wine_path("C:\\Apps\\Vorlandix\\Vorlandix.exe"), expected)
    installer.click(s, installer.FINISH_SHORTCUT_BOX)
    installer.click(s, installer.FINISH_DONE)
    assert s.wait_exit(program) == 0

    # Typed (pasted): Chinese, spaces, three missing levels, no trailing backslash.
    typed = "C:\\程序 文件\\我的 应用\\Vorlandix"
    program = install_custom(s, lambda: type_folder(s, typed))
    exe = os.path.join(s.prefix, "drive_c", "程序 文件", "我的 应用", "Vorlandix", "Vorlandix.exe")
    assert holds(exe, expected), "installed as %s" % exe
    installer.click(s, installer.FINISH_DONE)
    assert s.wait_exit(program) == 0
    assert link_target(link) == typed + "\\Vorlandix.exe", link_target(link)
    os.unlink(link)

    # Relative: from the installer's own folder C:\setup; the shortcut keeps
    # the full path, and the started program is the file installed.
    setup = s.wine_path("C:\\setup")
    os.makedirs(setup)
    shutil.copy(s.args.installer, setup)
    s.args.installer = os.path.join(setup, os.path.basename(s.args.installer))  # from here on
    program = install_custom(s, lambda: type_folder(s, "相对 目录\\"))
    assert holds(os.path.join(setup, "相对 目录", "Vorlandix.exe"), expected)
    assert listing(os.path.join(setup, "相对 目录")) == ["Vorlandix.exe"]
    installer.click(s, installer.FINISH_TRY)
    assert s.wait_exit(program) == 0
    assert link_target(link) == "C:\\setup\\相对 目录\\Vorlandix.exe", link_target(link)
    s.wait_window(name="^Vorlandix$", timeout=20)
    s.screenshot("started")


harness.run(scenario)
