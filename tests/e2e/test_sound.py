"""What is heard, once per sound server: the introduction, the clicks that speak, and speech
back by itself after the server restarts or starts after the program."""
import os
import subprocess
import time

from horavox_e2e import (CLEAR_PHRASES, EARLY, RESET, SAY_THIS_NOW, Horavox, Recording, check,
                         cut_off, heard_after, skip_unless, wait_until)

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
    go = wait_until(lambda: heard_after(recording.heard(), clicked), 10, 0.1)
    return go and go[0] - clicked < 0.5


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
starts = lambda: [start for start, _ in recording.heard(gap=1.0)]
onsets = wait_until(lambda: len(s := starts()) >= 5 and s, 45, 0.5) or starts()
print("onsets:", ["%.2f" % (t - recording.started) for t in onsets])
check(len(onsets) == 5, "five phrases heard")
for gap, expected in zip([b - a for a, b in zip(onsets, onsets[1:])], (3, 5, 5, 10)):
    check(abs(gap - expected) <= 0.2, "phrases %.2f s apart (%d expected)" % (gap, expected))

# On the same recording: Say This Now, Reset's one "Go", a phrase after silence, Reset cutting off.
app.choose_display_mode(2)  # "Show Phrases" brings the say-this-now row into view
app.click(*CLEAR_PHRASES)  # nothing more is due; each click waits for the sound before to end
wait_until(lambda: recording.ended(onsets[-1]), 15, 0.25)
said = app.click(*SAY_THIS_NOW)
wait_until(lambda: recording.ended(said), 15, 0.25)
reset = app.click(*RESET)
wait_until(lambda: recording.ended(reset), 15, 0.25)
again = app.click(*SAY_THIS_NOW)
wait_until(lambda: recording.ended(again, quiet=5.5), 25, 0.25)  # five seconds of silence
last = app.click(*SAY_THIS_NOW)
wait_until(lambda: recording.ended(last), 15, 0.25)
cut, long_heard = cut_off(app, recording)
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
check(long_heard and long_heard[1] - cut < 0.8, "Reset cuts a long phrase off and says Go (sound "
      "ends %.2f s after the click)" % (long_heard[1] - cut if long_heard else -1))

sound_server("stop")
check(wait_until(lambda: LOST + ": the sound server has gone away" in app.messages(), 10),
      "server gone: told so")
app.click(*RESET)  # "Go" with no server to hear it
check(app.alive() and app.clock_text_changes(), "server gone: the window is up and ticking")
comes_back(app, sound_server("start"), "server restarted")
app.close()

sound_server("stop")
started = time.monotonic()
app = Horavox()
print("window up %.0f ms after start without a server" % ((time.monotonic() - started) * 1000))
check(wait_until(lambda: "Speech is unavailable: no sound server" in app.messages(), 10)
      and app.clock_text_changes(), "no server: told so, and the window is up and ticking")
# A moment of the story, not an effect awaited: by then the pauses between looks are the longest.
time.sleep(max(0.0, started + 3 - time.monotonic()))
comes_back(app, sound_server("start"), "server started 3 s after the program")
app.close()
