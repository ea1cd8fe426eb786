"""Drives the real horavox binary in a real window under the X server and sound server that
the test script started (DISPLAY, PULSE_SERVER, HORAVOX_TEST_SINK)."""
import array
import atexit
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
    """The program started from its own folder, as the run script starts it."""

    def __init__(self, extra_env=None):
        env = dict(os.environ, **(extra_env or {}))
        env.pop("QT_QPA_PLATFORM", None)
        self.process = subprocess.Popen([BINARY], cwd=os.path.dirname(BINARY), env=env,
                                        stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        atexit.register(self.process.kill)  # a failed check leaves nothing running
        self.window = self._wait_for_window()

    def _wait_for_window(self):
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                fail("horavox ended with %s: %s" % (self.process.returncode,
                                                   self.process.stdout.read().decode()))
            ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                  str(self.process.pid), "--name", "^Horavox v2.0$"],
                                 capture_output=True, text=True).stdout.split()
            if ids:
                return ids[0]
            time.sleep(0.05)
        fail("no window titled Horavox v2.0 appeared")

    def geometry(self):
        info = run("xwininfo", "-id", self.window)
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
        time.sleep(0.3)
        # The list is a window of its own, named after the program.
        popups = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                 str(self.process.pid), "--name", "^horavox$"],
                                capture_output=True, text=True).stdout.split()
        popup = popups[-1] if popups else None
        if popup is None:
            fail("the display-mode list did not open")
        info = run("xwininfo", "-id", popup)
        value = lambda name: int(re.search(name + r":\s+(-?\d+)", info).group(1))
        x, y = value("Absolute upper-left X"), value("Absolute upper-left Y")
        w, h = value("Width"), value("Height")
        row = h / 3
        run("xdotool", "mousemove", str(x + w // 2), str(int(y + row * (entry + 0.5))),
            "click", "1")
        time.sleep(0.5)

    def screenshot(self, name):
        path = os.path.join(ARTIFACTS, name + ".png")
        run("import", "-window", self.window, path)
        return path

    def alive(self):
        return self.process.poll() is None

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            fail("horavox did not end when asked to")
