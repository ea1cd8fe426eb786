"""Parts that fail and wrong input: the window stays up and ticks, and the user is told."""
import os
import shutil
import subprocess
import tempfile
import time

from horavox_e2e import (HELP, RESET, SAY_THIS_NOW, SAY_THIS_NOW_TEXT, TIMER_MODE, TIMER_START,
                         Horavox, Recording, check, row, skip_unless)

skip_unless(os.environ.get("HORAVOX_OPENBOX_DISPLAY"), "the desktops that scripts/test starts")


def still_working(app, what):
    check(app.alive() and app.clock_text_changes(), what + ": the window is up and ticking")


# No voice data, with the installed data hidden in a private mount.
empty = tempfile.mkdtemp()
hide = ["unshare", "-m", "sh", "-c", 'mount --bind "$0" "$1" && exec "$2"', empty,
        "/usr/lib/x86_64-linux-gnu/espeak-ng-data"]
if subprocess.run(["unshare", "-m", "true"]).returncode == 0:
    app = Horavox(wrapper=hide)
    time.sleep(2.5)
    check("found no voice data" in app.messages(), "no voice data: told so")
    still_working(app, "no voice data")
    app.close()
else:
    print("skipped: no voice data (private mounts are not allowed here)")

# The opener missing from PATH, for Help and for a sound-file phrase.
bare_path = tempfile.mkdtemp()
os.symlink(shutil.which("sh"), os.path.join(bare_path, "sh"))
app = Horavox({"PATH": bare_path})
app.click(*HELP)
time.sleep(1)
check("xdg-open was not found" in app.messages(), "no xdg-open: Help says so")
app.move_message_aside()
app.choose_display_mode(2)
app.click(*SAY_THIS_NOW_TEXT)
app.type_text("c:/home/me/bell.wav")
app.click(*SAY_THIS_NOW)
time.sleep(0.5)
check(app.messages().count("xdg-open was not found") == 2, "no xdg-open: a sound file says so")
still_working(app, "no xdg-open")

# A start value of hundreds of characters of garbage counts as zero.
app.click(*TIMER_START)
app.type_text("x:" * 150 + "\u00e9")
time.sleep(0.3)
still_working(app, "garbage start value")
app.close()

# Every row due in the same second, each with words to say; then closing while speaking, through
# the window manager's close button.
os.environ["DISPLAY"] = os.environ["HORAVOX_OPENBOX_DISPLAY"]
recording = Recording()
app = Horavox()
app.choose_display_mode(2)
for n in range(10):
    app.click(*row(n, "text"))
    app.type_text("row %d" % n)
    app.click(*row(n, "time"))
    app.type_text(time.strftime("%H:%M:%S", time.localtime(time.time() + 4)) if n == 9
                  else "00:00:00")
app.click(*row(9, "mode"))
app.type_text("E")
app.click(*TIMER_START)
app.type_text("00:00:03")
app.click(*TIMER_MODE)
app.type_text("Down")
app.click(*RESET)  # the timer shows 00:00:00 three seconds later
time.sleep(4.5)
check("rror" not in app.messages() and app.alive(), "all rows due at once: no error")
app.click(*SAY_THIS_NOW_TEXT)
app.type_text("A long phrase that is still being spoken when the window closes, and goes on.")
app.click(*SAY_THIS_NOW)
time.sleep(0.8)
closed = app.close_window()
check(not app.alive(within=2),
      "closing the window ends the program at once (%.2f s)" % (time.monotonic() - closed))
time.sleep(0.5)
heard = recording.heard()
print("bursts:", ["%.2f-%.2f" % (a - closed, b - closed) for a, b in heard])
check(len(heard) >= 3, "Go, the last due row and the long phrase were heard")
check(heard[-1][1] - closed < 0.3, "the speech stops with the window")
