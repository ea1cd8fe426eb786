"""Real seconds across Berlin's changes of daylight saving time (libfaketime): the timer, read as
a screen reader reads it, counts them, the clock shows the local time, the rows are heard when due.
Then the system's zone set anew under a running program: the clock follows, the timer goes on."""
import atexit
import datetime
import os
import subprocess
import tempfile
import time
import zoneinfo

from horavox_e2e import (CLEAR_PHRASES, EARLY, RESET, FakedClock, Horavox, Recording, check, row,
                         wait_until)

CHANGES = {"autumn": datetime.datetime(2026, 10, 25, 1, tzinfo=datetime.timezone.utc).timestamp(),
           "spring": datetime.datetime(2026, 3, 29, 1, tzinfo=datetime.timezone.utc).timestamp()}
# With Reset 7 s before a change, due 1, 5 and 8 s after it: "02:00:05" shows only in autumn's
# repeated hour, "03:00:05" only in spring, after the skipped hour.
ROWS = [("E", "00:00:08", "eight"), ("A", "02:00:05", "two"), ("A", "03:00:05", "three"),
        ("E", "00:00:15", "fifteen")]
DUE = [1, 5, 8]
ACCESSIBLE = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}


hms = lambda seconds: time.strftime("%H:%M:%S", time.gmtime(seconds))


def shown(app, epoch, zone, timer_start=None):
    """(clock and timer right at the program's epoch just before or after the reading, reading)."""
    before = int(epoch())
    seen = app.text_of("Actual time"), app.text_of("Timer")
    local = lambda s: datetime.datetime.fromtimestamp(s, zoneinfo.ZoneInfo(zone))
    timer = lambda s: ("- " if s < 0 else "") + hms(abs(s))
    return any(seen[0] == local(s).strftime("%H:%M:%S") and
               (timer_start is None or seen[1] == timer(s - timer_start))
               for s in {before, int(epoch())}), seen


def across_the_change(app, recording, clock, season, change):
    wait_until(lambda: not recording.heard(since=time.monotonic() - 1), 15, 0.25)
    set_at = clock.set(change - 6.9)
    app.click(*RESET)  # in the second that ends 7 s before the change
    epoch = lambda: change - 6.9 + time.monotonic() - set_at
    at_change = set_at + 6.9
    wrong = []
    for k in range(-5, 11):
        wait_until(lambda: time.monotonic() > at_change + k + 0.4, 2, 0.01)
        right, seen = shown(app, epoch, "Europe/Berlin", change - 7)
        wrong += [] if right else ["%s, %s at %+d s" % (*seen, k)]
    wait_until(lambda: recording.ended(at_change + DUE[-1]), 15, 0.25)
    app.screenshot("zone-" + season)
    onsets = [t - at_change for t, _ in recording.heard(since=at_change - 6)]
    print(season, "heard at", ["%.2f" % t for t in onsets], "s from the change")
    check(not wrong, "%s: the clock shows Berlin's time and the timer the seconds since Reset (%s)"
          % (season, "; ".join(wrong) or "all 16 readings"))
    check(len(onsets) == len(DUE) and all(d - EARLY < t < d + 0.8 for t, d in zip(onsets, DUE)),
          "%s: the rows are heard 1, 5 and 8 s after the change, and nothing else" % season)


def clock_changes():
    clock = FakedClock()
    clock.set(CHANGES["autumn"] - 60)
    recording = Recording()
    app = Horavox(clock.env | ACCESSIBLE | {"TZ": "Europe/Berlin"})
    app.choose_display_mode(2)
    app.click(*CLEAR_PHRASES)
    for n, texts in enumerate(ROWS):
        for column, text in zip(("mode", "time", "text"), texts):
            app.type_text(text, row(n, column))
    for season, change in CHANGES.items():
        across_the_change(app, recording, clock, season, change)
    app.close()


class SystemZone:
    """The zone read with TZ unset: in the program's own mount namespace /etc/localtime bound to a
    file rewritten in place; else (in a chroot) the link replaced as timedatectl does, restored."""
    LINK = "/etc/localtime"

    def __init__(self):
        self.file = None
        if subprocess.run(["unshare", "-m", "--propagation", "private", "true"]).returncode == 0:
            self.file = tempfile.NamedTemporaryFile(delete=False).name
            atexit.register(os.unlink, self.file)
            self.wrapper = ("unshare", "-m", "--propagation", "private", "sh", "-c",
                            'mount --bind "$0" %s && exec "$@"' % self.LINK, self.file)
        else:
            self.wrapper = ()
            atexit.register(self.link, os.readlink(self.LINK))
        print("the zone is set anew by", "rewriting a bound file" if self.file else "a new link")

    def set(self, zone):
        source = "/usr/share/zoneinfo/" + zone
        if not self.file:
            return self.link(source)
        was = os.stat(self.file).st_mtime
        with open(self.file, "r+b") as f:
            f.truncate(0)
            f.write(open(source, "rb").read())
        os.utime(self.file, (was + 60, was + 60))  # an unchanged time means an unchanged zone

    def link(self, target):
        os.symlink(target, self.LINK + ".horavox")
        os.replace(self.LINK + ".horavox", self.LINK)


def zone_set_anew():
    os.environ.pop("TZ", None)
    zone = SystemZone()
    zone.set("Etc/UTC")
    app = Horavox(ACCESSIBLE, wrapper=zone.wrapper)
    check(wait_until(lambda: shown(app, time.time, "UTC")[0], 5, 0.1), "the clock shows UTC")
    timer_before, read_before = app.text_of("Timer"), time.monotonic()
    zone.set("Asia/Kolkata")
    check(wait_until(lambda: shown(app, time.time, "Asia/Kolkata")[0], 3, 0.1),
          "the zone set anew: the clock shows Kolkata's time at once (%s)"
          % app.text_of("Actual time"))
    wait_until(lambda: time.monotonic() > read_before + 3.5, 5, 0.1)
    passed = int(time.monotonic() - read_before)
    start = sum(int(f) * 60 ** (2 - i) for i, f in enumerate(timer_before.split(":")))
    timer_after = app.text_of("Timer")
    check(timer_after in {hms(start + passed + d) for d in (0, 1, 2)},
          "the timer goes on by the seconds that passed: %s, then %s %d s later"
          % (timer_before, timer_after, passed))
    app.screenshot("zone-set-anew")
    app.close()


clock_changes()
zone_set_anew()
