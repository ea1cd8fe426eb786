"""The desktop's speech service, a daemon private to this run speaking into the null sink: with
no daemon the program's own voice list, with one its voices after them; a desktop voice chosen
from the list speaks a due phrase and "Say This Now", Reset cuts it off, and the daemon lost while
its voice is chosen is told once, at the first phrase lost, and once when it is back."""
import atexit
import os
import shutil
import subprocess
import tempfile
import time

from horavox_e2e import (CLEAR_PHRASES, SAY_THIS_NOW, Horavox, Recording, check, cut_off,
                         heard_after, wait_until)

LOST, BACK = "speech service has gone away", "speech service answers again"
FOLDER = tempfile.mkdtemp(prefix="horavox-speechd.")
atexit.register(shutil.rmtree, FOLDER, True)  # after the daemon has been told to end
SOCKET = os.path.join(FOLDER, "speechd.sock")
ENV = {"SPEECHD_ADDRESS": "unix_socket:" + SOCKET, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}


def start_daemon():
    daemon = subprocess.Popen(["speech-dispatcher", "-s", "-t", "0", "-C", "/etc/speech-dispatcher",
                               "-c", "unix_socket", "-S", SOCKET, "-L", FOLDER],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    atexit.register(daemon.terminate)
    check(wait_until(lambda: os.path.exists(SOCKET), 20), "the private speech service is up")
    return daemon


def stop_daemon(daemon):
    daemon.terminate()
    daemon.wait(10)


def voices(app, at_least=1):
    """The voice list's entries as a screen reader reads them, once it holds `at_least`."""
    def entries():
        for node in app.accessible():
            if node.getRoleName() == "combo box" and node.name == "Voice Selector":
                names = [item.name for item in node[0]]
                return names if len(names) >= at_least else None
    return wait_until(entries, 15, 0.2) or []


def said_now(app, recording, wait=15):
    """Say This Now clicked: seconds until it was heard (once it has ended, or `wait` is up)."""
    clicked = app.click(*SAY_THIS_NOW)
    wait_until(lambda: recording.ended(clicked), wait, 0.1)
    heard = heard_after(recording.heard(since=clicked - 1), clicked)
    return heard[0] - clicked if heard and heard[0] - clicked < 1.0 else None


app = Horavox(ENV)
time.sleep(3)  # an absence, shown in a fixed time: long enough for any service to have answered
own = voices(app)
check(len(own) > 10 and not [n for n in own if "Desktop" in n or ": " in n]
      and LOST not in app.messages(), "no service: the program's own %d voices, nothing said"
      % len(own))
app.close()

daemon = start_daemon()
recording = Recording()
started = time.monotonic()  # within a second of the program's start, from which phrases are due
app = Horavox(ENV)
listed = voices(app, len(own) + 1)
print("desktop voices:", listed[len(own):])
check(listed[:len(own)] == own and listed[len(own)] == "Desktop default voice"
      and not [n for n in listed if n.lower().startswith("espeak")],
      "the service's voices follow the program's own, its espeak-ng left out")
app.choose_display_mode(2)  # "Show Phrases" brings the say-this-now row into view
app.choose_voice("Desktop default voice")
due = wait_until(lambda: heard_after(recording.heard(since=started + 13), started + 14.2),
                 30, 0.25)
check(due and due[0] < started + 16.5, "the phrase due 15 s after start is heard")
wait_until(lambda: recording.ended(started + 24.2), 30, 0.25)  # the introduction's last phrase
app.click(*CLEAR_PHRASES)  # Reset below would make the introduction due again
onset = said_now(app, recording)
check(onset is not None, "Say This Now heard through the service (%s s)" % onset)
cut, long_heard = cut_off(app, recording)
check(long_heard and long_heard[1] - cut < 1.0, "Reset cuts the long phrase off (sound ends "
      "%.2f s after the click)" % (long_heard[1] - cut if long_heard else -1))

stop_daemon(daemon)
check(said_now(app, recording, 2.0) is None, "service gone: nothing is heard in 2 s")  # an absence
check(wait_until(lambda: LOST in app.messages(), 10), "service gone: the phrase lost is told")
daemon = start_daemon()
check(wait_until(lambda: BACK in app.messages(), 10) and said_now(app, recording) is not None,
      "service back: told so, and speech is heard again")
check(app.messages().count(LOST) == 1 and app.messages().count(BACK) == 1, "told once each way")

app.choose_voice("English (Great Britain)")
check(said_now(app, recording) is not None, "an embedded voice chosen again speaks")  # after Enter
stop_daemon(daemon)
time.sleep(2)  # an absence, shown in a fixed time: the service going is not told
check(said_now(app, recording) is not None and app.messages().count(LOST) == 1,
      "and goes on speaking when the service goes, which is not told")
app.close()
