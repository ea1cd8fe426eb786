#!/usr/bin/env python3
"""Whole-program figures, each beside its reference taken in the same run. Run by scripts/bench,
which starts the display and sound server and builds the binaries."""
import os
import signal
import statistics
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from horavox_e2e import Horavox, Recording, run  # noqa: E402

BENCH = os.environ["HORAVOX_BENCH_DIR"]
MINIMAL = os.path.join(BENCH, "minimal_clock")
CPU_SECONDS = int(os.environ.get("HORAVOX_CPU_SECONDS", "60"))


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


def start_minimal():
    process = subprocess.Popen([MINIMAL], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1.5)
    return process


def time_to_map(command, cwd):
    """Launch to the first MapNotify of a top-level window, as the X server reports it."""
    watcher = subprocess.Popen(["xev", "-root", "-event", "substructure"],
                               stdout=subprocess.PIPE, text=True, bufsize=1)
    time.sleep(0.5)
    launched = time.monotonic()
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    for line in watcher.stdout:
        if line.startswith("MapNotify"):
            mapped = time.monotonic()
            break
    watcher.kill()
    process.kill()
    process.wait()
    return (mapped - launched) * 1000


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


def ratio(value, reference):
    return "%.2f" % (value / reference) if reference else "-"


def main():
    rows = []
    only_cpu = "--cpu" in sys.argv

    # Each layout beside the minimal clock over the same minute: the reference moves between runs.
    for layout, entry in (("Small Time", 0), ("Big Time", 1), ("Show Phrases", 2)):
        app = Horavox()
        if entry:
            app.choose_display_mode(entry)
        minimal = start_minimal()
        time.sleep(35)  # past the introduction (its last phrase ends about 31 s in)
        with ThreadPoolExecutor() as pool:
            shares = list(pool.map(lambda pid: cpu_share(pid, CPU_SECONDS),
                                   (app.process.pid, minimal.pid)))
        app.close()
        minimal.kill()
        rows.append(("CPU, %s (%% of a core)" % layout, *shares))

    if only_cpu:
        return report(rows)
    minimal = start_minimal()
    app = Horavox()
    time.sleep(10)
    rows.append(("resident memory after 10 s (MB)", resident_mb(app.process.pid),
                 resident_mb(minimal.pid)))
    app.close()
    minimal.kill()

    binary = os.environ["HORAVOX_BINARY"]
    ours = statistics.median(time_to_map([binary], os.path.dirname(binary)) for _ in range(5))
    theirs = statistics.median(time_to_map([MINIMAL], BENCH) for _ in range(5))
    rows.append(("start-up, launch to window mapped (ms)", ours, theirs))

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
    for name, value, reference in rows:
        print("| %s | %.2f | %s | %s |" % (name, value,
                                         "%.2f" % reference if reference is not None else "-",
                                         ratio(value, reference) if reference is not None else "-"))


if __name__ == "__main__":
    main()
