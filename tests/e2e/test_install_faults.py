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
import installer
from install_checks import dismiss_message, holds, listing, payload, sha256, type_folder


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


def refused(s, folder, reason, start=installer.LOCATION_INSTALL):
    """Installs into folder and expects the message naming the folder and
    the reason, then the location window and nothing else."""
    if start == installer.LOCATION_INSTALL:
        type_folder(s, folder)
    installer.click(s, start)
    text = dismiss_message(s)
    expected = "无法安装到以下文件夹：\n%s\n\n原因：%s\n\n请选择其他文件夹，或排除问题后重试。" % (folder, reason)
    assert expected in text, "message %r, expected %r" % (text, expected)
    installer.wait_shown(s, "location")
    time.sleep(0.5)  # a progress window, were one wrongly made, would show by now
    assert installer.shown(s) == "location", "no success claimed: %s" % installer.shown(s)
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

    program, _ = installer.start(s)
    refused(s, "C:\\Vorlandix\\", "文件正被运行中的程序使用", start=installer.WELCOME_QUICK)
    if readonly:
        refused(s, "R:\\Vorlandix", "没有写入权限（拒绝访问）")
    if full:
        refused(s, "S:\\Vorlandix", "磁盘空间不足")
        assert listing(os.path.join(full, "Vorlandix")) == ["Vorlandix.exe"], "no temporary file is left"
    refused(s, "C:\\Vorlandix\\" + "长" * 100 + "a" * 60, "路径过长")  # 273 bytes
    refused(s, "C:\\Vorlandix\\a|b", "名称无效或包含不允许的字符（如 < > : \" | ? *）")
    refused(s, "   ", "未填写文件夹名称")
    assert listing(folder) == ["Vorlandix.exe"], "nothing made beside the earlier file: %r" % listing(folder)
    for path, digest in kept.items():
        assert sha256(path) == digest, "%s is unchanged" % path

    # The earlier program closed (its Quit button), the same folder installs.
    s.click(100 + 310, 80 + 75)
    s.wait_exit(running)
    type_folder(s, "C:\\Vorlandix\\")
    installer.click(s, installer.LOCATION_INSTALL)
    installer.wait_shown(s, "progress")
    installer.wait_next_button(s)
    assert holds(exe, expected), "the retry installed afresh"

    # A shortcut that cannot be saved (a folder holds its name) is told,
    # and the installer still ends with 0: the install stands.
    os.makedirs(os.path.join(s.desktop, "Vorlandix.lnk"))
    installer.click(s, installer.PROGRESS_NEXT)
    installer.wait_shown(s, "finish")
    installer.click(s, installer.FINISH_DONE)
    text = dismiss_message(s)
    assert "无法在桌面上创建快捷方式。\n\n程序已经安装好，位置：\nC:\\Vorlandix\\\\Vorlandix.exe" in text, text
    assert s.wait_exit(program) == 0


harness.run(scenario)
