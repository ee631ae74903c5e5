#!/usr/bin/python3
"""Installs that cannot succeed: each shows its message box, never the
progress or finish window, goes back to the location window, and leaves
the Vorlandix.exe of an earlier install byte for byte as it was.

The folders, tried one after another in one run of the installer:
- C:\\Vorlandix, whose Vorlandix.exe (an earlier program: the harness's
  smoke window) is running. Wine, like Windows, refuses to replace the file
  of a running program, so no helper is needed to hold it;
- R:\\Vorlandix on a read-only file system (root ignores permission bits,
  so a read-only tmpfs stands in for a folder without write access);
- S:\\Vorlandix on a 1 MiB tmpfs that cannot take the payload;
- a path longer than 259 bytes, a name with '|', a blank folder.
R: and S: are tmpfs mounts linked into the prefix's dosdevices; they need
root and are left out, saying so, when mounting is not allowed. Last, with
the earlier program closed, C:\\Vorlandix installs afresh, and a desktop
shortcut that cannot be saved is told before the installer ends with 0."""
import os
import shutil
import subprocess
import time

import harness
from installer_ui import FINISH, INSTALL, NEXT, QUICK, Installer, listing, payload, sha256


def mount_tmpfs(s, name, options):
    """A tmpfs at <work>/<name>, or None when mounting is not allowed."""
    point = os.path.join(s.work, name)
    os.makedirs(point, exist_ok=True)
    result = subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", point],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if result.returncode != 0:
        print("note: cannot mount a tmpfs (%s): %s case left out" % (result.stdout.decode().strip(), name))
        return None
    s.mounts.append(point)
    return point


def drive(s, letter, point, earlier):
    """Maps a Wine drive to the mount and puts an earlier Vorlandix.exe on it."""
    os.symlink(point, os.path.join(s.prefix, "dosdevices", letter + ":"))
    os.makedirs(os.path.join(point, "Vorlandix"))
    exe = os.path.join(point, "Vorlandix", "Vorlandix.exe")
    with open(exe, "wb") as f:
        f.write(earlier)
    return exe


def refused(installer, folder, reason, start=INSTALL):
    """Installs into folder and expects the message naming the folder and
    the reason, then the location window."""
    s = installer.s
    if start == INSTALL:
        installer.type_folder(folder)
    installer.click(start)
    text = installer.message_box()
    expected = "无法安装到以下文件夹：\n%s\n\n原因：%s\n\n请选择其他文件夹，或排除问题后重试。" % (folder, reason)
    assert expected in text, "message %r, expected %r" % (text, expected)
    installer.wait_shown(["location"])
    time.sleep(0.5)  # a progress window, were one wrongly made, would show by now
    assert installer.shown() == ["location"], "no success claimed: %r" % installer.shown()
    s.screenshot("back-to-location")


def scenario(s):
    s.mounts = []
    try:
        faults(s)
    finally:
        for point in s.mounts:
            subprocess.run(["umount", "-l", point])


def faults(s):
    expected = payload(s)
    earlier = []  # every earlier Vorlandix.exe, to stay unchanged

    # An earlier program at C:\Vorlandix\Vorlandix.exe, running.
    folder = s.wine_path("C:\\Vorlandix")
    os.makedirs(folder)
    exe = os.path.join(folder, "Vorlandix.exe")
    shutil.copy(s.args.smoke_window, exe)
    earlier.append(exe)
    running = s.launch(exe)
    s.wait_window_at(100, 80, 400, 300, pid=running)

    readonly = mount_tmpfs(s, "readonly", "size=4m")
    if readonly:
        earlier.append(drive(s, "r", readonly, b"earlier" * 10000))
        subprocess.run(["mount", "-o", "remount,ro", readonly], check=True)
    full = mount_tmpfs(s, "full", "size=1m")
    if full:
        earlier.append(drive(s, "s", full, b"earlier" * 30000))
    kept = {path: sha256(path) for path in earlier}

    installer = Installer(s)
    refused(installer, "C:\\Vorlandix\\", "文件正被运行中的程序使用", start=QUICK)
    if readonly:
        refused(installer, "R:\\Vorlandix", "没有写入权限（拒绝访问）")
    if full:
        refused(installer, "S:\\Vorlandix", "磁盘空间不足")
        assert listing(os.path.join(full, "Vorlandix")) == ["Vorlandix.exe"], "no temporary file is left"
    refused(installer, "C:\\Vorlandix\\" + "长" * 100 + "a" * 60, "路径过长")  # 273 bytes
    refused(installer, "C:\\Vorlandix\\a|b", "名称无效或包含不允许的字符（如 < > : \" | ? *）")
    refused(installer, "   ", "未填写文件夹名称")
    assert listing(folder) == ["Vorlandix.exe"], "nothing made beside the earlier file: %r" % listing(folder)
    for path, digest in kept.items():
        assert sha256(path) == digest, "%s is unchanged" % path

    # The earlier program closed (its Quit button), the same folder installs.
    s.click(100 + 310, 80 + 75)
    s.wait_exit(running)
    installer.type_folder("C:\\Vorlandix\\")
    installer.click(INSTALL)
    installer.wait_shown(["new"])
    installer.wait_complete()
    with open(exe, "rb") as f:
        assert f.read() == expected, "the retry installed afresh"

    # A shortcut that cannot be saved (a folder holds its name) is told,
    # and the installer still ends with 0: the install stands.
    os.makedirs(os.path.join(s.desktop, "Vorlandix.lnk"))
    installer.click(NEXT)
    time.sleep(0.5)
    installer.click(FINISH)
    text = installer.message_box()
    assert "无法在桌面上创建快捷方式。\n\n程序已经安装好，位置：\nC:\\Vorlandix\\\\Vorlandix.exe" in text, text
    assert s.wait_exit(installer.program) == 0


harness.run(scenario)
