#!/usr/bin/python3
"""Checks the release installer's resources and carried bytes with tools
that know nothing of how they were made: wrestool and icotool (icoutils)
for the icon, exiftool for the version record, the artwork's own check
script, and a plain search for the payload's bytes.

Usage: check_resources.py INSTALLER.exe PAYLOAD.exe ASSETS_DIR"""
import os
import re
import subprocess
import sys
import tempfile

results = []


def check(ok, what, detail=""):
    results.append(ok)
    print("  %s   %s%s" % ("ok" if ok else "FAIL", what, " (%s)" % detail if detail else ""))


def run(*command):
    return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          check=False).stdout.decode("utf-8", "replace")


def main(installer, payload, assets):
    print("check_resources %s:" % installer)
    listing = run("wrestool", "-l", installer)
    groups = re.findall(r"--type=14 --name=(\S+) --language=(\d+)", listing)
    check(groups == [("'DEFAULT_ICON'", "0")], "one icon group, DEFAULT_ICON, language-neutral",
          repr(groups))

    with tempfile.TemporaryDirectory() as folder:
        icon = os.path.join(folder, "group.ico")
        run("wrestool", "-x", "-t14", "-n", "DEFAULT_ICON", "-o", icon, installer)
        images = run("icotool", "-l", icon).split("\n")
        images = [line for line in images if line.strip()]
        check(len(images) == 1 and "--width=64 --height=64 --bit-depth=32" in images[0],
              "its one image is 64 x 64 at 32 bits", "; ".join(images))

    tags = ["FileVersionNumber", "ProductVersionNumber", "FileFlagsMask", "FileFlags", "FileOS",
            "ObjectFileType", "FileSubtype", "LanguageCode", "CharacterSet", "FileVersion",
            "FileDescription", "ProductName", "ProductVersion", "CompanyName", "LegalCopyright",
            "Comments"]
    out = run("exiftool", "-s", "-n", *["-" + t for t in tags], installer)
    values = dict(re.findall(r"^(\w+)\s*:\s*(.*)$", out, re.M))
    expected = {"FileVersionNumber": "1.0.0.0", "ProductVersionNumber": "1.0.0.0",
                "FileFlagsMask": "0", "FileFlags": "0", "FileOS": "4", "ObjectFileType": "1",
                "FileSubtype": "0", "LanguageCode": "0804", "CharacterSet": "04B0",
                "FileVersion": "1.0.0.0", "ProductName": "Vorlandix", "ProductVersion": "1.0.0.0",
                "CompanyName": "Kestrabel"}
    for tag, value in expected.items():
        check(values.get(tag) == value, "%s is %s" % (tag, value), values.get(tag))
    description = values.get("FileDescription", "")
    check(description != "" and values.get("Comments") == description,
          "a description, repeated as the comments", description)
    check(values.get("LegalCopyright", "") != "", "a legal notice", values.get("LegalCopyright"))

    # The strings stand in the block in this order.
    with tempfile.TemporaryDirectory() as folder:
        raw = os.path.join(folder, "version.bin")
        run("wrestool", "-x", "--raw", "-t16", "-o", raw, installer)
        block = open(raw, "rb").read()
    order = ["080404B0", "FileVersion", "FileDescription", "ProductName", "ProductVersion",
             "CompanyName", "LegalCopyright", "Comments", "Translation"]
    places = [block.find(name.encode("utf-16-le")) for name in order]
    check(-1 not in places and places == sorted(places), "the strings in their order",
          ", ".join("%s@%d" % p for p in zip(order, places)))

    data = open(installer, "rb").read()
    carried = open(payload, "rb").read()
    check(len(carried) == 1446912 and carried[:2] == b"MZ", "the payload is a 1,446,912-byte executable",
          "%d bytes" % len(carried))
    at = data.find(carried)
    marker = data[at - 8:at] if at >= 8 else b""
    check(at >= 0 and marker == (1).to_bytes(4, "little") + len(carried).to_bytes(4, "little"),
          "its bytes stand verbatim in the installer, after the word 1 and the length",
          "offset %d" % at)

    art = subprocess.run(["sh", os.path.join(assets, "render.sh"), "--check"],
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    check(art.returncode == 0, "every picture at its size and format",
          art.stdout.decode(errors="replace").strip().splitlines()[-1])

    print("check_resources: %d passed, %d failed" % (results.count(True), results.count(False)))
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
