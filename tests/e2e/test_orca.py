"""Beside Orca, turned on as a desktop does on the suite's own session, bus and speech service: what
it says read from its debug file, what the service hands its synthesizer from the service's log."""
import os
import re
import shutil
import time

from horavox_e2e import (ARTIFACTS, CLEAR_PHRASES, SAY_THIS_NOW, SAY_THIS_NOW_TEXT, TIME_BOX,
                         TIMER_BOX, TIMER_START, Horavox, assistive_desktop, check, fail,
                         pseudo_terminal, run, skip_unless, spawn, wait_until)

skip_unless(shutil.which("orca"), "orca")
other = run("pgrep", "-a", "-u", str(os.getuid()), "-f", r"bin/orca( |$)", check=False)
skip_unless(not other, "no other Orca of this user, as Orca does not start beside one: " + other)
FOLDER = assistive_desktop("orca")
SOCKET = os.path.join(FOLDER, "speechd.sock")
LOGS = os.path.join(ARTIFACTS, "orca")  # kept for a look after a failure
shutil.rmtree(LOGS, True)
os.makedirs(LOGS)
ORCA_DEBUG = os.path.join(LOGS, "orca-debug.txt")
SPEECHD_LOG = os.path.join(LOGS, "speech-dispatcher.log")
cookie = os.path.join(os.environ.get("HORAVOX_SOUND_SERVERS", ""), "pulseaudio/config/pulse/cookie")
os.environ.update({"SPEECHD_ADDRESS": "unix_socket:" + SOCKET}
                  | ({"PULSE_COOKIE": cookie} if os.path.exists(cookie) else {}))
CLOCK = re.compile(r"\b\d\d:\d\d:\d\d\b")
# A tick read aloud: the characters it changed, a digit or more.
TICK = re.compile(r"^-? ?[\d:]+\.?$")
ORCA = int(re.search(r"(\d+)\.", run("orca", "--version")).group(1))
# After which of the user's last inputs this Orca reads no tick of the box's true events. Orca 43
# reads an insertion after Tab, Shift+Tab, Return ("where am I" too) or Ctrl as completed text; both
# read a deletion after BackSpace as the user's, and a click, unseen, leaves BackSpace the last key.
QUIET_AFTER = {48: {"Tab", "Shift+Tab", "click", "Ctrl alone", "where am I"}}.get(ORCA, set())
KEYS_MEASURED = {}
PHRASE = "The bread goes into the oven now, and the timer is set to ten minutes."  # 68 characters


class Log:
    """A log that grows: its entries from a mark on."""
    def __init__(self, path, parse):
        self.path, self.parse = path, parse

    def mark(self):
        return os.path.getsize(self.path) if os.path.exists(self.path) else 0

    def since(self, mark):
        with open(self.path, "rb") as log:
            log.seek(mark)
            lines = log.read().decode(errors="replace").splitlines()
        return [entry for entry in map(self.parse, lines) if entry]


seconds_of_day = lambda h, m, s: int(h) * 3600 + int(m) * 60 + float(s)


def orca_entry(line):
    """(kind, what, when in seconds of the day): said, brailled, or focus as (role, name)."""
    when = re.match(r"(\d\d):(\d\d):(\d\d\.\d+) - ", line)
    if said := when and re.search(r" - SPEECH OUTPUT: '(.*)' ?[\[{]", line):
        return "said", said.group(1), seconds_of_day(*when.groups())
    if brailled := when and re.search(r" - BRAILLE LINE: +'(.*)'", line):
        return "brailled", brailled.group(1), seconds_of_day(*when.groups())
    # Orca 43 writes "[text | Timer]", Orca 48 "[text: 'Timer']".
    if focus := re.search(r"Changing locus ?of ?focus from .* to \[(.*?)(?: \| |: ')(.*?)'?\]",
                          line, re.IGNORECASE):
        return "focus", focus.groups(), None
    return None


def speechd_entry(line):
    """(when in seconds of the day, event, text): a text for the synthesizer, or an index mark."""
    if found := re.match(r"\[\w+ \w+ +\d+ (\d+):(\d+):(\d+) \d+ : (\d+)\] speechd: +"
                         r"(Incoming text|INDEX MARK): \|?(.*?)\|?$", line):
        hours, minutes, seconds, micro, event, text = found.groups()
        return (seconds_of_day(hours, minutes, seconds) + int(micro) / 1e6, event,
                re.sub(r"\s+", " ", re.sub(r"<[^>]*>", "", text)).strip())
    return None


def now():
    moment = time.time()
    return seconds_of_day(*time.strftime("%H %M %S", time.localtime(moment)).split()) + moment % 1


orca, service = Log(ORCA_DEBUG, orca_entry), Log(SPEECHD_LOG, speechd_entry)
of = lambda kind, mark: [(what, when) for k, what, when in orca.since(mark) if k == kind]
said = lambda mark: [what for what, _ in of("said", mark)]
focus = lambda mark: [where for where, _ in of("focus", mark)]


def key(*names):
    """Presses keys; the mark from which to read what followed."""
    mark = orca.mark()
    run("xdotool", "key", *names)
    return mark


def focused(mark):
    """Where Orca's focus went after the mark: (role, name)."""
    return (wait_until(lambda: focus(mark), 10) or fail("Orca focused nothing: " + ORCA_DEBUG))[-1]


def start_services():
    spawn("speech-dispatcher", "-s", "-t", "0", "-c", "unix_socket", "-S", SOCKET, "-L", LOGS,
          "-l", "5")
    check(wait_until(lambda: os.path.exists(SOCKET), 15), "the private speech service is up")
    # Through a terminal Orca writes its debug file line by line, not holding the last lines back.
    debug = pseudo_terminal(open(ORCA_DEBUG, "wb", buffering=0).write)
    spawn("orca", "-u", os.path.join(FOLDER, "orca"), "--debug-file", debug)
    check(wait_until(lambda: os.path.exists(ORCA_DEBUG) and said(0), 30),
          "Orca is up and speaking: %s" % said(0)[:1])


def braille_follows(name, mark, of_day):
    """The clock's times on the braille line: (how many, the worst lag behind the time of day)."""
    lines = [(CLOCK.search(what), when) for what, when in of("brailled", mark) if name in what]
    times = [(found.group(0), when) for found, when in lines if found]
    lags = [when - seconds_of_day(*shown.split(":")) for shown, when in times]
    return len(set(shown for shown, _ in times)), (max(lags, default=None) if of_day else None)


def ticks_read(how, mark, read_first=True):
    """The ticks read after the user's last input, not the reading it caused; kept for the table."""
    words = said(mark)
    if read_first:
        words = words[next((i + 1 for i, w in enumerate(words) if CLOCK.search(w)), len(words)):]
    read = [w.strip() for w in words if TICK.match(w.strip())]
    KEYS_MEASURED[how] = read
    if how in QUIET_AFTER:
        check(not read, "Orca %d reads no tick after %s: %r (%s)" % (ORCA, how, read, ORCA_DEBUG))
    return read


def lands_on(name, mark, how):
    check(wait_until(lambda: focus(mark) and focus(mark)[-1][1] == name, 10),
          "%s: the focus is on %s: %s" % (how, name, focus(mark)))


def focused_by(how, name, *keys, click=None, seconds=3):
    """Focused by keys or a click: read once, whole, name first (a tick read at the hour is not)."""
    mark = orca.mark()
    app.click(*click) if click else run("xdotool", "key", *keys)
    lands_on(name, mark, how)
    time.sleep(seconds)  # what must not come is a reading at each tick
    words = " ".join(said(mark))
    check(words.count(name) == 1 and CLOCK.search(words[words.find(name):]),
          "%s: %s is read once, whole, its name first, and not again for %d s: %r (%s)"
          % (how, name, seconds, words, ORCA_DEBUG))
    ticks_read(how, mark)
    return mark


def clock_read_once(name, of_day=False):
    """Shift+Tab to the clock: read once, whole, the braille line following; then read on asking."""
    mark = focused_by("Shift+Tab", name, "shift+Tab", seconds=6)
    words = " ".join(said(mark))
    reading = CLOCK.search(words[words.find(name):]).group(0)
    read_at = next(when for what, when in of("said", mark) if reading in what)
    shown, lag = braille_follows(name, mark, of_day)
    check(shown >= 5 and (lag is None or 0 <= lag < 1.5),
          "%s: the braille line showed %d different times in 6 s, the time of day %s s after "
          "it was (%s)" % (name, shown, lag and round(lag, 2), ORCA_DEBUG))
    if lag is not None:
        print("the braille line behind the time of day: %.2f s at worst" % lag)
    mark = key("KP_Enter")  # Orca's "where am I"
    check(wait_until(lambda: CLOCK.search(" ".join(said(mark))), 10),
          "%s is read again when the user asks where the focus is: %r" % (name, said(mark)))
    time.sleep(3)  # the ticks after the user's command
    words = " ".join(said(mark))
    check(words.count(name) == 1 and braille_follows(name, mark, False)[0] >= 2,
          "%s is read once on asking, and the braille line goes on: %r" % (name, words))
    ticks_read("where am I", mark)
    return reading, read_at


def ticks_after(name, how):
    """A key pressed and the ticks read over 3 s after it measured: the mark before it."""
    mark = key(name)
    time.sleep(3)  # what must not come is a reading at each tick
    ticks_read(how, mark, read_first=False)
    return mark


def erasing(name):
    """BackSpace in the clock: not announced again, the braille line goes on, the ticks measured."""
    mark = ticks_after("BackSpace", "BackSpace in the box")
    words = " ".join(said(mark))
    check(name not in words and braille_follows(name, mark, False)[0] >= 2,
          "%s: not announced again after BackSpace, and the braille line goes on: %r (%s)"
          % (name, words, ORCA_DEBUG))


def walk_with_tab():
    """Tab through every focus stop back to the first: each is announced with its name."""
    first, stops = focused(0), {}
    while len(stops) < 60:
        mark = key("Tab")
        role, name = focused(mark)
        if (role, name) == first:
            break
        if not wait_until(lambda: name and name in " ".join(said(mark)), 5):
            fail("the stop %s %r is not announced with its name: %r (%s)"
                 % (role, name, said(mark), ORCA_DEBUG))
        stops[name] = " ".join(said(mark))
    check((role, name) == first and len(stops) > 10,
          "Tab walks %d stops, each announced with its name, and comes back" % (len(stops) + 1))
    return stops


def spoken_to_the_end(text, since):
    """The service's record of `text`: when it came and when its speech ended, and how."""
    def ended():
        entries = service.since(since)
        came = next((i for i, e in enumerate(entries) if e[1] == "Incoming text" and text in e[2]),
                    len(entries))
        end = next((e for e in entries[came + 1:] if e[2] in ("__spd_end", "__spd_stopped")), None)
        return end and (end, entries[came + 1:])
    return wait_until(ended, 30) or fail("%r never reached the synthesizer, or never ended: %s"
                                         % (text, SPEECHD_LOG))


start_services()
app = Horavox()
check(wait_until(lambda: "Reset" in " ".join(said(0)), 20), "Orca announces the window and Reset")
time_read, read_at = clock_read_once("Actual time", of_day=True)
check(abs(seconds_of_day(*time_read.split(":")) - read_at) < 2, "it is the time: %s" % time_read)
clock_read_once("Timer")
erasing("Timer")
focused_by("Tab", "Actual time", "Tab")
ticks_after("Control_L", "Ctrl alone")  # which hushes Orca
focused_by("click", "Timer", click=TIMER_BOX)
mark = orca.mark()
app.click(*TIMER_START)
focused(mark)  # and so the keys go there
run("xdotool", "key", "End", "BackSpace")
focused_by("BackSpace in another box, then click", "Actual time", click=TIME_BOX)
lands_on("Reset", key("Tab"), "Tab back to where the walk begins and ends")
stops = walk_with_tab()
lists = {name: stops.get(name) for name in ("Display Mode", "Timer Mode", "Voice Selector")}
check(all("combo box" in (words or "") for words in lists.values()),
      "the lists are stops, announced by their names as lists: %s" % lists)
check("Desktop default voice" in lists["Voice Selector"], "with the reader on, the voice list "
      "shows the desktop's default voice chosen")
app.choose_display_mode(2)  # "Show Phrases": the phrase to say now comes into view
app.click(*CLEAR_PHRASES)  # a row of the introduction due meanwhile would cut the phrase off

# A phrase said through the service, and the user tabbing on 0.8 s after it began.
app.type_text(PHRASE, SAY_THIS_NOW_TEXT)
log_mark = service.mark()
clicked = now() - (time.monotonic() - app.click(*SAY_THIS_NOW))
time.sleep(0.8)  # the user's pace, not a wait for the program
mark = key("Tab")
(ended, _, how), after = spoken_to_the_end(PHRASE, log_mark)
check(how == "__spd_end", "the phrase said now reaches the synthesizer and ends (%s), with the "
      "reader on and no voice chosen" % how)
begun = next(e[0] for e in after if e[2] == "__spd_begin")
orca_said = of("said", mark)[0][1]
orca_heard = next(e[0] for e in service.since(log_mark) if e[0] >= orca_said and
                  e[1] == "Incoming text" and PHRASE not in e[2])
print("onset through the service beside Orca: %.0f ms; Orca's next utterance waited %.0f ms "
      "behind the phrase" % ((begun - clicked) * 1000, (orca_heard - orca_said) * 1000))
app.close()
print("Orca %d, the ticks read after each of the user's last inputs:" % ORCA)
for how, read in KEYS_MEASURED.items():
    print("  %-40s %s" % (how, " ".join(read) or "none"))

# A program that finds no sound server says so in a box, which Orca reads.
mark = orca.mark()
nowhere = os.path.join(FOLDER, "nowhere")
mute = Horavox({"PULSE_SERVER": "unix:" + nowhere, "SPEECHD_ADDRESS": "unix_socket:" + nowhere})
check(wait_until(lambda: "Speech is unavailable" in " ".join(said(mark)), 20),
      "the notice that speech is unavailable is read")
mute.close()
