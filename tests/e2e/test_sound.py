"""What is heard, once per sound server: the introduction, the clicks that speak, and speech
back by itself after the server restarts or starts after the program."""
import os
import subprocess
import time

from horavox_e2e import (CLEAR_PHRASES, EARLY, RESET, SAY_THIS_NOW, SAY_THIS_NOW_TEXT,
                         Horavox, Recording, check, heard_after, skip_unless, wait_until)

LOST, BACK = "Speech is unavailable", "Speech is back"


def sound_server(action):
    skip_unless(os.environ.get("HORAVOX_SOUND_DIR"),
                "a sound server of its own: scripts/sound-server use KIND -- ...")
    subprocess.run([os.environ["HORAVOX_SOUND_SCRIPT"], action, os.environ["HORAVOX_SOUND_DIR"]],
                   check=True)
    return time.monotonic()


def go_heard(app):
    recording = Recording()
    clicked = app.click(*RESET)
    time.sleep(1.5)
    go = heard_after(recording.heard(), clicked)
    return go is not None and go[0] - clicked < 0.5


def comes_back(app, up, what):
    back = wait_until(lambda: BACK in app.messages() and time.monotonic(), 5, 0.01)
    check(back and back - up < 2, "%s: speech back %.0f ms after the server is up"
          % (what, (back - up) * 1000 if back else -1))
    check(go_heard(app), what + ": the next phrase is heard")
    check(app.messages().count(LOST) == 1 and app.messages().count(BACK) == 1
          and len(app.message_windows()) == 1, what + ": told once, in one box")


# Left alone from start, the program speaks its introduction: 2, 5, 10, 15 and 25 seconds.
recording = Recording()
app = Horavox()
time.sleep(27)
onsets = [start for start, _ in recording.heard(gap=1.0)]
print("onsets:", ["%.2f" % (t - recording.started) for t in onsets])
check(len(onsets) == 5, "five phrases heard in the first 27 seconds")
for gap, expected in zip([b - a for a, b in zip(onsets, onsets[1:])], (3, 5, 5, 10)):
    check(abs(gap - expected) <= 0.2, "phrases %.2f s apart (%d expected)" % (gap, expected))

# Clicks that speak, on the same recording: Say This Now, Reset's one "Go", a phrase after a long
# silence, and Reset cutting a long phrase off.
app.choose_display_mode(2)  # "Show Phrases" brings the say-this-now row into view
app.click(*CLEAR_PHRASES)
time.sleep(3)  # the introduction has ended, and nothing more is due
said = app.click(*SAY_THIS_NOW)
time.sleep(2.5)
reset = app.click(*RESET)
time.sleep(1.5)
again = app.click(*SAY_THIS_NOW)
time.sleep(7.5)
last = app.click(*SAY_THIS_NOW)
time.sleep(2.5)
app.click(*SAY_THIS_NOW_TEXT)
app.type_text("This phrase is long enough to go on speaking for many seconds before it ends, "
              "unless something cuts it off.")
long_said = app.click(*SAY_THIS_NOW)
time.sleep(1.0)
cut = app.click(*RESET)
time.sleep(2.0)
heard = recording.heard()
print("bursts:", ["%.2f-%.2f" % (a - said, b - said) for a, b in heard if b > said])
after = lambda moment: heard_after(heard, moment) or [float("inf")] * 2
check(after(said)[0] - said < 0.5, "Say This Now heard within 500 ms (%.0f ms)"
      % ((after(said)[0] - said) * 1000))
go = after(reset)
check(go[0] - reset < 0.5 and go[1] - go[0] < 0.8, "Reset heard at once as one short word")
check(again - EARLY < after(go[1] + 0.1)[0] < after(again)[0] + 0.01,
      "nothing but Go between the reset and the next phrase")
check(after(again)[0] < last and after(last)[0] - last < 0.5,
      "a phrase after five seconds of silence is heard as well")
check(after(long_said)[1] - cut < 0.8, "Reset cuts a long phrase off and says Go (sound ends "
      "%.2f s after the click)" % (after(long_said)[1] - cut))

sound_server("stop")
time.sleep(1)
app.click(*RESET)  # "Go" with no server to hear it
check(app.alive() and app.clock_text_changes() and LOST + ": the sound server has gone away"
      in app.messages(), "server gone: told so, and the window is up and ticking")
comes_back(app, sound_server("start"), "server restarted")
app.close()

sound_server("stop")
started = time.monotonic()
app = Horavox()
print("window up %.0f ms after start without a server" % ((time.monotonic() - started) * 1000))
check("Speech is unavailable: no sound server" in app.messages() and app.clock_text_changes(),
      "no server: told so, and the window is up and ticking")
time.sleep(max(0.0, started + 3 - time.monotonic()))
comes_back(app, sound_server("start"), "server started 3 s after the program")
app.close()
