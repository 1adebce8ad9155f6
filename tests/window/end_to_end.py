#!/usr/bin/env python3
"""The quillscan program on a real X server (Xvfb, no window manager).

Usage: end_to_end.py QUILLSCAN_BINARY

Checks that, started in a folder without threads.db5, the program shows only the "错误" box
and exits with code 0 once Return closes it; that, started next to an index, its window has
the program's title, a 1000 x 500 client area, sits in the middle of the screen, and ends the
program with code 0 when it is closed; and that a query typed at once and Enter search, and a
click on a result row puts that row's link on the clipboard. Exits 77 (skipped) when xvfb-run,
xdotool, xwininfo or xclip is missing.
"""

import ctypes
import ctypes.util
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

SCREEN_WIDTH, SCREEN_HEIGHT = 1280, 1024
WINDOW_TITLE = "Tarnwick-精品-原创-Quillscan"
INSIDE_XVFB = "--inside-xvfb"
SKIPPED = 77
TIMEOUT_SECONDS = 20
REQUIRED_TOOLS = ("xvfb-run", "xdotool", "xwininfo", "xclip")
# The middle of the result list's first and second rows, in window coordinates: the list starts
# 50 pixels down, its header is about 32 pixels high and each row about 26.
FIRST_ROW, SECOND_ROW = (100, 95), (100, 121)

quillscan = ""


def find_visible_window(name_pattern):
    """The id of the first visible window whose name matches, or None."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name_pattern],
                           capture_output=True, text=True)
    ids = found.stdout.split()
    return ids[0] if ids else None


def wait_for_window(name_pattern):
    deadline = time.monotonic() + TIMEOUT_SECONDS
    while time.monotonic() < deadline:
        window = find_visible_window(name_pattern)
        if window:
            return window
        time.sleep(0.1)
    raise AssertionError(f"no visible window named {name_pattern!r}")


def wait_for_keyboard_focus(window):
    """Waits until the window has the X keyboard focus, which the program takes itself."""
    deadline = time.monotonic() + TIMEOUT_SECONDS
    while time.monotonic() < deadline:
        focused = subprocess.run(["xdotool", "getwindowfocus"], capture_output=True, text=True)
        if focused.stdout.strip() == window:
            return
        time.sleep(0.1)
    raise AssertionError(f"window {window} never got the keyboard focus")


def window_geometry(window):
    """(left, top, width, height) of the window on the screen, from xwininfo."""
    info = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True,
                          check=True).stdout

    def field(label):
        return int(re.search(rf"{label}:\s+(-?\d+)", info).group(1))

    return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
            field("Height"))


def read_clipboard():
    """The clipboard's text, or None while nobody offers it as text."""
    try:
        read = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                              text=True, timeout=TIMEOUT_SECONDS)
    except subprocess.TimeoutExpired:
        return None
    return read.stdout if read.returncode == 0 else None


def wait_for_clipboard(expected):
    """Polls the clipboard until it holds `expected`; returns what it held last."""
    deadline = time.monotonic() + TIMEOUT_SECONDS
    text = read_clipboard()
    while text != expected and time.monotonic() < deadline:
        time.sleep(0.1)
        text = read_clipboard()
    return text


def close_window(window):
    """Asks the window to close as a window manager's close box does (WM_DELETE_WINDOW)."""

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    xlib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                ctypes.POINTER(Event)]
    xlib.XFlush.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]

    display = xlib.XOpenDisplay(None)
    event = Event()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = int(window)
    event.xclient.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", False)
    event.xclient.format = 32
    event.xclient.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", False)
    xlib.XSendEvent(display, int(window), False, 0, ctypes.byref(event))
    xlib.XFlush(display)
    xlib.XCloseDisplay(display)


class StartUp(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.process = None

    def tearDown(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.folder.cleanup()

    def start(self):
        self.process = subprocess.Popen([quillscan], cwd=self.folder.name)

    def exit_code(self):
        return self.process.wait(timeout=TIMEOUT_SECONDS)

    def test_without_index_only_the_error_box_shows_and_return_ends_with_0(self):
        # Away from the box, so that the keyboard reaches it only if the box took the focus.
        subprocess.run(["xdotool", "mousemove", "0", "0"], check=True)
        self.start()
        box = wait_for_window("^错误$")
        self.assertIsNone(find_visible_window("Quillscan"))
        self.assertIsNone(self.process.poll())

        subprocess.run(["xdotool", "key", "--clearmodifiers", "Return"], check=True)
        self.assertEqual(self.exit_code(), 0)
        self.assertIsNone(find_visible_window("^错误$"), box)

    def test_with_index_the_window_opens_centred_and_closing_it_ends_with_0(self):
        with open(os.path.join(self.folder.name, "threads.db5"), "w", encoding="utf-8") as index:
            index.write("Qt 教程\nhttps://example.org/t/1\n")
        self.start()
        window = wait_for_window("Quillscan")

        name = subprocess.run(["xdotool", "getwindowname", window], capture_output=True,
                              text=True, check=True).stdout.strip()
        self.assertEqual(name, WINDOW_TITLE)
        # No window manager: no frame, so the client area is the whole window.
        self.assertEqual(window_geometry(window),
                         ((SCREEN_WIDTH - 1000) // 2, (SCREEN_HEIGHT - 500) // 2, 1000, 500))
        self.assertIsNone(find_visible_window("^错误$"))

        close_window(window)
        self.assertEqual(self.exit_code(), 0)

    def test_enter_searches_at_once_and_a_click_on_a_row_copies_its_link(self):
        with open(os.path.join(self.folder.name, "threads.db5"), "w", encoding="utf-8") as index:
            index.write("Qt 教程\nhttps://example.org/t/1\n"
                        "其他\nhttps://example.org/t/2\n"
                        "QT 进阶\nhttps://example.org/t/3\n")
        self.start()
        window = wait_for_window("Quillscan")

        # No click into the search box first: it has the focus from the start.
        wait_for_keyboard_focus(window)
        subprocess.run(["xdotool", "type", "--delay", "50", "qt"], check=True)
        subprocess.run(["xdotool", "key", "--clearmodifiers", "Return"], check=True)
        for row, link in ((FIRST_ROW, "https://example.org/t/1"),
                          (SECOND_ROW, "https://example.org/t/3")):
            subprocess.run(["xdotool", "mousemove", "--window", window, str(row[0]), str(row[1]),
                            "click", "1"], check=True)
            self.assertEqual(wait_for_clipboard(link), link)


def main():
    global quillscan
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    if any(shutil.which(tool) is None for tool in REQUIRED_TOOLS):
        print("skipped: " + ", ".join(REQUIRED_TOOLS) + " are needed")
        sys.exit(SKIPPED)
    if sys.argv[1] != INSIDE_XVFB:
        # No reset when the last client leaves: the next program could not connect meanwhile.
        server = f"-screen 0 {SCREEN_WIDTH}x{SCREEN_HEIGHT}x24 -noreset"
        sys.exit(subprocess.run(["xvfb-run", "-a", "-s", server, sys.executable, __file__,
                                 INSIDE_XVFB, sys.argv[1]]).returncode)
    quillscan = os.path.abspath(sys.argv[2])
    os.environ.pop("QT_QPA_PLATFORM", None)
    unittest.main(argv=[sys.argv[0], "-v"])


if __name__ == "__main__":
    main()
