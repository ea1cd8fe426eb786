#!/usr/bin/env python3
"""Whole-program figures, each beside its reference taken in the same run. Run by scripts/bench,
which starts the display and sound server and builds the binaries."""
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time
from concurrent.futures import ThreadPoolExecutor

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from horavox_e2e import Horavox, Recording, run  # noqa: E402

BENCH = os.environ["HORAVOX_BENCH_DIR"]
MINIMAL = os.path.join(BENCH, "minimal_clock")
SAME_CONTROLS = os.path.join(BENCH, "same_controls")
CPU_SECONDS = int(os.environ.get("HORAVOX_CPU_SECONDS", "60"))
CPU_ROUNDS = int(os.environ.get("HORAVOX_CPU_ROUNDS", "3"))
STARTS = int(os.environ.get("HORAVOX_STARTS", "9"))


def cpu_share(pid, seconds):
    """Per cent of a core over `seconds`: perf's task clock, to the nanosecond, all threads."""
    out = subprocess.run(["perf", "stat", "-x,", "-e", "task-clock", "-p", str(pid), "--",
                          "sleep", str(seconds)], capture_output=True, text=True).stderr
    milliseconds = float(out.split(",")[0])
    return milliseconds / 1000 / seconds * 100


def resident_mb(pid):
    for line in open("/proc/%d/status" % pid):
        if line.startswith("VmRSS:"):
            return int(line.split()[1]) / 1024


def start_reference(binary):
    process = subprocess.Popen([binary], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1.5)
    return process


class Display:
    """An X server of its own, so that each layout's window keeps the pointer and the focus the
    user left it with while the others are measured beside it."""

    def __init__(self):
        read, write = os.pipe()
        self.server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                        "1920x1200x24", "-nolisten", "tcp"], pass_fds=(write,),
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as announced:
            self.name = ":" + announced.readline().strip()

    def __enter__(self):
        self.previous = os.environ["DISPLAY"]
        os.environ["DISPLAY"] = self.name
        return self

    def __exit__(self, *_):
        os.environ["DISPLAY"] = self.previous

    def stop(self):
        self.server.terminate()
        self.server.wait()


def cpu_round(displays):
    """Each layout on its own display beside a minimal clock, all measured over the same minute:
    [(horavox, minimal)] in the order of the layouts."""
    apps, minimals = [], []
    for entry, display in enumerate(displays):
        with display:
            app = Horavox()
            if entry:
                app.choose_display_mode(entry)
            apps.append(app)
            minimals.append(start_reference(MINIMAL))
    time.sleep(35)  # past the introduction (its last phrase ends about 31 s in)
    pids = [p.process.pid for p in apps] + [m.pid for m in minimals]
    with ThreadPoolExecutor(len(pids)) as pool:
        shares = list(pool.map(lambda pid: cpu_share(pid, CPU_SECONDS), pids))
    for app, minimal in zip(apps, minimals):
        app.close()
        minimal.kill()
        minimal.wait()
    return list(zip(shares[:len(apps)], shares[len(apps):]))


def time_to_map(command, cwd, env=None):
    """Launch to the first MapNotify of a top-level window, as the X server reports it."""
    watcher = subprocess.Popen(["xev", "-root", "-event", "substructure"],
                               stdout=subprocess.PIPE, text=True, bufsize=1)
    time.sleep(0.5)
    launched = time.monotonic()
    process = subprocess.Popen(command, cwd=cwd, env=os.environ | (env or {}),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for line in watcher.stdout:
        if line.startswith("MapNotify"):
            mapped = time.monotonic()
            break
    watcher.kill()
    watcher.wait()
    process.kill()
    process.wait()
    return (mapped - launched) * 1000


def startup_rows():
    """Start-up in alternating triples, so that a busy moment weighs on all three alike."""
    binary = os.environ["HORAVOX_BINARY"]
    starts = {binary: [], SAME_CONTROLS: [], MINIMAL: []}
    for _ in range(STARTS):
        for command in starts:
            starts[command].append(time_to_map([command], os.path.dirname(command)))
    for command, times in starts.items():
        print("start-up, %s: %s" % (os.path.basename(command),
                                    " ".join("%.1f" % t for t in times)))
    ours, same, minimal = (statistics.median(times) for times in starts.values())
    return [("start-up, launch to window mapped (ms), same controls", ours, same),
            ("start-up, launch to window mapped (ms), minimal clock", ours, minimal)]


class SpeechService:
    """A speech-dispatcher daemon of its own, as the desktop runs it, stopped by its process id."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="horavox-bench-speechd.")
        socket = os.path.join(self.folder, "speechd.sock")
        self.env = {"SPEECHD_ADDRESS": "unix_socket:" + socket}
        self.daemon = subprocess.Popen(
            ["speech-dispatcher", "-s", "-t", "0", "-C", "/etc/speech-dispatcher", "-c",
             "unix_socket", "-S", socket, "-L", self.folder],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        while not os.path.exists(socket):
            time.sleep(0.05)

    def stop(self):
        self.daemon.terminate()
        self.daemon.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


def speech_service_rows():
    """Start-up with a speech service answering beside start-up with none (the run's private
    address, where nothing answers); then "Say This Now" to sound, through the service's default
    voice beside an embedded voice, in the same program."""
    service = SpeechService()
    binary = os.environ["HORAVOX_BINARY"]
    starts = {"with": [], "without": []}
    try:
        for _ in range(STARTS):
            starts["with"].append(time_to_map([binary], os.path.dirname(binary), service.env))
            starts["without"].append(time_to_map([binary], os.path.dirname(binary)))
        for kind, times in starts.items():
            print("start-up %s the speech service: %s"
                  % (kind, " ".join("%.1f" % t for t in times)))
        onsets = {"embedded": [], "service": []}
        for _ in range(5):
            recording = Recording()
            app = Horavox(service.env)
            app.choose_display_mode(2)
            app.click(8760, 6840, 1335, 375)  # Clear Phrases: nothing else speaks
            time.sleep(1.5)
            for kind in ("embedded", "service"):
                if kind == "service":
                    app.choose_voice("Desktop default voice")
                    time.sleep(0.5)
                clicked = app.click(240, 6360, 1335, 255)
                time.sleep(2.5)
                heard = [start for start, _ in recording.heard() if start > clicked - 0.05]
                onsets[kind].append((min(heard) - clicked) * 1000)
            app.close()
        for kind, times in onsets.items():
            print("onset, %s voice: %s" % (kind, " ".join("%.1f" % t for t in times)))
    finally:
        service.stop()
    return [("start-up (ms), speech service answering / none",
             statistics.median(starts["with"]), statistics.median(starts["without"])),
            ("speech onset (ms), service's default voice / embedded voice",
             statistics.median(onsets["service"]), statistics.median(onsets["embedded"]))]


def phrase_lags(stall_at=None):
    """How far into its wall-clock second each phrase of the default schedule starts (ms)."""
    recording = Recording()
    offset = time.time() - time.monotonic()
    app = Horavox()
    if stall_at:
        time.sleep(stall_at)
        os.kill(app.process.pid, signal.SIGSTOP)
        time.sleep(1.5)
        os.kill(app.process.pid, signal.SIGCONT)
        time.sleep(27 - stall_at - 1.5)
    else:
        time.sleep(27)
    heard = recording.heard(gap=1.0)
    app.close()
    lags = []
    for start, _ in heard:
        wall = start + offset
        lags.append((wall - int(wall)) * 1000)
    return lags


def figure(value):
    return "%.3f" % value if value < 1 else "%.2f" % value


def ratio(value, reference):
    return "%.2f" % (value / reference) if reference else "-"


def main():
    rows = []
    only_cpu = "--cpu" in sys.argv
    if "--startup" in sys.argv:
        return report(startup_rows())
    if "--speech-service" in sys.argv:
        return report(speech_service_rows())

    # Each layout beside the minimal clock over the same minute, in rounds: one noisy minute
    # decides nothing.
    layouts = ("Small Time", "Big Time", "Show Phrases")
    displays = [Display() for _ in layouts]
    try:
        rounds = [cpu_round(displays) for _ in range(CPU_ROUNDS)]
    finally:
        for display in displays:
            display.stop()
    for i, layout in enumerate(layouts):
        pairs = [r[i] for r in rounds]
        print("CPU, %s: %s" % (layout, ", ".join("%.3f/%.3f" % pair for pair in pairs)))
        rows.append(("CPU, %s (%% of a core), median of %d" % (layout, len(pairs)),
                     statistics.median(p[0] for p in pairs),
                     statistics.median(p[1] for p in pairs),
                     statistics.median(p[0] / p[1] for p in pairs)))

    if only_cpu:
        return report(rows)
    minimal = start_reference(MINIMAL)
    same = start_reference(SAME_CONTROLS)
    app = Horavox()
    time.sleep(10)
    memory = [resident_mb(p.pid) for p in (app.process, minimal, same)]
    rows.append(("resident memory after 10 s (MB)", memory[0], memory[1]))
    rows.append(("resident memory after 10 s (MB), same controls", memory[0], memory[2]))
    app.close()
    for reference in (minimal, same):
        reference.kill()
        reference.wait()

    rows += startup_rows()

    # "Say This Now" clicked to first sound, beside espeak-ng speaking "Go" from launch.
    onsets, references = [], []
    for _ in range(7):
        recording = Recording()
        app = Horavox()
        app.choose_display_mode(2)
        time.sleep(0.5)
        app.click(8760, 6840, 1335, 375)  # Clear Phrases: nothing else speaks
        time.sleep(1.5)
        clicked = app.click(240, 6360, 1335, 255)
        time.sleep(1.5)
        launched = time.monotonic()
        subprocess.run(["espeak-ng", "Go"], stderr=subprocess.DEVNULL)
        time.sleep(0.5)
        heard = [start for start, _ in recording.heard()]
        app.close()
        onsets.append(min(t for t in heard if t > clicked - 0.05) - clicked)
        references.append(min(t for t in heard if t > launched - 0.05) - launched)
    rows.append(("speech onset, median (ms)", statistics.median(onsets) * 1000,
                 statistics.median(references) * 1000))
    rows += speech_service_rows()

    # Where in its second a due row starts to sound: the default schedule from start, and again
    # with the program stopped for 1.5 s (a stalled event thread) between the 2nd and 3rd phrase.
    lags = phrase_lags()
    rows.append(("phrase start after its second begins, worst (ms)", max(lags), None))
    rows.append(("phrase start after its second begins, median (ms)", statistics.median(lags),
                 None))
    stalled = phrase_lags(stall_at=6.3)
    rows.append(("phrase start after a 1.5 s stall, worst of the next three (ms)",
                 max(stalled[-3:]), None))

    report(rows)


def report(rows):
    print("| Figure | Horavox | Reference | Ratio |")
    print("|---|---|---|---|")
    for name, value, reference, *given in rows:
        shown = "%.2f" % given[0] if given else ratio(value, reference)
        print("| %s | %s | %s | %s |" % (name, figure(value),
                                       figure(reference) if reference is not None else "-",
                                       shown if reference is not None else "-"))


if __name__ == "__main__":
    main()
