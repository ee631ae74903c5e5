"""The measurements behind bench/run.sh, all in one run on one private X
display and Wine prefix (tests/e2e/harness.py), printed as one table of
medians with the ratio to each figure's reference. Asserts nothing: an aim
missed is reported, not failed.

Usage (from bench/run.sh, once the trees are built):
    run.py <repository root> <reference installer exe> [runs]
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

ROOT = os.path.abspath(sys.argv[1])
REFERENCE = os.path.abspath(sys.argv[2])
RUNS = int(sys.argv[3]) if len(sys.argv) > 3 else 15
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import harness  # noqa: E402
import installer  # noqa: E402

WIN32 = os.path.join(ROOT, "build", "win32")
WIN64 = os.path.join(ROOT, "build", "win64")
KIB, MIB = 1024, 1024 * 1024
OPEN_FRAMES = 10  # OnWelcomeCreated's open effect: kind 2, 5 ms, 10 steps
INSTALL_RUNS = 3  # a full quick install takes seconds: its memory barely varies

rows = []  # figure, measured on, value, reference, reference value, ratio, aim, met


def row(figure, subject, value, unit, reference, reference_value, aim=None):
    ratio = value / reference_value if reference_value else float("nan")
    met = "" if aim is None else ("met" if aim(value, ratio) else "MISSED")
    rows.append((figure, subject, "%s %s" % (fmt(value), unit), reference,
                 "%s %s" % (fmt(reference_value), unit), "%.2f" % ratio, met))


def fmt(value):
    return "{:,.0f}".format(value) if value >= 1000 else "%.2f" % value if value < 100 else "%.1f" % value


def size(path):
    return os.path.getsize(path)


# --- code overhead ---------------------------------------------------------

def sizes():
    pictures = os.path.join(ROOT, "assets", "pictures")
    artwork = sum(size(os.path.join(pictures, f)) for f in os.listdir(pictures))
    icon = size(os.path.join(ROOT, "assets", "app_icon.ico"))
    reference = size(REFERENCE)
    for tree, name in ((WIN32, "release PE32"), (WIN64, "x86_64 build")):
        exe = size(os.path.join(tree, "vorlandix-setup.exe"))
        payload = size(os.path.join(tree, "payload", "Vorlandix.exe"))
        overhead = (exe - payload - artwork) / KIB
        minimal = size(os.path.join(tree, "minimal-window.exe")) / KIB
        aim = (lambda v, r: v <= 256) if tree == WIN32 else None
        subject = "%s: %s - %s payload - %s pictures" % (name, fmt(exe), fmt(payload), fmt(artwork))
        row("code overhead", subject, overhead, "KiB", "empty makensis installer", reference / KIB, aim)
        row("code overhead", name, overhead, "KiB", "minimal window exe", minimal)
    return icon


# --- launch to the first frame -----------------------------------------------

def marks(program, count, timeout=30):
    """The first count bench marks (bench/clock.h) the program wrote, in ns."""
    deadline = time.monotonic() + timeout
    while True:
        with open(program.log_path, "rb") as f:
            words = [line.split() for line in f.read().splitlines()]
        values = [int(w[1]) for w in words if len(w) == 2 and w[0] in (b"frame", b"paint")]
        if len(values) >= count:
            return values[:count]
        if not program.running or time.monotonic() > deadline:
            raise harness.HarnessError("%s wrote %d of %d marks" % (program.log_path, len(values), count))
        time.sleep(0.002)


def end(program):
    program.process.kill()
    program.process.wait(timeout=10)


def launch_ms(s, exe, count):
    start = time.time_ns()
    program = s.launch(exe)
    values = marks(program, count)
    end(program)
    return [(v - start) / 1e6 for v in values]


def launches(s):
    setup = os.path.join(WIN64, "vorlandix-setup-bench.exe")
    minimal = os.path.join(WIN64, "minimal-window-bench.exe")
    first, last, paint = [], [], []
    launch_ms(s, setup, OPEN_FRAMES)  # the first launch of a prefix loads more than the rest
    launch_ms(s, minimal, 1)
    for _ in range(RUNS):  # interleaved
        frames = launch_ms(s, setup, OPEN_FRAMES)
        first.append(frames[0])
        last.append(frames[-1])
        paint.append(launch_ms(s, minimal, 1)[0])
    reference = statistics.median(paint)
    row("launch to first open-effect frame", "x86_64 build, wine64 (%d runs)" % RUNS,
        statistics.median(first), "ms", "minimal window: launch to first paint", reference,
        lambda v, r: r <= 1.2)
    row("launch to last open-effect frame", "x86_64 build, wine64", statistics.median(last), "ms",
        "minimal window: launch to first paint", reference)


# --- effects -----------------------------------------------------------------

def effects(s):
    program = s.launch(os.path.join(WIN64, "effects-bench.exe"))
    if s.wait_exit(program, timeout=300) != 0:
        raise harness.HarnessError("effects-bench failed: " + program.log())
    # "open  kind  2, 5 ms, 10 steps  median min max slept ratio"
    for line in program.log().splitlines():
        words = line.split()
        if words[:1] in (["open"], ["close"]) and "steps" in words:
            median, slept = float(words[-5]), float(words[-2])
            row("%s effect, first frame to return" % words[0],
                "WelcomeWindow, kind %s, 10 steps (effects-bench)" % words[2].rstrip(","),
                median, "ms", "its 10 pauses of 5 ms", 50, lambda v, r: v <= 60)
            row("  of which asleep", "the same runs", slept, "ms", "its 10 pauses of 5 ms", 50)


# --- install step ----------------------------------------------------------

def install_step(s):
    program = s.launch(os.path.join(WIN64, "install-step-bench.exe"), str(RUNS))
    if s.wait_exit(program, timeout=120) != 0:
        raise harness.HarnessError("install-step-bench failed: " + program.log())
    step = [float(w[1]) / 1000 for w in (l.split() for l in program.log().splitlines())
            if len(w) == 2 and w[0] == "install"]
    payload = os.path.join(WIN64, "payload", "Vorlandix.exe")
    copy, synced, spawn = [], [], []
    for run in range(RUNS):
        for kind, times in (("cp", copy), ("sync", synced)):
            folder = s.wine_path("C:\\vx-bench-%s\\%d" % (kind, run))
            target = os.path.join(folder, "Vorlandix.exe")
            start = time.perf_counter()
            os.makedirs(folder)
            subprocess.run(["cp", payload, target], check=True)
            if kind == "sync":  # the step flushes its file before the rename
                subprocess.run(["sync", target], check=True)
            times.append((time.perf_counter() - start) * 1000)
        start = time.perf_counter()
        subprocess.run(["true"], check=True)
        spawn.append((time.perf_counter() - start) * 1000)
    cp, median = statistics.median(copy), statistics.median(step)
    row("install step: folder, write, verify", "OnProgressCreated, %d runs" % len(step),
        median, "ms", "mkdir + cp of the payload, same drive", cp, lambda v, r: r <= 1.5)
    row("install step", "the same", median, "ms",
        "the same cp, less starting a process (true)", cp - statistics.median(spawn))
    row("install step", "the same", median, "ms",
        "mkdir + cp + sync of the copy (fsync)", statistics.median(synced))


# --- peak working set --------------------------------------------------------

def peak_mib(program):
    """The peak and the present anonymous part (heap, pictures, stacks): Wine
    runs each Windows process as one Linux process, whose resident
    high-water mark is the working set's peak, Wine's own libraries included."""
    with open("/proc/%d/status" % program.pid) as f:
        fields = dict(line.split(":", 1) for line in f)
    return tuple(int(fields[k].split()[0]) / 1024 for k in ("VmHWM", "RssAnon"))


def quick_install_peak(s):
    program, _ = installer.start(s)
    installer.click(s, installer.WELCOME_QUICK)
    installer.wait_shown(s, "progress")
    installer.next_to_finish(s)
    sample = peak_mib(program)
    installer.click(s, installer.FINISH_DONE)
    s.wait_exit(program)
    return sample


def minimal_peak(s):
    program = s.launch(os.path.join(WIN64, "minimal-window.exe"))
    s.wait_window(name="^Minimal window$", pid=program)
    time.sleep(0.3)
    sample = peak_mib(program)
    end(program)
    return sample


def memory(s):
    setup = [quick_install_peak(s) for _ in range(INSTALL_RUNS)]
    minimal = [minimal_peak(s) for _ in range(RUNS)]
    peak, reference = (statistics.median(p for p, _ in runs) for runs in (setup, minimal))
    row("peak working set, full quick install", "x86_64 build, wine64 (%d installs)" % INSTALL_RUNS,
        peak, "MiB", "minimal window, shown", reference, lambda v, r: v <= 12)
    row("  above the minimal window", "the same", peak - reference, "MiB", "minimal window, shown", reference)
    row("  anonymous memory at the finish window", "the same",
        statistics.median(a for _, a in setup), "MiB", "minimal window, shown",
        statistics.median(a for _, a in minimal))


def main():
    work = os.path.join(WIN64, "bench-work", "run")
    args = argparse.Namespace(installer=os.path.join(WIN64, "vorlandix-setup.exe"), smoke_window="",
                              build=WIN64, screens=os.path.join(work, "screens"), work=work)
    icon = sizes()
    s = harness.Session(args)
    try:
        s.start()
        launches(s)
        effects(s)
        install_step(s)
        memory(s)
    finally:
        s.close()
    headers = ("figure", "measured on", "value", "reference in the same run", "reference", "ratio", "aim")
    widths = [max(len(str(r[i])) for r in rows + [headers]) for i in range(len(headers))]
    for r in [headers, ["-" * w for w in widths]] + rows:
        print("| " + " | ".join(str(c).ljust(w) for c, w in zip(r, widths)) + " |")
    print("\nMedians. Overhead = exe - payload - assets/pictures/*; the %s bytes of the icon"
          " (assets/app_icon.ico, in .rsrc) count as overhead." % fmt(icon))


main()
