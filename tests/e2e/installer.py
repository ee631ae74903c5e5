"""What the end-to-end tests know about the installer's windows: where
things are, and which window the screen shows, told by pixels."""
import os

from PIL import Image

import harness

PICTURES = os.path.join(os.path.dirname(__file__), "..", "..", "assets", "pictures")

WIDTH, HEIGHT = 588, 438
WELCOME_TITLE = "Vorlandix安装"
BOX_TITLE = "Vorlandix安装程序"

# Window-relative centres of the controls the tests click.
WELCOME_CLOSE = (569, 297)
WELCOME_QUICK = (300, 336)
WELCOME_CUSTOM = (529, 413)
WELCOME_AGREE_BOX = (14, 416)
WELCOME_AGREE_TEXT = (150, 416)
WELCOME_HINT = (350, 408, 462, 424)  # left, top, right, bottom
LOCATION_BROWSE = (542, 365)
LOCATION_BACK = (547, 413)
LOCATION_INSTALL = (464, 413)
LOCATION_EDIT = (261, 364)
PROGRESS_NEXT = (519, 408)
FINISH_DONE = (414, 395)
FINISH_TRY = (174, 395)
FINISH_SHORTCUT_BOX = (30, 300)


def origin(s):
    """Where every window is placed: the centre of the full screen."""
    return (s.screen[0] - WIDTH) // 2, (s.screen[1] - HEIGHT) // 2


def is_green(rgb):
    r, g, b = rgb
    return g > 120 and g > r + 40 and g > b + 20


def is_white(rgb):
    return min(rgb) >= 245


def shown(s, image=None):
    """Which of the four windows the screen shows at the centre: welcome,
    location, progress, finish, or none. Welcome and location share the sky
    banner, progress and finish the white one; the green buttons tell them
    apart."""
    x, y = origin(s)
    sky, quick, install, trynow, bar_border = s.pixels(
        [(x + 5, y + 5), (x + WELCOME_QUICK[0], y + WELCOME_QUICK[1]),
         (x + LOCATION_INSTALL[0], y + LOCATION_INSTALL[1]),
         (x + FINISH_TRY[0], y + FINISH_TRY[1]), (x + 32, y + 360)], image)
    if is_green(quick) and not is_white(sky):
        return "welcome"
    if is_green(install) and not is_white(sky):
        return "location"
    if is_white(sky) and is_green(trynow):
        return "finish"
    if is_white(sky) and max(bar_border) < 200:
        return "progress"
    return "none"


def wait_shown(s, name, timeout=10):
    harness.wait_until(lambda: shown(s) == name, timeout, interval=0.2,
                       what="the %s window on screen (now: %s)" % (name, shown(s)))


def start(s, revealed=None):
    """Launches the installer and waits for WelcomeWindow, fully revealed
    (by default: shown() tells it; else when revealed() says so)."""
    program = s.launch(s.args.installer)
    x, y = origin(s)
    window = s.wait_window_at(x, y, WIDTH, HEIGHT, name=WELCOME_TITLE, timeout=30)
    if revealed:
        harness.wait_until(revealed, 10, what="WelcomeWindow revealed")
    else:
        wait_shown(s, "welcome")
    # LocationWindow is shown and hidden at once while WelcomeWindow opens;
    # Wine unmaps its X window only a moment later, and until then that
    # invisible window takes the clicks.
    harness.wait_until(lambda: [w for w in s.find_windows(pid=program)
                                if s.geometry(w)[2:] == (WIDTH, HEIGHT)] == [window],
                       10, what="WelcomeWindow alone on screen")
    return program, window


def click(s, point):
    """Clicks a window-relative point of the centred windows."""
    x, y = origin(s)
    s.click(x + point[0], y + point[1])


def wait_next_button(s, timeout=10):
    """Waits for ProgressWindow's next button: its grey left border appears."""
    x, y = origin(s)
    harness.wait_until(lambda: max(s.pixel(x + 478, y + 408)) < 230, timeout,
                       what="the next button")


def next_to_finish(s):
    """On a complete ProgressWindow: its next button, then FinishWindow."""
    wait_next_button(s)
    click(s, PROGRESS_NEXT)
    wait_shown(s, "finish")


def hint_shown(s):
    x, y = origin(s)
    left, top, right, bottom = WELCOME_HINT
    points = [(x + px, y + py) for px in range(left, right, 2) for py in range(top, bottom, 2)]
    return any(r > 200 and g < 80 and b < 80 for r, g, b in s.pixels(points))


def message_box(s):
    """The installer's question or message box, once it is on screen."""
    return s.wait_window(name="^" + BOX_TITLE + "$")


def answer(s, box, key):
    """Answers a message box with its button's key (y, n, Return)."""
    s.click(10, 10, window=box)
    s.key(key)
    harness.wait_until(lambda: not s.window_shown(box), 10, what="the message box to close")


def escape(s, point=(300, 290)):
    """Presses Esc in the window on screen, after a click gives it the focus."""
    click(s, point)
    s.key("Escape")


def close(a, b, tolerance=12):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


def shows_picture(s, name, left, top, image=None, rows=None):
    """Whether the screen shows the picture file at window-relative
    (left, top): a grid of its pixels, within JPEG decoding differences."""
    x, y = origin(s)
    source = Image.open(os.path.join(PICTURES, name)).convert("RGB")
    width, height = source.size
    rows = rows or height
    points = [(px, py) for px in range(1, width - 1, max(1, width // 7))
              for py in range(1, rows - 1, max(1, rows // 5))]
    got = s.pixels([(x + left + px, y + top + py) for px, py in points], image)
    return all(close(g, source.getpixel(p)) for g, p in zip(got, points))


def wait_picture(s, name, left, top, what):
    harness.wait_until(lambda: shows_picture(s, name, left, top), 5, interval=0.1, what=what)


def press(s, x, y):
    s.move_mouse(x, y)
    s.xdotool("mousedown", 1)


def release(s):
    s.xdotool("mouseup", 1)
