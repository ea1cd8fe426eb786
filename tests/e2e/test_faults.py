"""Services that fail and outputs that pile up: the window stays up and ticks, the user is told,
and speech ends with the window."""
import os
import subprocess
import tempfile
import time

from horavox_e2e import (CLEAR_PHRASES, EARLY, RESET, SAY_THIS_NOW, SAY_THIS_NOW_TEXT, TIMER_MODE,
                         TIMER_START, Horavox, Recording, check, heard_after, row, run, skip_unless,
                         wait_until)

skip_unless(os.environ.get("HORAVOX_OPENBOX_DISPLAY"), "the desktops that scripts/test starts")


# No voice data, with the installed data hidden in a private mount.
empty = tempfile.mkdtemp()
hide = ["unshare", "-m", "sh", "-c", 'mount --bind "$0" "$1" && exec "$2"', empty,
        "/usr/lib/x86_64-linux-gnu/espeak-ng-data"]
if subprocess.run(["unshare", "-m", "true"]).returncode == 0:
    app = Horavox(wrapper=hide)
    check(wait_until(lambda: "found no voice data" in app.messages(), 15), "no voice data: told so")
    check(app.alive() and app.clock_text_changes(), "no voice data: the window is up and ticking")
    app.close()
else:
    print("skipped: no voice data (private mounts are not allowed here)")

# Every row due in one second: each output stops the one before, so only the last, the longest, is
# heard, to its end. Then the window manager's close button while speaking.
os.environ["DISPLAY"] = os.environ["HORAVOX_OPENBOX_DISPLAY"]
recording = Recording()
app = Horavox()
app.choose_display_mode(2)
app.click(*CLEAR_PHRASES)  # every time "00:00:00"
for n in range(10):
    app.type_text("row %d" % n if n < 9 else "and the tenth row, the last due, is heard to the end",
                  row(n, "text"))
app.type_text("00:00:03", TIMER_START)
app.type_text("Down", TIMER_MODE)
time.sleep(1.1 - time.time() % 1)  # a moment of the clock: early in a second, for the reset
second = int(time.time())
app.click(*RESET)  # the "E 00:00:00" rows are due three seconds on
due = time.monotonic() - (time.time() - second) + 3
# and the "A" row in the same second of the clock
app.type_text(time.strftime("%H:%M:%S", time.localtime(second + 3)), row(9, "time"))
wait_until(lambda: recording.ended(due), 20, 0.25)  # errors, had there been any, came before
check(not app.message_windows() and app.alive(), "all rows due at once: no error")
app.type_text("A long phrase that is still being spoken when the window closes, and goes on.",
              SAY_THIS_NOW_TEXT)
said = app.click(*SAY_THIS_NOW)
wait_until(lambda: recording.heard(since=said - EARLY), 10, 0.1)
run("wmctrl", "-i", "-c", app.window)  # as the window manager's close button asks it to
closed = time.monotonic()
check(not app.alive(within=2),
      "closing the window ends the program at once (%.2f s)" % (time.monotonic() - closed))
wait_until(lambda: recording.ended(said), 20, 0.25)
# A phrase may pause while the machine holds the program or the server up: it waits and goes on.
heard = recording.heard(gap=1.0)
print("bursts:", ["%.2f-%.2f" % (a - due, b - due) for a, b in heard])
last, phrase = heard_after(heard, due), heard_after(heard, said)
check(last and abs(last[0] - due) < 0.5 and last[1] - last[0] > 2,
      "the last due row is heard when due, to its end")
check(phrase and phrase[1] - closed < 0.3, "the speech stops with the window")
