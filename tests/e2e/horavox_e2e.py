"""The real program in a real window, heard at the null sink the test script started."""
import array
import atexit
import os
import re
import subprocess
import sys
import tempfile
import time

RATE = 22050
BINARY = os.environ.get("HORAVOX_BINARY", "")
ARTIFACTS = os.environ.get("HORAVOX_ARTIFACTS", ".")
# Controls as (left, top, width, height) in twips.
RESET, HELP, CLEAR_PHRASES = (240, 360, 735, 375), (1200, 360, 735, 375), (8760, 6840, 1335, 375)
TIMER_MODE, TIMER_START = (4080, 360, 615, 315), (5160, 360, 855, 285)
SAY_THIS_NOW, SAY_THIS_NOW_TEXT = (240, 6360, 1335, 255), (1680, 6360, 8400, 285)


def row(n, column):
    left, width = {"mode": (240, 255), "time": (600, 975), "text": (1680, 8400)}[column]
    return left, 1560 + 480 * n, width, 285


def skip_unless(condition, needs):
    if not condition:
        print("SKIP: needs " + needs)
        sys.exit(77)  # skipped


skip_unless(os.environ.get("DISPLAY") and os.environ.get("HORAVOX_TEST_SINK"),
            "the display and the sound server that scripts/test starts")
os.makedirs(ARTIFACTS, exist_ok=True)


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def check(condition, message):
    if not condition:
        fail(message)
    print("ok: " + message)


def wait_until(condition, timeout, step=0.05):
    deadline = time.monotonic() + timeout
    while not (value := condition()) and time.monotonic() < deadline:
        time.sleep(step)
    return value


def px(twips):
    return round(twips / 15)


def run(*args, check=True):
    return subprocess.run(args, check=check, capture_output=True, text=True).stdout


class Recording:
    """The null sink's monitor from now on, into a file (a pipe left unread would hold parec back
    and lose sound); it runs until the suite ends or the server goes."""

    def __init__(self):
        self.file = tempfile.TemporaryFile()
        process = subprocess.Popen(
            ["parec", "-d", os.environ["HORAVOX_TEST_SINK"] + ".monitor", "--rate=%d" % RATE,
             "--channels=1", "--format=s16le", "--latency-msec=10"], stdout=self.file)
        atexit.register(process.kill)
        wait_until(self.size, 10, 0.002)  # time starts with the first samples the server delivers
        self.started = time.monotonic() - self.size() / 2 / RATE

    def size(self):
        return os.fstat(self.file.fileno()).st_size

    def heard(self, gap=0.35, threshold=800):
        """Stretches of sound parted by `gap` of quiet: [onset, end] on the monotonic clock."""
        samples = array.array("h", os.pread(self.file.fileno(), self.size() // 2 * 2, 0))
        found, frame = [], RATE // 100
        for i in range(0, len(samples) - frame, frame):
            if max(map(abs, samples[i:i + frame])) > threshold:
                t = self.started + i / RATE
                if found and t - found[-1][1] <= gap:
                    found[-1][1] = t + 0.01
                else:
                    found.append([t, t + 0.01])
        return found


# Sound can seem to start before the click that caused it: a click is timed just before it is
# sent, sound is found in 10 ms frames, and PipeWire's monitor skips some 100 ms when the program's
# stream first joins.
EARLY = 0.2


def heard_after(heard, moment):
    return next((burst for burst in heard if burst[0] > moment - EARLY), None)


class Horavox:
    """Started from its own folder as the run script does; `wrapper` can change its world."""

    def __init__(self, extra_env=None, wrapper=(), binary=BINARY, cwd=None, x11=True):
        env = {k: v for k, v in os.environ.items() if k != "QT_QPA_PLATFORM"}
        self.output = tempfile.TemporaryFile()
        self.process = subprocess.Popen([*wrapper, binary], cwd=cwd or os.path.dirname(binary),
                                        env=env | (extra_env or {}), stdout=self.output,
                                        stderr=subprocess.STDOUT)
        atexit.register(self.process.kill)  # a failed check leaves nothing running
        if not x11:
            return
        found = wait_until(lambda: self.windows("^Horavox v2.0$") or not self.alive(), 15)
        if not self.alive():
            fail("horavox ended with %s: %s" % (self.process.returncode, self.messages()))
        self.window = found[0] if found else fail("no window titled Horavox v2.0 appeared")

    # The program's windows, of that title where one is given: both must match, as a window
    # manager may draw the frame as a window of its own that carries the title too.
    def windows(self, name=None):
        title = ["--all", "--name", name] if name else []
        return run("xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid), *title,
                   check=False).split()

    def geometry(self, window=None):
        info = run("xwininfo", "-id", window or self.window)
        value = lambda name: int(re.search(name + r":\s+(-?\d+)", info).group(1))
        return (value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"),
                value("Height"))

    def click(self, left, top, width, height):
        x, y, _, _ = self.geometry()
        run("xdotool", "mousemove", str(x + px(left + width / 2)), str(y + px(top + height / 2)))
        clicked = time.monotonic()
        run("xdotool", "click", "1")
        return clicked

    def type_text(self, text):
        run("xdotool", "key", "ctrl+a", "BackSpace")
        run("xdotool", "type", "--delay", "2", text)

    def choose_display_mode(self, entry):
        self.click(6240 + 1455 - 240, 360, 240, 315)
        # The list is a window of its own, with no title; a tooltip is one too, narrower.
        popups = wait_until(lambda: [p for p in self.windows()
                                     if abs(self.geometry(p)[2] - px(1455)) <= 4], 3, 0.1)
        if not popups:
            fail("the display-mode list did not open")
        time.sleep(0.2)  # let it settle where it opened
        x, y, w, h = self.geometry(popups[-1])
        run("xdotool", "mousemove", str(x + w // 2), str(int(y + h / 3 * (entry + 0.5))),
            "click", "1")
        time.sleep(0.5)

    def choose_voice(self, name):
        """Types a voice's name into the voice list and chooses it with Enter."""
        for box in self.message_windows():  # without a window manager, a box covers the list
            run("xdotool", "windowmove", box, "700", "600")
        self.click(2160, 360, 1725, 315)
        self.type_text(name)
        run("xdotool", "key", "Return")

    def screenshot(self, name):
        run("import", "-window", self.window, os.path.join(ARTIFACTS, name + ".png"))

    def messages(self):
        return os.pread(self.output.fileno(), 1 << 20, 0).decode(errors="replace")

    def clock_text_changes(self):
        # Without a window manager a message box lands on the window.
        for window in self.message_windows():
            run("xdotool", "windowmove", window, "700", "600")
        time.sleep(0.2)
        box = "%dx%d+%d+%d" % (px(1725), px(495), px(2160), px(840))
        grab = lambda: subprocess.run(["import", "-window", self.window, "-crop", box, "rgb:-"],
                                      capture_output=True).stdout
        first = grab()
        time.sleep(1.5)
        return bool(first) and first != grab()

    def message_windows(self):
        return [w for w in self.windows("^Horavox v2.0$") if w != self.window]

    def alive(self, within=0):
        try:
            self.process.wait(within)
        except subprocess.TimeoutExpired:
            pass
        return self.process.poll() is None

    def close(self):
        self.process.terminate()
        if self.alive(within=5):
            fail("horavox did not end when asked to")

