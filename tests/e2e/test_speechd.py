"""The desktop's speech service, a daemon private to this run speaking into the null sink: with
no daemon the program's own voice list, with one its voices after them; a desktop voice chosen
from the list speaks a due phrase and "Say This Now", Reset cuts it off, and the daemon lost and
back is told once each way while its voice is chosen."""
import atexit
import os
import shutil
import subprocess
import tempfile
import time

import pyatspi

from horavox_e2e import (CLEAR_PHRASES, RESET, SAY_THIS_NOW, SAY_THIS_NOW_TEXT, Horavox,
                         Recording, check, heard_after, wait_until)

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
    check(wait_until(lambda: os.path.exists(SOCKET), 10), "the private speech service is up")
    return daemon


def stop_daemon(daemon):
    daemon.terminate()
    daemon.wait(10)


def voices(app, at_least=1):
    """The voice list's entries as a screen reader reads them, once it holds `at_least`."""
    def entries():
        ours = [a for a in pyatspi.Registry.getDesktop(0) if a and a.get_process_id() ==
                app.process.pid]
        stack = ours[:1]
        while stack:
            node = stack.pop()
            if node.getRoleName() == "combo box" and node.name == "Voice Selector":
                names = [item.name for item in node[0]]
                return names if len(names) >= at_least else None
            stack.extend(child for child in node if child)
    return wait_until(entries, 15, 0.2) or []


def said_now(app, recording, wait=2.0):
    """Say This Now clicked: how long until it was heard, or None."""
    clicked = app.click(*SAY_THIS_NOW)
    time.sleep(wait)
    heard = heard_after(recording.heard(), clicked)
    return heard[0] - clicked if heard and heard[0] - clicked < 1.0 else None


app = Horavox(ENV)
time.sleep(3)  # long enough for any service to have answered
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
time.sleep(max(0.0, started + 17 - time.monotonic()))
due = heard_after(recording.heard(), started + 14.2)
check(due and due[0] < started + 16.5, "the phrase due 15 s after start is heard")
time.sleep(max(0.0, started + 33 - time.monotonic()))  # the introduction's last phrase ends
app.click(*CLEAR_PHRASES)  # Reset below would make the introduction due again
onset = said_now(app, recording)
check(onset is not None, "Say This Now heard through the service (%.0f ms)" % (onset * 1000))
app.click(*SAY_THIS_NOW_TEXT)
app.type_text("This phrase is long enough to go on speaking for many seconds before it ends, "
              "unless something cuts it off.")
long_said = app.click(*SAY_THIS_NOW)
time.sleep(1.5)
cut = app.click(*RESET)
time.sleep(2.0)
long_heard = heard_after(recording.heard(), long_said)
check(long_heard and long_heard[1] - cut < 1.0, "Reset cuts the long phrase off (sound ends "
      "%.2f s after the click)" % (long_heard[1] - cut if long_heard else -1))

stop_daemon(daemon)
check(wait_until(lambda: LOST in app.messages(), 5), "service gone: told so")
check(said_now(app, recording) is None, "service gone: nothing is heard")
daemon = start_daemon()
check(wait_until(lambda: BACK in app.messages(), 5) and said_now(app, recording) is not None,
      "service back: told so, and speech is heard again")
check(app.messages().count(LOST) == 1 and app.messages().count(BACK) == 1, "told once each way")

app.choose_voice("English (Great Britain)")
stop_daemon(daemon)
time.sleep(2)
check(said_now(app, recording) is not None, "an embedded voice chosen again speaks")
check(app.messages().count(LOST) == 1, "and the service going is not told")
app.close()
