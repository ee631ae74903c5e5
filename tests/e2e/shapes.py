"""Watches the X shapes of top-level windows as the X server applies them.

Every window created on the display after start() is asked for its shape
events (X SHAPE extension), so each region a program sets arrives in order,
with the extents it gave the window, however fast the frames follow each
other: polling xwininfo or screenshots can miss a 5 ms frame, the event
queue cannot. A snapshot rule may also capture the screen right at a chosen
shape event: the server is grabbed, so the picture and the shape read with
it show the same moment.

All Xlib calls happen on the watcher's own thread and connection."""
import ctypes
import ctypes.util
import select
import threading

from PIL import Image

import harness

_x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
_xext = ctypes.CDLL(ctypes.util.find_library("Xext") or "libXext.so.6")

_Window = ctypes.c_ulong
_x11.XOpenDisplay.restype = ctypes.c_void_p
_x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_x11.XDefaultRootWindow.restype = _Window
_x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_x11.XSelectInput.argtypes = [ctypes.c_void_p, _Window, ctypes.c_long]
_x11.XPending.argtypes = [ctypes.c_void_p]
_x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
_x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
_x11.XFlush.argtypes = [ctypes.c_void_p]
_x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
_x11.XGrabServer.argtypes = [ctypes.c_void_p]
_x11.XUngrabServer.argtypes = [ctypes.c_void_p]
_x11.XGetImage.restype = ctypes.c_void_p
_x11.XGetImage.argtypes = [ctypes.c_void_p, _Window, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                           ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
_x11.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XDestroyImage.argtypes = [ctypes.c_void_p]
_x11.XFree.argtypes = [ctypes.c_void_p]
_x11.XSetErrorHandler.restype = ctypes.c_void_p
_xext.XShapeQueryExtension.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                       ctypes.POINTER(ctypes.c_int)]
_xext.XShapeSelectInput.argtypes = [ctypes.c_void_p, _Window, ctypes.c_ulong]
_xext.XShapeGetRectangles.restype = ctypes.c_void_p
_xext.XShapeGetRectangles.argtypes = [ctypes.c_void_p, _Window, ctypes.c_int,
                                      ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]

CREATE_NOTIFY, DESTROY_NOTIFY = 16, 17
SUBSTRUCTURE_NOTIFY_MASK, STRUCTURE_NOTIFY_MASK = 1 << 19, 1 << 17
SHAPE_NOTIFY_MASK, SHAPE_BOUNDING = 1, 0
Z_PIXMAP, ALL_PLANES = 2, 0xFFFFFFFF


class _XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("pad", ctypes.c_long * 24)]


class _Header(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p)]


class _CreateWindowEvent(ctypes.Structure):
    _fields_ = _Header._fields_ + [("parent", _Window), ("window", _Window)]


class _DestroyWindowEvent(ctypes.Structure):
    _fields_ = _Header._fields_ + [("event", _Window), ("window", _Window)]


class _ShapeEvent(ctypes.Structure):
    _fields_ = _Header._fields_ + [
        ("window", _Window), ("kind", ctypes.c_int), ("x", ctypes.c_int), ("y", ctypes.c_int),
        ("width", ctypes.c_uint), ("height", ctypes.c_uint), ("time", ctypes.c_ulong),
        ("shaped", ctypes.c_int)]


class _Rectangle(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort)]


class _XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


# A window may be gone by the time its events are asked for (Wine makes and
# drops helper windows): such errors are expected, not fatal.
_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)


class Shape:
    """One bounding shape set on a window: its extents (x, y, width, height;
    0 x 0 for an empty shape) and the server time in milliseconds."""

    def __init__(self, window, extents, time):
        self.window, self.extents, self.time = window, extents, time

    def __repr__(self):
        return "Shape(%#x, %r, t=%d)" % (self.window, self.extents, self.time)


class Snapshot:
    """The screen and a window's shape rectangles at one moment."""

    def __init__(self, shape, image, rectangles):
        self.shape, self.image, self.rectangles = shape, image, rectangles


class Watcher:
    def __init__(self, display):
        self._display_name = display.encode()
        self._lock = threading.Lock()
        self._shapes = []
        self._destroyed = {}  # window -> how many shapes had arrived then
        self._rules = []  # [name, condition], taken by the first matching shape
        self.snapshots = {}
        self._stop = threading.Event()
        self._ready = threading.Event()
        self._failure = None
        self._thread = threading.Thread(target=self._run, daemon=True)

    def start(self):
        self._thread.start()
        self._ready.wait(10)
        if self._failure or not self._ready.is_set():
            raise harness.HarnessError("shape watcher: %s" % (self._failure or "did not start"))
        return self

    def stop(self):
        self._stop.set()
        self._thread.join(10)
        if self._failure:
            raise harness.HarnessError("shape watcher: %s" % self._failure)

    def snapshot_at(self, name, condition):
        """Captures the screen at the first shape for which condition(shape) holds."""
        with self._lock:
            self._rules.append([name, condition])

    def shapes(self, window=None):
        with self._lock:
            return [s for s in self._shapes if window is None or s.window == window]

    def shapes_before_destroy(self, window):
        """The window's shapes that arrived before it was destroyed; None while it lives."""
        with self._lock:
            if window not in self._destroyed:
                return None
            return [s for s in self._shapes[:self._destroyed[window]] if s.window == window]

    # --- the watcher's thread ---

    def _run(self):
        display = _x11.XOpenDisplay(self._display_name)
        if not display:
            self._failure = "cannot open display %s" % self._display_name.decode()
            return
        try:
            self._watch(display)
        except Exception as e:  # reported by stop()
            self._failure = repr(e)
        finally:
            _x11.XCloseDisplay(display)

    def _watch(self, display):
        _x11.XSetErrorHandler(_ERROR_HANDLER)
        base, error_base = ctypes.c_int(), ctypes.c_int()
        if not _xext.XShapeQueryExtension(display, ctypes.byref(base), ctypes.byref(error_base)):
            raise harness.HarnessError("the X server has no SHAPE extension")
        root = _x11.XDefaultRootWindow(display)
        _x11.XSelectInput(display, root, SUBSTRUCTURE_NOTIFY_MASK)
        _x11.XSync(display, 0)
        self._ready.set()
        event = _XEvent()
        fd = _x11.XConnectionNumber(display)
        while not self._stop.is_set():
            if not _x11.XPending(display):
                select.select([fd], [], [], 0.05)
                continue
            _x11.XNextEvent(display, ctypes.byref(event))
            if event.type == CREATE_NOTIFY:
                window = ctypes.cast(ctypes.byref(event), ctypes.POINTER(_CreateWindowEvent))[0].window
                _xext.XShapeSelectInput(display, window, SHAPE_NOTIFY_MASK)
                _x11.XSelectInput(display, window, STRUCTURE_NOTIFY_MASK)
                _x11.XFlush(display)
            elif event.type == DESTROY_NOTIFY:
                window = ctypes.cast(ctypes.byref(event), ctypes.POINTER(_DestroyWindowEvent))[0].window
                with self._lock:
                    self._destroyed.setdefault(window, len(self._shapes))
            elif event.type == base.value:
                e = ctypes.cast(ctypes.byref(event), ctypes.POINTER(_ShapeEvent))[0]
                if e.kind == SHAPE_BOUNDING:
                    self._shaped(display, root, Shape(e.window, (e.x, e.y, e.width, e.height), e.time))

    def _shaped(self, display, root, shape):
        with self._lock:
            self._shapes.append(shape)
            rule = next((r for r in self._rules if r[1](shape)), None)
            if rule:
                self._rules.remove(rule)
        if rule:
            self.snapshots[rule[0]] = self._capture(display, root, shape)

    def _capture(self, display, root, shape):
        _x11.XGrabServer(display)
        try:
            pointer = _x11.XGetImage(display, root, 0, 0, _x11.XDisplayWidth(display, 0),
                                     _x11.XDisplayHeight(display, 0), ALL_PLANES, Z_PIXMAP)
            count, ordering = ctypes.c_int(), ctypes.c_int()
            rects = _xext.XShapeGetRectangles(display, shape.window, SHAPE_BOUNDING,
                                              ctypes.byref(count), ctypes.byref(ordering))
        finally:
            _x11.XUngrabServer(display)
            _x11.XFlush(display)
        rectangles = []
        if rects:
            array = ctypes.cast(rects, ctypes.POINTER(_Rectangle))
            rectangles = [(r.x, r.y, r.x + r.width, r.y + r.height)
                          for r in (array[i] for i in range(count.value))]
            _x11.XFree(rects)
        image = None
        if pointer:
            x = ctypes.cast(pointer, ctypes.POINTER(_XImage))[0]
            data = ctypes.string_at(x.data, x.bytes_per_line * x.height)
            image = Image.frombuffer("RGB", (x.width, x.height), data, "raw", "BGRX", x.bytes_per_line, 1)
            _x11.XDestroyImage(pointer)
        return Snapshot(shape, image, rectangles)
