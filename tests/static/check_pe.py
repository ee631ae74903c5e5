#!/usr/bin/python3
"""Static checks of the release installer, a PE32 GUI executable that
cannot run on the build machines:

  * machine i386, PE32 optional header, Windows GUI subsystem
  * DYNAMIC_BASE and NX_COMPAT set, relocations kept (.reloc present)
  * imports only from DLLs every Windows has (no MinGW runtime DLLs)
  * an RT_MANIFEST resource with id 1 asking for asInvoker and not
    pulling in the common-controls side-by-side assembly

Usage: check_pe.py [--machine i386|amd64] FILE.exe
Prints one line per check and exits 1 when any fails.
"""
import argparse
import re
import struct
import sys

MACHINES = {"i386": (0x14C, 0x10B), "amd64": (0x8664, 0x20B)}
SUBSYSTEM_WINDOWS_GUI = 2
DLLCHAR_DYNAMIC_BASE = 0x0040
DLLCHAR_NX_COMPAT = 0x0100
FILE_RELOCS_STRIPPED = 0x0001
RT_MANIFEST = 24

# DLLs that ship with every supported Windows; matched case-insensitively.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "ole32.dll",
    "oleaut32.dll", "advapi32.dll", "msvcrt.dll", "comctl32.dll", "comdlg32.dll",
    "shlwapi.dll", "version.dll", "winmm.dll", "msimg32.dll",
    "imm32.dll", "uxtheme.dll", "dwmapi.dll", "ntdll.dll",
}


class PeError(Exception):
    pass


class Pe:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise PeError("no MZ header")
        (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
        if data[pe_offset:pe_offset + 4] != b"PE\0\0":
            raise PeError("no PE signature")
        coff = pe_offset + 4
        (self.machine, self.section_count, _, _, _, optional_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", data, coff)
        optional = coff + 20
        (self.magic,) = struct.unpack_from("<H", data, optional)
        if self.magic == 0x10B:
            self.subsystem, self.dll_characteristics = struct.unpack_from("<HH", data, optional + 68)
            directories = optional + 96
        elif self.magic == 0x20B:
            self.subsystem, self.dll_characteristics = struct.unpack_from("<HH", data, optional + 68)
            directories = optional + 112
        else:
            raise PeError("unknown optional header magic 0x%x" % self.magic)
        (count,) = struct.unpack_from("<I", data, directories - 4)
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i)
                            for i in range(min(count, 16))]
        self.sections = []
        table = optional + optional_size
        for i in range(self.section_count):
            name, vsize, vaddr, rsize, raddr = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode("ascii", "replace"),
                                  vaddr, max(vsize, rsize), raddr, rsize))

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def offset(self, rva):
        for _, vaddr, vsize, raddr, rsize in self.sections:
            if vaddr <= rva < vaddr + vsize:
                if rva - vaddr >= rsize:
                    raise PeError("RVA 0x%x lies in uninitialised data" % rva)
                return raddr + rva - vaddr
        raise PeError("RVA 0x%x is in no section" % rva)

    def cstring(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii", "replace")

    def imported_dlls(self):
        rva, size = self.directory(1)
        dlls = []
        if not rva:
            return dlls
        at = self.offset(rva)
        while True:
            lookup, _, _, name_rva, thunks = struct.unpack_from("<IIIII", self.data, at)
            if not (lookup or name_rva or thunks):
                return dlls
            dlls.append(self.cstring(name_rva))
            at += 20

    def resources(self, type_id):
        """(id, bytes) for each resource of a numeric type, first language."""
        rva, _ = self.directory(2)
        if not rva:
            return []
        base = self.offset(rva)

        def entries(table):
            named, ids = struct.unpack_from("<HH", self.data, base + table + 12)
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", self.data, base + table + 16 + 8 * i)
                yield name, target

        found = []
        for name, target in entries(0):
            if name & 0x80000000 or name != type_id or not target & 0x80000000:
                continue
            for res_id, sub in entries(target & 0x7FFFFFFF):
                if not sub & 0x80000000:
                    continue
                for _, leaf in entries(sub & 0x7FFFFFFF):
                    if leaf & 0x80000000:
                        continue
                    data_rva, data_size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self.offset(data_rva)
                    ident = res_id if not res_id & 0x80000000 else "(named)"
                    found.append((ident, self.data[start:start + data_size]))
                    break
        return found


def check(path, machine_name):
    with open(path, "rb") as f:
        pe = Pe(f.read())
    machine, magic = MACHINES[machine_name]
    results = []

    def expect(ok, what, detail=""):
        results.append((bool(ok), what, detail))

    expect(pe.machine == machine, "machine is %s" % machine_name, "0x%x" % pe.machine)
    expect(pe.magic == magic, "optional header is PE32%s" % ("+" if magic == 0x20B else ""),
           "magic 0x%x" % pe.magic)
    expect(pe.subsystem == SUBSYSTEM_WINDOWS_GUI, "subsystem is Windows GUI",
           "subsystem %d" % pe.subsystem)
    expect(pe.dll_characteristics & DLLCHAR_DYNAMIC_BASE, "DYNAMIC_BASE set",
           "0x%04x" % pe.dll_characteristics)
    expect(pe.dll_characteristics & DLLCHAR_NX_COMPAT, "NX_COMPAT set",
           "0x%04x" % pe.dll_characteristics)
    reloc_rva, reloc_size = pe.directory(5)
    has_reloc_section = any(s[0] == ".reloc" for s in pe.sections)
    expect(has_reloc_section and reloc_rva and reloc_size
           and not pe.characteristics & FILE_RELOCS_STRIPPED,
           "relocations present", "sections: %s" % " ".join(s[0] for s in pe.sections))

    dlls = pe.imported_dlls()
    foreign = [d for d in dlls if d.lower() not in SYSTEM_DLLS]
    expect(dlls and not foreign, "imports only system DLLs",
           "imports %s%s" % (", ".join(dlls) or "nothing",
                             "; not allowed: " + ", ".join(foreign) if foreign else ""))

    manifests = dict(pe.resources(RT_MANIFEST))
    manifest = manifests.get(1)
    expect(manifest is not None, "RT_MANIFEST resource 1 present",
           "manifest ids: %s" % (sorted(map(str, manifests)) or "none"))
    if manifest is not None:
        text = manifest.decode("utf-8", "replace")
        level = re.search(r"<(?:\w+:)?requestedExecutionLevel\b[^>]*\blevel\s*=\s*[\"']([^\"']*)",
                          text)
        expect(level and level.group(1) == "asInvoker", "manifest asks for asInvoker",
               "level %s" % (level.group(1) if level else "missing"))
        expect("Microsoft.Windows.Common-Controls" not in text,
               "manifest has no common-controls dependency")
    return results


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--machine", choices=sorted(MACHINES), default="i386")
    parser.add_argument("exe")
    args = parser.parse_args()
    try:
        results = check(args.exe, args.machine)
    except (OSError, PeError, struct.error, ValueError) as e:
        print("FAIL %s: not a readable PE file: %s" % (args.exe, e))
        return 1
    print("check_pe %s (%s):" % (args.exe, args.machine))
    failed = 0
    for ok, what, detail in results:
        failed += not ok
        print("  %s %s%s" % ("ok  " if ok else "FAIL", what, " (%s)" % detail if detail else ""))
    print("check_pe: %d passed, %d failed" % (len(results) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
