"""Beside a braille display alone: BRLTTY's AT-SPI screen driver on the suite's own session and
bus, its display the TTY braille driver on a pseudo-terminal, read as a terminal shows it."""
import os
import re
import shutil
import subprocess
import threading
import time

from horavox_e2e import (ARTIFACTS, TIME_BOX, TIMER_BOX, TIMER_START, Horavox, assistive_desktop,
                         check, pseudo_terminal, run, skip_unless, spawn, stop, wait_until)

skip_unless(shutil.which("brltty"), "brltty")
try:
    import pyte  # a terminal emulator: the braille driver rewrites only the cells that changed
except ImportError:
    skip_unless(False, "python3-pyte")
assistive_desktop("brltty")
LOG = os.path.join(ARTIFACTS, "brltty.log")  # kept for a look after a failure
TABLE = "en_US"  # the braille display's text table, and how its cells are read back
CLOCK = re.compile(r"-? ?\d\d+:\d\d:\d\d")
COLUMNS = 40


class Display:
    """BRLTTY's braille window, as a terminal of its size shows it, read back as text."""

    def __init__(self):
        self.screen = pyte.Screen(COLUMNS, 1)
        self.stream = pyte.ByteStream(self.screen)
        self.lock = threading.Lock()
        # Each of the 256 cells as the text table's character, read back by BRLTTY's own tool.
        cells = "".join(chr(0x2800 + dots) for dots in range(256))
        self.read_as = dict(zip(cells, subprocess.run(
            ["brltty-trtxt", "-i", "unicode", "-o", TABLE], input=cells, capture_output=True,
            text=True, check=True).stdout))
        self.process = spawn(
            "brltty", "-n", "-N", "-e", "-f", "/dev/null", "-s", "no", "-t", TABLE, "-x", "a2",
            "-b", "tt", "-d", "serial:" + pseudo_terminal(self.follow),
            "-B", "term=vt100,lines=1,columns=%d" % COLUMNS, "-l", "debug", stderr=open(LOG, "w"))

    def follow(self, chunk):
        with self.lock:
            self.stream.feed(chunk)

    def shown(self):
        """The text shown, the cursor (dots 7 and 8 together) left out."""
        with self.lock:
            cells = self.screen.display[0]
        cursor = lambda c: 0x2800 <= ord(c) <= 0x28FF and ord(c) & 0xC0 == 0xC0
        unmarked = (chr(ord(c) & ~0xC0) if cursor(c) else c for c in cells)
        return "".join(self.read_as.get(c, c) for c in unmarked).strip()


def follows_the_clock(app, display, box, name):
    """The box clicked: its time shown, and over 6 s each change of the display once."""
    app.click(*box)
    check(wait_until(lambda: CLOCK.fullmatch(display.shown()), 10),
          "%s clicked: the display shows its time: %r (%s)" % (name, display.shown(), LOG))
    seen, deadline = [], time.monotonic() + 6
    while time.monotonic() < deadline:
        seen += [display.shown()] if not seen or display.shown() != seen[-1] else []
        time.sleep(0.05)
    times = [shown for shown in seen if CLOCK.fullmatch(shown)]
    check(len(set(times)) >= 5 and len(times) == len(seen),
          "%s: the display follows the clock, only times on it, %d different in 6 s: %s"
          % (name, len(set(times)), seen))


display = Display()
check(wait_until(display.shown, 15), "BRLTTY is up and its display shows its name: %r"
      % display.shown())
app = Horavox()
# The rig on a plain text box first, so that an empty display is never the rig's fault (BRLTTY 6.7
# shows no button, only text widgets).
app.click(*TIMER_START)
check(wait_until(lambda: display.shown() == "00:00:00", 10),
      "a plain text box clicked: the display shows its text: %r (%s)" % (display.shown(), LOG))
run("xdotool", "key", "End", "BackSpace", "7")
check(wait_until(lambda: display.shown() == "00:00:07", 10),
      "typed into: the display follows: %r" % display.shown())
follows_the_clock(app, display, TIME_BOX, "the time of day")
follows_the_clock(app, display, TIMER_BOX, "the timer")
app.close()
stop(display.process)
with open(LOG) as log:
    astray = [line for line in log if "past end" in line]
check(not astray, "BRLTTY applied every text event to the text it held: %s" % astray[:3])
