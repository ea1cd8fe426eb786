"""Real seconds. The program in Berlin's zone, its wall clock moved by libfaketime to just before
each change of daylight saving time: the timer, read from the window as a screen reader reads it,
counts the seconds that pass, the clock shows the local time, and the rows are heard at their
seconds. Then the system's zone set anew while the program runs, with TZ unset: the clock follows
at once and the timer does not move."""
import atexit
import datetime
import os
import shutil
import subprocess
import tempfile
import time
import zoneinfo

from horavox_e2e import (CLEAR_PHRASES, EARLY, RESET, FakedClock, Horavox, Recording, check, row,
                         wait_until)

BERLIN = "Europe/Berlin"
CHANGES = {"autumn": datetime.datetime(2026, 10, 25, 1, 0, tzinfo=datetime.timezone.utc),
           "spring": datetime.datetime(2026, 3, 29, 1, 0, tzinfo=datetime.timezone.utc)}
# Reset seven seconds before a change, these rows fall due 1, 5 and 8 s after it: the clock shows
# "02:00:05" only in autumn's repeated hour and "03:00:05" only in spring, after the skipped hour.
ROWS = [("E", "00:00:08", "eight"), ("A", "02:00:05", "two"), ("A", "03:00:05", "three"),
        ("E", "00:00:15", "fifteen")]
DUE = [1, 5, 8]
ACCESSIBLE = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}


def local_text(epoch, zone):
    return datetime.datetime.fromtimestamp(int(epoch), zoneinfo.ZoneInfo(zone)).strftime("%H:%M:%S")


def read_displays(app, epoch):
    """The clock and timer texts, and the program's epoch seconds before and after reading them."""
    before = epoch()
    texts = app.text_of("Actual time"), app.text_of("Timer")
    return texts, {int(before), int(epoch())}


def timer_text(seconds):
    return "%s%02d:%02d:%02d" % ("- " if seconds < 0 else "", abs(seconds) // 3600,
                                 abs(seconds) // 60 % 60, abs(seconds) % 60)


def across_the_change(app, recording, clock, season, change):
    wait_until(lambda: not recording.heard(since=time.monotonic() - 1), 15, 0.25)
    set_at = clock.set(change - 6.9)
    app.click(*RESET)  # in the second that ends 7 s before the change
    start = change - 7
    epoch = lambda: change - 6.9 + time.monotonic() - set_at
    at_change = set_at + 6.9
    wrong = []
    for k in range(-5, 11):
        wait_until(lambda: time.monotonic() > at_change + k + 0.4, 2, 0.01)
        (clock_seen, timer_seen), seconds = read_displays(app, epoch)
        if not any(clock_seen == local_text(s, BERLIN) and timer_seen == timer_text(s - start)
                   for s in seconds):
            wrong.append("%s, %s at %s" % (clock_seen, timer_seen, local_text(min(seconds), BERLIN)))
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
    clock.set(CHANGES["autumn"].timestamp() - 60)
    recording = Recording()
    app = Horavox(clock.env | ACCESSIBLE | {"TZ": BERLIN})
    app.choose_display_mode(2)
    app.click(*CLEAR_PHRASES)
    for n, (kind, at, phrase) in enumerate(ROWS):
        app.type_text(kind, row(n, "mode"))
        app.type_text(at, row(n, "time"))
        app.type_text(phrase, row(n, "text"))
    for season, change in CHANGES.items():
        across_the_change(app, recording, clock, season, change.timestamp())
    app.close()


class SystemZone:
    """Sets the zone the program reads with TZ unset, as the desktop's settings do. In a mount
    namespace of the program's own, /etc/localtime is bound to a file rewritten in place; where
    no such namespace can be made (in a chroot), the system's own link is replaced, as timedatectl
    replaces it, and put back at the end."""
    LINK = "/etc/localtime"

    def __init__(self):
        private = subprocess.run(["unshare", "-m", "--propagation", "private", "true"],
                                 capture_output=True).returncode == 0
        if private:
            self.file = tempfile.NamedTemporaryFile(delete=False).name
            atexit.register(os.unlink, self.file)
            self.wrapper = ("unshare", "-m", "--propagation", "private", "sh", "-c",
                            'mount --bind "$0" %s && exec "$@"' % self.LINK, self.file)
        else:
            self.file, self.wrapper = None, ()
            atexit.register(self.put_back, os.readlink(self.LINK)
                            if os.path.islink(self.LINK) else self.read(self.LINK))
        print("the zone is set anew by", "rewriting a bound file" if private else "a new link")

    def set(self, zone):
        source = "/usr/share/zoneinfo/" + zone
        if self.file:
            was = os.stat(self.file).st_mtime
            with open(self.file, "r+b") as f:
                f.truncate(0)
                f.write(self.read(source))
            # The C library takes an unchanged time of change for an unchanged zone.
            os.utime(self.file, (was + 60, was + 60))
        else:
            os.symlink(source, self.LINK + ".horavox")
            os.replace(self.LINK + ".horavox", self.LINK)

    @staticmethod
    def read(path):
        return open(path, "rb").read() if os.path.exists(path) else None

    def put_back(self, kept):
        """The link, the file or the absence there was."""
        if isinstance(kept, str):
            os.symlink(kept, self.LINK + ".horavox")
        elif kept is not None:
            open(self.LINK + ".horavox", "wb").write(kept)
        else:
            os.remove(self.LINK)
            return
        os.replace(self.LINK + ".horavox", self.LINK)


def zone_set_anew():
    os.environ.pop("TZ", None)
    zone = SystemZone()
    zone.set("Etc/UTC")
    app = Horavox(ACCESSIBLE, wrapper=zone.wrapper)

    def shows(zone_name):
        def shown():
            (clock_seen, _), seconds = read_displays(app, time.time)
            return any(clock_seen == local_text(s, zone_name) for s in seconds)
        return shown
    check(wait_until(shows("UTC"), 5, 0.1), "the clock shows the time in UTC")
    timer_before, read_before = app.text_of("Timer"), time.monotonic()
    zone.set("Asia/Kolkata")
    check(wait_until(shows("Asia/Kolkata"), 3, 0.1),
          "the zone set anew: the clock shows Kolkata's time at once (%s)"
          % app.text_of("Actual time"))
    wait_until(lambda: time.monotonic() > read_before + 3.5, 5, 0.1)
    passed = int(time.monotonic() - read_before)
    start = sum(int(f) * 60 ** (2 - i) for i, f in enumerate(timer_before.split(":")))
    timer_after = app.text_of("Timer")
    check(timer_after in {timer_text(start + passed + d) for d in (0, 1, 2)},
          "the timer goes on by the seconds that passed: %s, then %s %d s later"
          % (timer_before, timer_after, passed))
    app.screenshot("zone-set-anew")
    app.close()


clock_changes()
zone_set_anew()
