"""Drives the real horavox binary in a real window under the X server and sound server that
the test script started (DISPLAY, PULSE_SERVER, HORAVOX_TEST_SINK)."""
import array
import atexit
import ctypes
import os
import re
import subprocess
import sys
import tempfile
import time

TWIPS_PER_PIXEL = 15
RATE = 22050
BINARY = os.environ.get("HORAVOX_BINARY", "")
ARTIFACTS = os.environ.get("HORAVOX_ARTIFACTS", ".")
SKIPPED = 77

if not os.environ.get("DISPLAY") or not os.environ.get("HORAVOX_TEST_SINK"):
    print("SKIP: needs the display and the sound server that scripts/test starts")
    sys.exit(SKIPPED)
os.makedirs(ARTIFACTS, exist_ok=True)


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def check(condition, message):
    if not condition:
        fail(message)
    print("ok: " + message)


def px(twips):
    return round(twips / TWIPS_PER_PIXEL)


def run(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


class Recording:
    """The null sink's monitor, recorded from now on as 16-bit mono samples into a file (a pipe
    left unread would hold parec back and lose sound). `at(t)` is the monotonic clock's time of
    the sample t seconds into the recording."""

    def __init__(self):
        self.file = tempfile.TemporaryFile()
        self.process = subprocess.Popen(
            ["parec", "-d", os.environ["HORAVOX_TEST_SINK"] + ".monitor", "--rate=%d" % RATE,
             "--channels=1", "--format=s16le", "--latency-msec=10"],
            stdout=self.file)
        # The sound server takes a while to deliver the first samples: time starts with them.
        deadline = time.monotonic() + 10
        while os.fstat(self.file.fileno()).st_size == 0 and time.monotonic() < deadline:
            time.sleep(0.002)
        self.started = time.monotonic() - os.fstat(self.file.fileno()).st_size / 2 / RATE

    def at(self, t):
        return self.started + t

    def stop(self):
        self.process.terminate()
        self.process.wait()
        self.file.seek(0)
        data = self.file.read()
        return array.array("h", data[: len(data) // 2 * 2])


def bursts(samples, threshold=800, gap=0.35):
    """Onset and end times, in seconds, of the stretches of sound separated by `gap` of quiet."""
    frame = RATE // 100
    found, start, last_loud = [], None, None
    for i in range(0, len(samples) - frame, frame):
        loud = max(abs(s) for s in samples[i:i + frame]) > threshold
        t = i / RATE
        if loud:
            if start is None or t - last_loud > gap:
                if start is not None:
                    found.append((start, last_loud))
                start = t
            last_loud = t + 0.01
    if start is not None:
        found.append((start, last_loud))
    return found


class Horavox:
    """The program started from its own folder, as the run script starts it. `wrapper` is a
    command line that runs it in a changed world (a private mount, say)."""

    def __init__(self, extra_env=None, wrapper=(), binary=BINARY, cwd=None, x11=True):
        env = dict(os.environ)
        env.pop("QT_QPA_PLATFORM", None)
        env.update(extra_env or {})
        self.output = tempfile.TemporaryFile()
        self.process = subprocess.Popen([*wrapper, binary], cwd=cwd or os.path.dirname(binary),
                                        env=env, stdout=self.output, stderr=subprocess.STDOUT)
        atexit.register(self.process.kill)  # a failed check leaves nothing running
        self.window = self._wait_for_window() if x11 else None

    def _wait_for_window(self):
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                fail("horavox ended with %s: %s" % (self.process.returncode, self.messages()))
            ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                  str(self.process.pid), "--name", "^Horavox v2.0$"],
                                 capture_output=True, text=True).stdout.split()
            if ids:
                return ids[0]
            time.sleep(0.05)
        fail("no window titled Horavox v2.0 appeared")

    def size_of(self, window):
        return self.geometry(window)[2:]

    def geometry(self, window=None):
        info = run("xwininfo", "-id", window or self.window)
        value = lambda name: int(re.search(name + r":\s+(-?\d+)", info).group(1))
        return (value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"),
                value("Height"))

    def click(self, left, top, width, height):
        """Clicks the middle of a control given in twips."""
        x, y, _, _ = self.geometry()
        run("xdotool", "mousemove", str(x + px(left + width / 2)), str(y + px(top + height / 2)))
        clicked = time.monotonic()
        run("xdotool", "click", "1")
        return clicked

    def type_text(self, text):
        """Replaces the text of the control that has the focus."""
        run("xdotool", "key", "ctrl+a", "BackSpace")
        run("xdotool", "type", "--delay", "2", text)

    def choose_display_mode(self, entry):
        """Opens the display-mode list with a click on its arrow and clicks one of its entries."""
        self.click(6240 + 1455 - 240, 360, 240, 315)
        # The list is a window of its own, named after the program.
        popup, deadline = None, time.monotonic() + 3
        while popup is None and time.monotonic() < deadline:
            time.sleep(0.1)
            popups = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                     str(self.process.pid), "--name", "^horavox$"],
                                    capture_output=True, text=True).stdout.split()
            # A tooltip is such a window too, but not as wide as the list.
            popups = [p for p in popups if abs(self.size_of(p)[0] - px(1455)) <= 4]
            popup = popups[-1] if popups else None
        if popup is None:
            fail("the display-mode list did not open")
        time.sleep(0.2)  # let it settle where it opened
        x, y, w, h = self.geometry(popup)
        row = h / 3
        run("xdotool", "mousemove", str(x + w // 2), str(int(y + row * (entry + 0.5))),
            "click", "1")
        time.sleep(0.5)

    def screenshot(self, name):
        path = os.path.join(ARTIFACTS, name + ".png")
        run("import", "-window", self.window, path)
        return path

    def messages(self):
        """What the program has written, its error messages among it."""
        self.output.seek(0)
        return self.output.read().decode(errors="replace")

    def clock_text_changes(self):
        """True when the actual-time box looks different a second and a half later."""
        self.move_message_aside()
        box = "%dx%d+%d+%d" % (px(1725), px(495), px(2160), px(840))
        first = subprocess.run(["import", "-window", self.window, "-crop", box, "rgb:-"],
                               capture_output=True).stdout
        time.sleep(1.5)
        second = subprocess.run(["import", "-window", self.window, "-crop", box, "rgb:-"],
                                capture_output=True).stdout
        return bool(first) and first != second

    def message_windows(self):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                str(self.process.pid), "--name", "^Horavox v2.0$"],
                               capture_output=True, text=True).stdout.split()
        return [w for w in found if w != self.window]

    def move_message_aside(self):
        """Without a window manager a message box lands on the window; move it off."""
        for window in self.message_windows():
            run("xdotool", "windowmove", window, "700", "600")
        time.sleep(0.2)

    def close_window(self):
        """Asks the window to close, as a window manager's close button does."""
        xlib = ctypes.cdll.LoadLibrary("libX11.so.6")
        xlib.XOpenDisplay.restype = ctypes.c_void_p
        xlib.XInternAtom.restype = ctypes.c_ulong
        display = ctypes.c_void_p(xlib.XOpenDisplay(None))
        protocols = xlib.XInternAtom(display, b"WM_PROTOCOLS", False)
        delete = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", False)

        class ClientMessage(ctypes.Structure):
            _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                        ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                        ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                        ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
                        ("pad", ctypes.c_long * 12)]

        event = ClientMessage(type=33, window=int(self.window), message_type=protocols,
                              format=32)
        event.data[0], event.data[1] = delete, 0
        xlib.XSendEvent(display, ctypes.c_ulong(int(self.window)), False, 0, ctypes.byref(event))
        xlib.XFlush(display)
        xlib.XCloseDisplay(display)
        return time.monotonic()

    def alive(self):
        return self.process.poll() is None

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            fail("horavox did not end when asked to")


def sound_server(action):
    """Stops or starts the sound server this suite runs against, as a desktop restarts it;
    returns when it has done so."""
    if not os.environ.get("HORAVOX_SOUND_DIR"):
        print("SKIP: needs a sound server of its own: scripts/sound-server use KIND -- ...")
        sys.exit(SKIPPED)
    began = time.monotonic()
    subprocess.run([os.environ["HORAVOX_SOUND_SCRIPT"], action, os.environ["HORAVOX_SOUND_DIR"]],
                   check=True)
    print("sound server %s: %.0f ms" % (action, (time.monotonic() - began) * 1000))
    return time.monotonic()


def wait_for_message(app, text, timeout):
    """The monotonic time at which the program has written `text`, or None."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if text in app.messages():
            return time.monotonic()
        time.sleep(0.01)
    return None
