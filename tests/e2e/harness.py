"""End-to-end test harness: runs a Windows program under wine64 on a private
X display and drives it the way a person would.

Each test script is one scenario with its own Xvfb display, its own copy of
the template Wine prefix and its own wineserver; everything the harness
starts is ended by its process id when the scenario finishes.

A test script looks like:

    import harness

    def scenario(s):
        program = s.launch(s.args.installer)
        window = s.wait_window(name="...", timeout=20)
        s.click(40, 30, window=window)
        s.screenshot("after-click")
        assert s.wait_exit(program) == 0

    harness.run(scenario)                       # 1024x768x24
    harness.run(scenario, screen=(1920, 1080))  # another screen size

Command line (from tests/win/win.cmake): --installer, --smoke-window,
--build (the build tree, for helper programs), --screens (screenshot
folder) and --work (scratch folder). The environment
variable VX_KEEP_WORK=1 keeps the scratch Wine prefix for inspection.
"""
import argparse
import ctypes
import glob
import os
import shutil
import signal
import subprocess
import sys
import threading
import time
import traceback

WINE64 = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
# Also the default in scripts/setup.sh.
WINE_TEMPLATE = os.environ.get("VX_WINE_TEMPLATE", "/opt/vorlandix-deps/wine-template")


class HarnessError(AssertionError):
    pass


_libc = ctypes.CDLL(None, use_errno=True)
PR_SET_PDEATHSIG = 1


def _die_with_harness():
    # Runs in the child before exec: if the harness is killed outright (a
    # ctest timeout sends SIGKILL), its children get SIGTERM instead of
    # living on. Wine's own processes end when their wineserver does.
    _libc.prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


def wait_until(condition, timeout, interval=0.1, what="condition"):
    """Polls condition() until it returns something truthy; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise HarnessError("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


_WATCHER = """
import os, subprocess, sys, time
while os.getppid() == int(sys.argv[1]):
    time.sleep(0.5)
subprocess.run([%r, "-k"], timeout=30)
""" % WINESERVER


class Program:
    """A Windows program started by Session.launch."""

    def __init__(self, process, log_path):
        self.process = process
        self.pid = process.pid
        self.log_path = log_path

    @property
    def running(self):
        return self.process.poll() is None

    def log(self):
        # Wine's own messages come in the console code page (936).
        with open(self.log_path, "rb") as f:
            data = f.read()
        try:
            return data.decode("utf-8")
        except UnicodeDecodeError:
            return data.decode("gb18030", "replace")


def copy_prefix(template, target):
    """Copies a Wine prefix made by scripts/setup.sh for one test's use."""
    if not os.path.isfile(os.path.join(template, ".complete")):
        raise HarnessError("no template Wine prefix at %s: run scripts/setup.sh" % template)
    system32 = os.path.join(template, "drive_c", "windows", "system32")

    # Wine's own DLLs (most of the prefix's 700 MB) are only ever read:
    # hard links make the copy take a tenth of a second.
    def copy(source, destination):
        if os.path.commonpath([source, system32]) == system32:
            os.link(source, destination)
        else:
            shutil.copy2(source, destination)

    shutil.copytree(template, target, symlinks=True, copy_function=copy)
    # The user folders are links to the $HOME of whoever made the template;
    # make them real folders inside this prefix.
    users = os.path.join(target, "drive_c", "users")
    for user in os.listdir(users):
        folder = os.path.join(users, user)
        for entry in os.listdir(folder):
            path = os.path.join(folder, entry)
            if os.path.islink(path):
                os.unlink(path)
                os.mkdir(path)


class Session:
    """A private X display, Wine prefix and wineserver. args: the parsed
    command line (see parse_args); its screens and work name the folders."""

    def __init__(self, args, screen=(1024, 768), depth=24):
        self.args = args
        self.name = os.path.basename(os.path.abspath(args.screens))
        self.screen = tuple(screen)
        self.depth = depth
        self.screens = os.path.abspath(args.screens)
        self.work = os.path.abspath(args.work)
        self.prefix = os.path.join(self.work, "prefix")
        self.home = os.path.join(self.work, "home")
        self._children = []  # every process started, ended in reverse order
        self._programs = []
        self._clipboard = None
        self._shot_number = 0
        self.display = None
        self.env = None

    # --- set-up and tear-down ---

    def start(self):
        for folder in (self.screens, self.work):
            shutil.rmtree(folder, ignore_errors=True)
        for folder in (self.screens, self.work, self.home):
            os.makedirs(folder, exist_ok=True)
        self._start_display()
        self._copy_prefix()
        self.env = dict(
            os.environ,
            DISPLAY=self.display,
            HOME=self.home,
            WINEPREFIX=self.prefix,
            WINEDEBUG="-all",
            WINEDLLOVERRIDES="mscoree,mshtml=",
            LANG="zh_CN.UTF-8",
            LC_ALL="zh_CN.UTF-8",
        )
        self.env.pop("WINESERVER", None)
        self._start_wineserver()
        self._start_wine_services()

    def _start_display(self):
        # Xvfb picks a free display number itself and writes it to the pipe
        # once it accepts connections, so parallel tests cannot collide.
        read_end, write_end = os.pipe()
        screen = "%dx%dx%d" % (self.screen[0], self.screen[1], self.depth)
        log = open(os.path.join(self.work, "xvfb.log"), "wb")
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen,
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=log, stderr=subprocess.STDOUT,
            preexec_fn=_die_with_harness)
        os.close(write_end)
        self._children.append(("Xvfb", xvfb))
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n"):
            if time.monotonic() > deadline or xvfb.poll() is not None:
                raise HarnessError("Xvfb did not start (see %s)" % log.name)
            chunk = os.read(read_end, 16)
            if not chunk:
                raise HarnessError("Xvfb closed its display pipe (see %s)" % log.name)
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()

    def _copy_prefix(self):
        copy_prefix(WINE_TEMPLATE, self.prefix)

    def _start_wineserver(self):
        # -f keeps it in the foreground so its pid is ours; -p keeps it
        # alive between programs, saving Wine's start-up for each launch.
        log = open(os.path.join(self.work, "wineserver.log"), "wb")
        server = subprocess.Popen([WINESERVER, "-f", "-p"], env=self.env, stdout=log,
                                  stderr=subprocess.STDOUT)
        self._children.append(("wineserver", server))
        # Should the harness be killed outright, this watcher (its child)
        # sees itself orphaned and ends every Wine process of the prefix.
        watcher = subprocess.Popen([sys.executable, "-c", _WATCHER, str(os.getpid())],
                                   env=self.env, stdin=subprocess.DEVNULL)
        self._children.append(("watcher", watcher))
        # The socket lives in a folder named after the prefix's device and
        # inode, under /tmp/.wine-<uid> or (Debian's Wine) /tmp/wine-XXXXXX.
        st = os.stat(self.prefix)
        server_dir = "server-%x-%x" % (st.st_dev, st.st_ino)
        patterns = ["/tmp/.wine-%d/%s/socket" % (os.getuid(), server_dir),
                    "/tmp/wine-*/%s/socket" % server_dir]

        def ready():
            if server.poll() is not None:
                raise HarnessError("wineserver exited with %s (see %s)" % (server.returncode, log.name))
            return any(glob.glob(p) for p in patterns)

        wait_until(ready, 20, what="the wineserver socket " + server_dir)

    def _start_wine_services(self):
        # The first Wine program of a prefix starts its services (services.exe,
        # winedevice.exe, ...), which stay as long as the persistent
        # wineserver and keep the starter's stdout and stderr open. Starting
        # them here, detached from any output, keeps them away from ctest's
        # pipes (ctest waits for those to close) and from test timings.
        try:
            subprocess.run([WINE64, "wineboot"], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        except subprocess.TimeoutExpired:
            raise HarnessError("wineboot did not finish in 120 s")

    def close(self):
        for name, child in self._children:
            if name == "watcher":
                self._end(name, child)
        if self._clipboard is not None:
            self._end("xclip", self._clipboard)
        for program in self._programs:
            self._end("wine", program.process)
        if self.env is not None:
            try:
                subprocess.run([WINESERVER, "-k"], env=self.env, timeout=20,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            except subprocess.TimeoutExpired:
                pass
        for name, child in reversed(self._children):
            self._end(name, child)
        if os.environ.get("VX_KEEP_WORK") != "1":
            shutil.rmtree(self.prefix, ignore_errors=True)

    @staticmethod
    def _end(name, process):
        if process.poll() is not None:
            return
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait(timeout=5)

    # --- programs ---

    def launch(self, exe, *arguments):
        """Starts a Windows executable (a Linux path) under wine64."""
        if not exe or not os.path.isfile(exe):
            raise HarnessError("no executable at %r" % exe)
        exe = os.path.abspath(exe)  # programs start in HOME
        log_path = os.path.join(self.work, "%s-%d.log" % (os.path.basename(exe), len(self._programs)))
        log = open(log_path, "wb")
        process = subprocess.Popen([WINE64, exe, *arguments], env=self.env, cwd=self.home,
                                   stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
            preexec_fn=_die_with_harness)
        program = Program(process, log_path)
        self._programs.append(program)
        return program

    def wait_exit(self, program, timeout=30):
        """The program's exit code (Wine passes it on; -1 arrives as 255)."""
        try:
            return program.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise HarnessError("program %d still running after %d s" % (program.pid, timeout))

    def wine_path(self, windows_path):
        """The Linux path of a path inside the prefix, e.g. 'C:\\users\\root\\Desktop'."""
        drive, rest = windows_path.split(":", 1)
        if drive.lower() != "c":
            raise HarnessError("only drive C: is mapped into the prefix")
        return os.path.join(self.prefix, "drive_c", *[p for p in rest.split("\\") if p])

    @property
    def desktop(self):
        """The Linux path of the Windows user's desktop folder in the prefix."""
        users = os.path.join(self.prefix, "drive_c", "users")
        names = [n for n in os.listdir(users) if n != "Public"]
        if len(names) != 1:
            raise HarnessError("expected one user in %s, found %r" % (users, names))
        return os.path.join(users, names[0], "Desktop")

    # --- X11 ---

    def xdotool(self, *arguments, check=True):
        result = subprocess.run(["xdotool", *map(str, arguments)], env=self.env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=20)
        if check and result.returncode != 0:
            raise HarnessError("xdotool %s failed: %s" % (" ".join(map(str, arguments)),
                                                        result.stderr.decode(errors="replace")))
        return result.stdout.decode("utf-8", "replace")

    def find_windows(self, name=None, cls=None, pid=None, visible=True):
        """Ids of the X windows matching every given criterion. name and cls
        are regular expressions (a message box's title is its X window's
        name); pid is a Program or a process id."""
        command = ["search"]
        if visible:
            command.append("--onlyvisible")
        if pid is not None:
            command += ["--pid", getattr(pid, "pid", pid)]
        if name is not None:
            command += ["--name", name]
        if cls is not None:
            command += ["--class", cls]
        if pid is None and name is None and cls is None:
            command += ["--name", ""]
        if sum(x is not None for x in (name, cls, pid)) > 1:
            command.insert(1, "--all")
        # xdotool exits 1 when nothing matches.
        return [int(w) for w in self.xdotool(*command, check=False).split()]

    def wait_window(self, timeout=20, **criteria):
        """Waits for a window matching find_windows criteria; returns its id."""
        found = wait_until(lambda: self.find_windows(**criteria), timeout,
                           what="a window with %r" % criteria)
        return found[-1]

    def geometry(self, window):
        """(x, y, width, height) of a window on the screen."""
        values = {}
        for line in self.xdotool("getwindowgeometry", "--shell", window).splitlines():
            key, _, value = line.partition("=")
            values[key] = int(value) if value.lstrip("-").isdigit() else value
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def wait_window_at(self, x, y, width=None, height=None, timeout=20, **criteria):
        """Waits until a matching window sits at (x, y) (and has the size, if
        given); returns its id."""
        def placed():
            for window in self.find_windows(**criteria):
                try:
                    gx, gy, gw, gh = self.geometry(window)
                except HarnessError:
                    continue
                if (gx, gy) == (x, y) and width in (None, gw) and height in (None, gh):
                    return window
            return None

        return wait_until(placed, timeout, what="a window at %d,%d with %r" % (x, y, criteria))

    def window_shown(self, window):
        """Whether the X window still exists and is mapped."""
        result = subprocess.run(["xwininfo", "-id", str(window)], env=self.env,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=10)
        return result.returncode == 0 and b"IsViewable" in result.stdout

    def click(self, x, y, window=None, button=1, double=False):
        """Clicks at screen coordinates, or relative to a window's top-left."""
        if window is not None:
            wx, wy, _, _ = self.geometry(window)
            x, y = wx + x, wy + y
        self.xdotool("mousemove", "--sync", x, y)
        # Wine reads the pointer position from the motion event; give it a beat.
        time.sleep(0.05)
        self.xdotool("click", "--repeat", 2 if double else 1, button)
        time.sleep(0.05)

    def move_mouse(self, x, y, window=None):
        if window is not None:
            wx, wy, _, _ = self.geometry(window)
            x, y = wx + x, wy + y
        self.xdotool("mousemove", "--sync", x, y)

    def key(self, *keys):
        """Presses keys (xdotool names: Return, Escape, Tab, alt+n, ctrl+v).
        Without a window manager the keys go to wherever Wine's focus is:
        click the target first."""
        self.xdotool("key", "--delay", 30, *keys)

    def type_text(self, text):
        """Types ASCII text. Other characters arrive as '?': use paste()."""
        self.xdotool("type", "--delay", 20, text)

    def paste(self, text):
        """Puts UTF-8 text on the clipboard and presses ctrl+v; an edit
        control receives it in code page 936."""
        if self._clipboard is not None:
            self._end("xclip", self._clipboard)
        # -verbose keeps xclip in the foreground (so its pid is ours) and
        # reports each selection request it serves.
        clip = subprocess.Popen(
            ["xclip", "-verbose", "-selection", "clipboard", "-i"], env=self.env,
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
            preexec_fn=_die_with_harness)
        self._clipboard = clip
        clip.stdin.write(text.encode("utf-8"))
        clip.stdin.close()
        state = {"owner": False, "served": 0}

        def follow():
            for line in clip.stdout:
                if line.startswith(b"Waiting for selection requests"):
                    state["owner"] = True
                elif line.strip().startswith(b"Waiting for selection request number"):
                    state["served"] = int(line.split()[-1]) - 1

        threading.Thread(target=follow, daemon=True).start()
        wait_until(lambda: state["owner"], 10, what="xclip to own the clipboard")
        self.key("ctrl+v")
        # Wine asks the X clipboard for the text only when the program reads
        # it; return once it has.
        wait_until(lambda: state["served"] >= 1, 10, what="the program to read the clipboard")

    # --- pictures ---

    def screenshot(self, name):
        """Saves the whole screen as <screens>/NN-name.png; returns the path."""
        self._shot_number += 1
        path = os.path.join(self.screens, "%02d-%s.png" % (self._shot_number, name))
        result = subprocess.run(["import", "-window", "root", path], env=self.env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=30)
        if result.returncode != 0:
            raise HarnessError("screenshot failed: " + result.stderr.decode(errors="replace"))
        return path

    def pixels(self, points, image=None):
        """RGB tuples at screen points [(x, y), ...], from a screenshot file
        or a fresh capture (not kept)."""
        from PIL import Image

        if image is None:
            data = subprocess.run(["import", "-window", "root", "png:-"], env=self.env,
                                  stdout=subprocess.PIPE, check=True, timeout=30).stdout
            import io
            picture = Image.open(io.BytesIO(data)).convert("RGB")
        else:
            picture = Image.open(image).convert("RGB")
        return [picture.getpixel((x, y)) for x, y in points]

    def pixel(self, x, y, image=None):
        return self.pixels([(x, y)], image)[0]

    def wait_pixel(self, x, y, rgb, tolerance=0, timeout=10):
        """Waits until the screen shows a colour at (x, y)."""
        def matches():
            got = self.pixel(x, y)
            return all(abs(a - b) <= tolerance for a, b in zip(got, rgb))

        return wait_until(matches, timeout, interval=0.2,
                          what="colour %r at %d,%d" % (rgb, x, y))


def parse_args(argv=None):
    parser = argparse.ArgumentParser()
    parser.add_argument("--installer", default="", help="the installer exe (x86_64 build)")
    parser.add_argument("--smoke-window", default="", help="the harness's test window exe")
    parser.add_argument("--screens", required=True, help="folder for this test's screenshots")
    parser.add_argument("--work", required=True, help="scratch folder (Wine prefix, HOME, logs)")
    parser.add_argument("--build", default="", help="the build tree (test helper programs)")
    args, _ = parser.parse_known_args(argv)
    return args


def run(scenario, screen=(1024, 768), depth=24, deadline=270, argv=None):
    """Runs scenario(session) on a fresh display and prefix; exits the
    process with 0 when it returns, 1 when it raises or runs longer than
    deadline seconds (kept below ctest's TIMEOUT of 300 so that the harness,
    not ctest, ends the processes)."""
    args = parse_args(argv)

    def on_term(signum, frame):
        raise SystemExit("terminated by signal %d" % signum)

    def on_alarm(signum, frame):
        raise HarnessError("the scenario ran longer than %d s" % deadline)

    signal.signal(signal.SIGTERM, on_term)
    signal.signal(signal.SIGALRM, on_alarm)
    signal.alarm(deadline)
    session = Session(args, screen=screen, depth=depth)
    status = 1
    try:
        session.start()
        scenario(session)
        status = 0
        print("e2e %s: passed" % session.name)
    except BaseException:
        traceback.print_exc()
        if session.display:
            try:
                print("last screen: " + session.screenshot("failure"))
            except Exception:
                pass
        for program in session._programs:
            print("--- wine log %s ---\n%s" % (program.log_path, program.log()[-3000:]))
        print("e2e %s: FAILED" % session.name)
    finally:
        signal.alarm(0)
        session.close()
    sys.exit(status)


# --- command line, for scripts/test.sh and scripts/run.sh ---
#   harness.py session --work DIR [--screen WxH] -- COMMAND...
#       runs COMMAND with DISPLAY, WINEPREFIX etc. of a fresh session
#       (a suite of unit tests shares one); exits with COMMAND's code.
#   harness.py show --work DIR --exe EXE [--screen WxH] [--delay S]
#       launches EXE, waits for its first window, waits S seconds, saves a
#       screenshot in DIR and prints its path.


def _size(text):
    width, _, height = text.lower().partition("x")
    return int(width), int(height)


def _command_line():
    parser = argparse.ArgumentParser(prog="harness.py")
    modes = parser.add_subparsers(dest="mode", required=True)
    for mode in ("session", "show"):
        sub = modes.add_parser(mode)
        sub.add_argument("--work", required=True)
        sub.add_argument("--screen", type=_size, default=(1024, 768))
        if mode == "session":
            sub.add_argument("command", nargs=argparse.REMAINDER)
        else:
            sub.add_argument("--exe", required=True)
            sub.add_argument("--delay", type=float, default=3.0)
            sub.add_argument("--timeout", type=float, default=30.0)
    args = parser.parse_args()
    args.screens = os.path.join(args.work, "screens")

    def on_term(signum, frame):
        raise SystemExit(128 + signum)

    signal.signal(signal.SIGTERM, on_term)
    session = Session(args, screen=args.screen)
    try:
        if args.mode == "show" and not os.path.isfile(args.exe):
            raise HarnessError("no executable at %s" % args.exe)
        session.start()
        if args.mode == "session":
            command = args.command[1:] if args.command[:1] == ["--"] else args.command
            if not command:
                parser.error("session needs a command after --")
            return subprocess.run(command, env=session.env).returncode
        program = session.launch(os.path.abspath(args.exe))
        session.wait_window(pid=program, timeout=args.timeout)
        time.sleep(args.delay)
        print(session.screenshot("window"))
        if not program.running:
            print("the program exited with code %d" % program.process.returncode)
        return 0
    except HarnessError as e:
        print("harness: ERROR: %s" % e, file=sys.stderr)
        return 1
    finally:
        session.close()


if __name__ == "__main__":
    sys.exit(_command_line())
