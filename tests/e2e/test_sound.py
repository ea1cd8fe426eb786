"""What is heard through the sound server this suite runs against (one run per server): the
introduction from start, speech back by itself after the server restarts, and a program that
started before its server."""
import time

from horavox_e2e import Horavox, Recording, bursts, check, sound_server, wait_for_message

RESET = (240, 360, 735, 375)
LOST, BACK = "Speech is unavailable", "Speech is back"


def go_heard(app):
    """Reset says "Go": heard within half a second of the click."""
    recording = Recording()
    clicked = app.click(*RESET)
    time.sleep(1.5)
    heard = [recording.at(start) for start, _ in bursts(recording.stop())]
    return any(clicked - 0.05 < t < clicked + 0.5 for t in heard)


def comes_back(app, up, what):
    back = wait_for_message(app, BACK, 5)
    check(back is not None and back - up < 2, "%s: speech back %.0f ms after the server is up"
          % (what, (back - up) * 1000 if back else -1))
    check(go_heard(app), what + ": the next phrase is heard")
    check(app.messages().count(LOST) == 1 and app.messages().count(BACK) == 1
          and len(app.message_windows()) == 1, what + ": told once, in one box")


# Left alone from start, the program speaks its introduction: 2, 5, 10, 15 and 25 seconds.
recording = Recording()
app = Horavox()
time.sleep(27)
onsets = [start for start, _ in bursts(recording.stop(), gap=1.0)]
print("onsets:", ["%.2f" % t for t in onsets])
check(len(onsets) == 5, "five phrases heard in the first 27 seconds")
for gap, expected in zip([b - a for a, b in zip(onsets, onsets[1:])], (3, 5, 5, 10)):
    check(abs(gap - expected) <= 0.2, "phrases %.2f s apart (%d expected)" % (gap, expected))

sound_server("stop")
time.sleep(1)
check(app.alive() and app.clock_text_changes(), "server gone: the window is up and ticking")
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
