"""The real program in a real window, heard at the null sink the test script started."""
import array
import atexit
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import wave

RATE = 22050
BINARY = os.environ.get("HORAVOX_BINARY", "")
ARTIFACTS = os.environ.get("HORAVOX_ARTIFACTS", ".")
# Controls as (left, top, width, height) in twips.
RESET, HELP, CLEAR_PHRASES = (240, 360, 735, 375), (1200, 360, 735, 375), (8760, 6840, 1335, 375)
TIMER_BOX, TIME_BOX = (240, 840, 1725, 495), (2160, 840, 1725, 495)  # in "Small Time"
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


# What a failed check leaves beside its picture: each program's output and the sound player's
# account of what it sent, each recording of the sink, and the sound server's own log.
EVIDENCE = []


def fail(message):
    name = "failed-%s" % "-".join(map(os.path.basename, sys.argv))
    picture = os.path.join(ARTIFACTS, name + ".png")
    run("import", "-window", "root", picture, check=False)
    for n, keep in enumerate(EVIDENCE):
        keep(os.path.join(ARTIFACTS, "%s-%d" % (name, n)))
    server = os.environ.get("HORAVOX_SOUND_DIR") or os.path.join(
        os.environ.get("HORAVOX_SOUND_SERVERS", "/nowhere"), "pulseaudio")
    for log in glob.glob(os.path.join(server, "*.log")):
        shutil.copyfile(log, os.path.join(ARTIFACTS, "%s-%s" % (name, os.path.basename(log))))
    print("FAIL: %s (the display: %s, with the evidence beside it)" % (message, picture),
          file=sys.stderr)
    sys.exit(1)


def check(condition, message):
    if not condition:
        fail(message)
    print("ok: " + message)


def assistive_desktop(name):
    """Openbox with assistive technology turned on as a desktop does it (the key the
    accessibility bus mirrors), for a suite on a session bus of its own: a folder of the suite's,
    where everything it starts writes its settings (dconf included), not the machine's."""
    skip_unless(os.environ.get("HORAVOX_OPENBOX_DISPLAY"), "openbox, which scripts/test starts")
    folder = tempfile.mkdtemp(prefix="horavox-%s." % name)
    atexit.register(shutil.rmtree, folder, True)  # after the services have been told to end
    os.environ.update({"DISPLAY": os.environ["HORAVOX_OPENBOX_DISPLAY"], "LANG": "C.UTF-8",
                       "XDG_CONFIG_HOME": os.path.join(folder, "config")})
    # The bus's own services (dconf among them) were started before: they get the folder too.
    run("dbus-update-activation-environment", "XDG_CONFIG_HOME=" + os.environ["XDG_CONFIG_HOME"])
    run("gsettings", "set", "org.gnome.desktop.a11y.applications", "screen-reader-enabled", "true")
    return folder


def stop(process):
    """Ended and gone, so that a run after this one finds none of what this one started."""
    process.terminate()
    try:
        process.wait(15)
    except subprocess.TimeoutExpired:
        process.kill()


def wait_until(condition, timeout, step=0.05):
    deadline = time.monotonic() + timeout
    while not (value := condition()) and time.monotonic() < deadline:
        time.sleep(step)
    return value


def px(twips):
    return round(twips / 15)


def run(*args, check=True, text=True):
    return subprocess.run(args, check=check, capture_output=True, text=text).stdout


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
        EVIDENCE.append(self.keep)
        atexit.register(lambda: process.poll() is None and print("recording: " + self.account()))

    def account(self):
        """How much of the time since the recording began it holds: less is sound lost to it."""
        return "%.2f s of the %.2f s since it began" % (self.size() / 2 / RATE,
                                                        time.monotonic() - self.started)

    def keep(self, path):
        """The recording as a WAV file, with its account."""
        with wave.open(path + ".wav", "wb") as out:
            out.setparams((1, 2, RATE, 0, "NONE", None))
            out.writeframes(os.pread(self.file.fileno(), self.size() // 2 * 2, 0))
        open(path + ".txt", "w").write(self.account() + "\n")

    def size(self):
        return os.fstat(self.file.fileno()).st_size

    def heard(self, gap=0.35, threshold=800, since=0.0):
        """Stretches of sound parted by `gap` of quiet from `since` on: [onset, end], monotonic."""
        first = max(0, int((since - self.started) * RATE))  # samples before `since`
        samples = array.array("h", os.pread(self.file.fileno(), self.size() // 2 * 2, 0))[first:]
        found, frame = [], RATE // 100
        self.until = self.started + (first + len(samples)) / RATE  # what was listened to
        for i in range(0, len(samples) - frame, frame):
            if max(map(abs, samples[i:i + frame])) > threshold:
                t = self.started + (first + i) / RATE
                if found and t - found[-1][1] <= gap:
                    found[-1][1] = t + 0.01
                else:
                    found.append([t, t + 0.01])
        return found

    def ended(self, moment, quiet=1.0):
        """The sound from `moment` on as one burst, once `quiet` seconds of silence follow it."""
        burst = self.heard(quiet, since=moment - EARLY)[:1]
        return next((b for b in burst if self.until - b[1] > quiet), None)


# Sound can seem to start before the click that caused it: a click is timed just before it is
# sent, sound is found in 10 ms frames, and PipeWire's monitor skips some 100 ms when the program's
# stream first joins.
EARLY = 0.2


def heard_after(heard, moment):
    return next((burst for burst in heard if burst[0] > moment - EARLY), None)


def cut_off(app, recording):
    """A long phrase said, cut off by Reset once heard: (the click's moment, the phrase's burst)."""
    app.type_text("This phrase is long enough to go on speaking for many seconds before it ends, "
                  "unless something cuts it off.", SAY_THIS_NOW_TEXT)
    said = app.click(*SAY_THIS_NOW)
    wait_until(lambda: recording.heard(since=said - EARLY), 10, 0.1)
    cut = app.click(*RESET)
    wait_until(lambda: recording.ended(said), 20, 0.1)
    return cut, heard_after(recording.heard(), said)


class FakedClock:
    """The program's wall clock, moved by libfaketime through a file; its timers keep real time."""

    def __init__(self):
        self.stamp = tempfile.NamedTemporaryFile("w", suffix=".faketime", delete=False).name
        atexit.register(os.unlink, self.stamp)
        self.env = {"LD_PRELOAD": "/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1",
                    "FAKETIME_TIMESTAMP_FILE": self.stamp, "FAKETIME_NO_CACHE": "1",
                    "FAKETIME_DONT_FAKE_MONOTONIC": "1"}

    def set(self, epoch_seconds):
        """The program's clock reads `epoch_seconds` from now on: returns now, monotonic."""
        with open(self.stamp, "w") as f:
            f.write("%+.3f\n" % (epoch_seconds - time.time()))
        return time.monotonic()


def choose(arrow, entry):
    """Takes `entry` from the display-mode list whose arrow is at (x, y) on the display, each step
    once the last shows: the list open below its box, then closed (seen left of the pointer)."""
    below = lambda: run("import", "-window", "root", "-crop", "55x24+%d+%d" % (
        arrow[0] - 85, arrow[1] + 14), "rgb:-", text=False)
    grabs = []

    def steady():  # the closed picture once it holds still: a compositor may still be drawing
        grabs.append(below())
        return len(grabs) > 1 and grabs[-1] == grabs[-2] and grabs[-1]
    closed = wait_until(steady, 10, 0.15) or grabs[-1]
    for _ in range(3):  # a click that a busy compositor missed is made again
        run("xdotool", "mousemove", *map(str, arrow), "click", "1")
        if wait_until(lambda: below() != closed, 10, 0.1):
            break
    else:
        fail("the display-mode list did not open")
    run("xdotool", "key", "Home", *["Down"] * entry, "Return")
    wait_until(lambda: below() == closed, 20, 0.1) or fail("the display-mode list stayed open")


class Horavox:
    """Started from its own folder as the run script does; `wrapper` can change its world."""

    def __init__(self, extra_env=None, wrapper=(), binary=BINARY, cwd=None, x11=True):
        env = {k: v for k, v in os.environ.items() if k != "QT_QPA_PLATFORM"}
        # The sound player's account, which it writes out whenever it comes to rest and at its end.
        self.account = account = tempfile.NamedTemporaryFile(prefix="sound-account-")
        env["HORAVOX_SOUND_ACCOUNT"] = account.name
        self.output = tempfile.TemporaryFile()
        EVIDENCE.append(lambda path: open(path + "-output.txt", "w").write(self.messages()))
        EVIDENCE.append(lambda path: shutil.copyfile(account.name, path + "-sound-account.txt"))
        self.process = subprocess.Popen([*wrapper, binary], cwd=cwd or os.path.dirname(binary),
                                        env=env | (extra_env or {}), stdout=self.output,
                                        stderr=subprocess.STDOUT)
        atexit.register(self.process.kill)  # a failed check leaves nothing running
        if not x11:
            return
        found = wait_until(lambda: self.windows("^Horavox v2.0$") or not self.alive(), 30)
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

    def type_text(self, text, into=None):
        if into:
            self.click(*into)
        run("xdotool", "key", "ctrl+a", "BackSpace")
        run("xdotool", "type", "--delay", "2", text)

    def choose_display_mode(self, entry):
        """Takes `entry` from the display-mode list, and waits for the layout's height."""
        x, y, _, _ = self.geometry()
        choose((x + px(6240 + 1455 - 120), y + px(360 + 157)), entry)
        tall = lambda: self.geometry()[3] > px(1900)
        wait_until(lambda: tall() == (entry > 0), 20) or fail("%d px high" % self.geometry()[3])

    def choose_voice(self, name):
        """Types a voice's name into the voice list and chooses it with Enter."""
        self.boxes_aside()  # which, without a window manager, cover the list
        self.type_text(name, (2160, 360, 1725, 315))
        run("xdotool", "key", "Return")

    def screenshot(self, name):
        run("import", "-window", self.window, os.path.join(ARTIFACTS, name + ".png"))

    def messages(self):
        return os.pread(self.output.fileno(), 1 << 20, 0).decode(errors="replace")

    def clock_text_changes(self):
        """Whether the time of day shows four different pictures: a message box moved off it
        (without a window manager one lands on the window) can make three without a tick."""
        self.boxes_aside()
        box, seen = "%dx%d+%d+%d" % (px(1725), px(495), px(2160), px(840)), set()
        grab = lambda: run("import", "-window", self.window, "-crop", box, "rgb:-", check=False,
                           text=False)
        return wait_until(lambda: seen.add(grab()) or len(seen - {b""}) > 3, 10, 0.1)

    def message_windows(self):
        return [w for w in self.windows("^Horavox v2.0$") if w != self.window]

    def accessible(self):
        """The program's objects on the accessibility bus, as a screen reader walks them."""
        import pyatspi  # in the system's Python, which runs the suites that walk them
        stack = [a for a in pyatspi.Registry.getDesktop(0)
                 if a and a.get_process_id() == self.process.pid][:1]
        while stack:
            yield (node := stack.pop())
            stack.extend(child for child in node if child)

    def text_of(self, name):
        """A text box's text as a screen reader reads it: the box is found once, read each time."""
        found = self.__dict__.setdefault("texts", {})
        if name not in found:
            found[name] = next(n for n in self.accessible() if n.name == name
                               and n.getRoleName() == "text").queryText()
        return found[name].getText(0, -1)

    def boxes_aside(self):
        for window in self.message_windows():
            run("xdotool", "windowmove", window, "700", "600")

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



def spawn(*command, **options):
    """A process with its output dropped unless told otherwise, stopped when the suite ends (the
    last spawned first)."""
    process = subprocess.Popen(command, **{"stdout": subprocess.DEVNULL,
                                           "stderr": subprocess.DEVNULL} | options)
    atexit.register(stop, process)
    return process


def pseudo_terminal(consume):
    """A pseudo-terminal's path, its output handed to `consume` chunk by chunk as it comes."""
    import threading
    ours, theirs = os.openpty()
    threading.Thread(target=lambda: [consume(chunk) for chunk in iter(
        lambda: os.read(ours, 1 << 16), b"")], daemon=True).start()
    return os.ttyname(theirs)
