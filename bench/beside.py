#!/usr/bin/env python3
"""Two builds of the program measured beside each other in one run, for a change's cost:
start-up, resident memory, CPU in each layout, CPU with the time of day focused beside a reader,
and the speech onset, alternating which goes first. Run by scripts/bench --beside BEFORE AFTER
(two horavox binaries); HORAVOX_BESIDE_FIGURES=reader takes only the reader's figure."""
import os
import statistics
import subprocess
import sys
import tempfile
import time
from concurrent.futures import ThreadPoolExecutor

from measure import Display, cpu_share, resident_mb, time_to_map
from horavox_e2e import TIME_BOX, Horavox, Recording, run

LAYOUTS = ("Small Time", "Big Time", "Show Phrases")
CPU_SECONDS = int(os.environ.get("HORAVOX_CPU_SECONDS", "60"))
ROUNDS = int(os.environ.get("HORAVOX_BESIDE_ROUNDS", "2"))
STARTS = int(os.environ.get("HORAVOX_STARTS", "15"))
ONSETS = int(os.environ.get("HORAVOX_ONSETS", "7"))
FIGURES = os.environ.get("HORAVOX_BESIDE_FIGURES", "all")


def alternate(binaries, n):
    """The pair's order for each of n turns: the one started first can pay for the other."""
    return [binaries if i % 2 == 0 else binaries[::-1] for i in range(n)]


def cpu_round(binaries, displays):
    """Every layout of both builds at once, each on a display of its own: {binary: [shares]}."""
    apps = {}
    for entry, layout in enumerate(LAYOUTS):
        for binary in binaries:
            with displays[(binary, layout)]:
                app = Horavox(binary=binary)
                if entry:
                    app.choose_display_mode(entry)
                apps[(binary, layout)] = app
    time.sleep(35)  # past the introduction
    keys = list(apps)
    with ThreadPoolExecutor(len(keys)) as pool:
        shares = pool.map(lambda key: cpu_share(apps[key].process.pid, CPU_SECONDS), keys)
    result = dict(zip(keys, shares))
    for app in apps.values():
        app.close()
    return result


def reader_round(binaries, displays):
    """The time of day focused in both builds at once, with assistive technology on and a client
    taking every text and focus event, as a reader does, on a session bus of this round's own:
    {binary: share}."""
    folder = tempfile.mkdtemp(prefix="horavox-bench-reader.")
    bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1",
                          "--print-pid=1"], capture_output=True, text=True).stdout.split()
    os.environ.update({"DBUS_SESSION_BUS_ADDRESS": bus[0], "XDG_CONFIG_HOME": folder})
    run("gdbus", "call", "--session", "--dest", "org.a11y.Bus", "--object-path", "/org/a11y/bus",
        "--method", "org.freedesktop.DBus.Properties.Set", "org.a11y.Status",
        "ScreenReaderEnabled", "<true>")
    reader = subprocess.Popen(["/usr/bin/python3", "-c", "import pyatspi\n"
                               "pyatspi.Registry.registerEventListener(lambda e: None, "
                               "'object:text-changed', 'object:state-changed:focused')\n"
                               "pyatspi.Registry.start()"])
    apps = {}
    for binary in binaries:
        with displays[(binary, "reader")]:
            apps[binary] = Horavox(binary=binary)
            apps[binary].click(*TIME_BOX)
    time.sleep(35)  # past the introduction
    with ThreadPoolExecutor(len(apps)) as pool:
        shares = dict(zip(apps, pool.map(lambda app: cpu_share(app.process.pid, CPU_SECONDS),
                                         apps.values())))
    for app in apps.values():
        app.close()
    reader.kill()
    subprocess.run(["kill", bus[1]])
    return shares


def onset(binary):
    """A real click on "Say This Now", after a silence, to the first sound at the sink (ms)."""
    recording = Recording()
    app = Horavox(binary=binary)
    app.choose_display_mode(2)
    app.click(8760, 6840, 1335, 375)  # Clear Phrases: nothing else speaks
    time.sleep(1.5)
    clicked = app.click(240, 6360, 1335, 255)
    time.sleep(1.5)
    heard = [start for start, _ in recording.heard() if start > clicked - 0.05]
    app.close()
    return (min(heard) - clicked) * 1000


def main():
    binaries = sys.argv[1:3]
    names = {binaries[0]: "before", binaries[1]: "after"}
    figures = {name: {} for name in names.values()}

    def add(binary, figure, value):
        figures[names[binary]].setdefault(figure, []).append(value)

    for pair in alternate(binaries, STARTS if FIGURES == "all" else 0):
        for binary in pair:
            add(binary, "start-up, launch to window mapped (ms)",
                time_to_map([binary], os.path.dirname(binary)))
    for pair in alternate(binaries, 3 if FIGURES == "all" else 0):
        apps = [Horavox(binary=binary) for binary in pair]
        time.sleep(10)
        for binary, app in zip(pair, apps):
            add(binary, "resident memory 10 s after start (MB)", resident_mb(app.process.pid))
            app.close()
    for pair in alternate(binaries, ONSETS if FIGURES == "all" else 0):
        for binary in pair:
            add(binary, "speech onset, Say This Now to sound (ms)", onset(binary))
    displays = {(b, layout): Display() for b in binaries for layout in LAYOUTS + ("reader",)}
    try:
        for pair in alternate(binaries, ROUNDS if FIGURES == "all" else 0):
            shares = cpu_round(pair, displays)
            for (binary, layout), share in shares.items():
                add(binary, "CPU, %s (%% of a core)" % layout, share)
        for pair in alternate(binaries, ROUNDS):
            for binary, share in reader_round(pair, displays).items():
                add(binary, "CPU, the time of day focused, a reader on (% of a core)", share)
    finally:
        for display in displays.values():
            display.stop()

    print("| Figure | Before | After | Ratio |")
    print("|---|---|---|---|")
    for figure, values in figures["before"].items():
        before, after = statistics.median(values), statistics.median(figures["after"][figure])
        print("| %s | %.3f | %.3f | %.3f |" % (figure, before, after, after / before))
        print("  before: %s" % " ".join("%.3f" % v for v in values), file=sys.stderr)
        print("  after:  %s" % " ".join("%.3f" % v for v in figures["after"][figure]),
              file=sys.stderr)


if __name__ == "__main__":
    main()
