"""The window's height in each layout, measured from outside in one desktop (the argument), as
scripts/setup.sh starts them. Screenshots are kept."""
import os
import re
import subprocess
import sys
import tempfile
import time

from horavox_e2e import ARTIFACTS, Horavox, check, choose, fail, px, run, skip_unless, wait_until

DESKTOP = sys.argv[1]
SHORT, TALL = 1900, 8415
# Under any frame the short window keeps its clocks in sight, the tall one its last instruction line.
KEEP = {SHORT: 840 + 495, TALL: 7680 + 255}
LAYOUTS = [("small-time-again", 0, SHORT), ("big-time", 1, TALL), ("show-phrases", 2, TALL),
           ("small-time", 0, SHORT)]
if DESKTOP != "bare":
    display = os.environ.get("HORAVOX_%s_DISPLAY" % DESKTOP.upper())
    skip_unless(display, "the desktops that scripts/test starts")
    os.environ["DISPLAY"] = display
shot = lambda name: os.path.join(ARTIFACTS, "%s-%s.png" % (DESKTOP, name))


def client_px(outer, frame_px):
    return px(max(outer - 15 * frame_px, KEEP[outer]))


def frame_of(app):
    extents = run("xprop", "-id", app.window, "_NET_FRAME_EXTENTS")
    return list(map(int, re.findall(r"\d+", extents))) if "=" in extents else [0] * 4


def settles(app, outer, name):
    """Waits for the client height the frame asks for; the whole window stays on the screen."""
    began = time.monotonic()
    right = lambda: app.geometry()[3] == client_px(outer, sum(frame_of(app)[2:]))
    settled = wait_until(right, 15, 0.05)
    _, _, top, bottom = frame = frame_of(app)
    _, y, _, height = app.geometry()
    print("%s: frame %s, client %d px, right after %.0f ms"
          % (name, frame, height, (time.monotonic() - began) * 1000))
    run("import", "-window", "root" if top else app.window, shot(name))
    check(settled, "%s: %d twips high with the frame, keeping %d twips in sight (%s)"
          % (name, outer, KEEP[outer], shot(name)))
    screen = int(re.search(r"\d+x(\d+)\+0\+0", run("xwininfo", "-root", "-shape")).group(1))
    check(y - top >= 0 and y + height + bottom <= screen, "%s: the window is on the screen" % name)
    if outer == SHORT and top:  # without a frame the short window's client area reaches row 0
        check(height < px(1560), "%s: phrase row 0 is out of sight" % name)


def park_pointer():
    """A nested compositor's own pointer follows the X pointer's moves: pushed to one corner and
    the other, the two agree; the outline ignores it in either, as a busy one may lag behind."""
    run("xdotool", *"mousemove 0 0 mousemove 1365 767".split())


def drag_to_top(x, y):
    """Drags the window by the point (x, y) of its title bar up to the top of the screen."""
    steps = [a for i in range(1, 6) for a in ("mousemove", x, y - (y - 20) * i // 5, "sleep", 0.05)]
    run("xdotool", "mousemove", str(x), str(y), "mousedown", "1", "sleep", "0.1", *map(str, steps),
        "mouseup", "1")


def wayland(socket):
    """The window's outline where the compositor's ground showed before, Qt's own title bar and
    border included; the layouts chosen with a click on the list and its keys."""
    decoration = (3, 30, 3, 3)  # left, top, right, bottom, in pixels
    # A busy compositor draws its pointer where it was parked a while after: the ground is taken
    # once two pictures after a parking are alike, or it would keep a pointer in the middle.
    parked = lambda: (park_pointer(), run("import", "-window", "root", "rgb:-", text=False))[1]
    wait_until(lambda: parked() == parked(), 30, 0.2) or fail("the pointer never came to rest")
    run("import", "-window", "root", "-quality", "10", ground := shot("ground"))  # quick to write
    app = Horavox({"QT_QPA_PLATFORM": "wayland", "WAYLAND_DISPLAY": socket}, x11=False)

    def outline(name=None):
        """(width, height, left, top) of the window; the picture is kept under `name`."""
        picture = shot(name or "outline")
        park_pointer()
        run("import", "-window", "root", "-quality", "10", picture)
        box = run("convert", ground, picture, "-compose", "difference", "-composite", "-threshold",
                  "3%", "-virtual-pixel", "black", "-morphology", "Open", "Rectangle:17x1",
                  "-crop", "1356x758+0+0", "+repage", "-format", "%@", "info:")  # no pointer
        return tuple(map(int, re.match(r"(\d+)x(\d+)\+(\d+)\+(\d+)", box).groups()))

    box = wait_until(lambda: (b := outline())[1] == px(SHORT) and b, 30, 0.2)
    check(box, "Small Time: %d twips high, title bar included (%s)" % (SHORT, box or outline()))
    # Dragged by its title bar to the top, where the tall window fits below.
    drag_to_top(box[2] + box[0] // 3, box[3] + decoration[1] // 2)
    wait_until(lambda: outline()[3] < 40, 30, 0.2) or fail("the window was not dragged to the top")
    for name, entry, outer in LAYOUTS:
        width, height, left, top = outline()
        choose((left + decoration[0] + px(6240 + 1455 - 120),
                top + decoration[1] + px(360 + 157)), entry)
        expected = px(max(outer, KEEP[outer] + 15 * (decoration[1] + decoration[3])))
        box = wait_until(lambda: (b := outline(name))[1] == expected and b, 30, 0.2)
        check(box, "%s: %d twips high with Qt's title bar, keeping %d twips in sight (%s: %s)"
              % (name, outer, KEEP[outer], box or outline(name), shot(name)))
    app.close()


def kwin_wayland():
    """kwin draws the frame and tells no client its size: the window lays out for the design's
    frame of 480 twips. Measured by kwin itself, with a script loaded on its session bus that
    prints to kwin's log."""
    five = " 5." in run(os.environ["HORAVOX_KWIN_WAYLAND_BINARY"], "--version")  # "kwin 5.27.5"
    names = ("clientList", "bufferGeometry") if five else ("windowList", "clientGeometry")
    script = os.path.join(tempfile.mkdtemp(), "geometry.js")
    with open(script, "w") as out:
        out.write("for (const w of workspace.%s()) { const c = w.%s, f = w.frameGeometry; print("
                  "'horavox-geometry ' + [w.pid, c.x, c.y, c.width, c.height, f.x, f.y, f.width, "
                  "f.height].join(' ')); }" % names)
    with open(os.environ["HORAVOX_KWIN_WAYLAND_BUS_FILE"]) as bus:
        scripting = ["env", "DBUS_SESSION_BUS_ADDRESS=" + bus.read().strip(), "gdbus", "call",
                     "--session", "--dest", "org.kde.KWin", "--object-path", "/Scripting",
                     "--method"]
    log = open(os.environ["HORAVOX_KWIN_WAYLAND_LOG"], errors="replace")
    app = Horavox({"QT_QPA_PLATFORM": "wayland",
                   "WAYLAND_DISPLAY": os.environ["HORAVOX_KWIN_WAYLAND_SOCKET"]}, x11=False)

    def geometry():
        """(client, frame) of the program's window, each (x, y, width, height), as kwin has it."""
        log.seek(0, os.SEEK_END)
        run(*scripting, "org.kde.kwin.Scripting.loadScript", script, "horavox-geometry")
        run(*scripting, "org.kde.kwin.Scripting.start")
        told = lambda: (list(map(int, line.split("horavox-geometry ")[1].split())) for line in log
                        if "horavox-geometry " in line)  # read on from where the last look ended
        found = wait_until(lambda: next((g[1:] for g in told() if g[0] == app.process.pid), 0), 10)
        run(*scripting, "org.kde.kwin.Scripting.unloadScript", "horavox-geometry")
        return found and (tuple(found[:4]), tuple(found[4:]))

    for name, entry, outer in [("small-time", None, SHORT)] + LAYOUTS:
        if entry is not None:
            choose((x + px(6240 + 1455 - 120), y + px(360 + 157)), entry)
        expected = client_px(outer, 32)
        found = wait_until(lambda: (g := geometry()) and g[0][3] == expected and g, 30, 0.2)
        (x, y, width, height), frame = found or geometry() or fail("kwin shows no such window")
        row0 = "; phrase row 0 (%d px down) out of sight" % px(1560) if outer == SHORT else ""
        run("import", "-window", "root", shot(name))
        check(width == px(10365) and height == expected, "%s: client %s in kwin's frame %s: "
              "10365 by %d twips%s" % (name, (x, y, width, height), frame, outer - 480, row0))
        if entry is None:  # dragged by kwin's title bar to the top, where the tall window fits
            for _ in range(3):  # a drag that a busy compositor missed is made again
                drag_to_top(frame[0] + frame[2] // 3, (frame[1] + y) // 2)
                if moved := wait_until(lambda: (g := geometry()) and g[1][1] < 40 and g, 10, 0.2):
                    (x, y, _, _), frame = moved
                    break
    app.close()


if DESKTOP == "kwin_wayland":
    sys.exit(kwin_wayland())
if DESKTOP in ("weston", "mutter_wayland"):
    sys.exit(wayland(os.environ["HORAVOX_%s_SOCKET" % DESKTOP.upper()]))

app = Horavox()
check(app.geometry()[2] == px(10365), "the client area is 10365 twips wide")
if DESKTOP == "late":
    check(app.geometry()[3] == px(SHORT), "no window manager yet: the client area is the window")
    config = tempfile.mkdtemp()
    manager = subprocess.Popen(["openbox"], env=os.environ | {"XDG_CONFIG_HOME": config},
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    check(wait_until(lambda: frame_of(app)[2], 30), "openbox, started late, framed the window")
settles(app, SHORT, "small-time")
for name, entry, outer in LAYOUTS:
    app.choose_display_mode(entry)
    settles(app, outer, name)

if DESKTOP == "late":
    # Killed, openbox leaves its properties on the root window, naming a window that is gone.
    manager.kill()
    manager.wait()
    check("window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"), "a stale window manager")
    check(wait_until(lambda: app.geometry()[3] == px(SHORT), 15),
          "the window manager gone, the window is 1900 twips high without its frame")
    began = time.monotonic()
    second = Horavox()  # a start that waits for the window manager that is gone hangs
    check((took := time.monotonic() - began) < 5, "a second start is not held (%.1f s)" % took)
    check(second.geometry()[3] == px(SHORT), "under a stale window manager the window opens unframed")
    second.close()
app.close()

if DESKTOP == "bare":
    app = Horavox({"QT_FONT_DPI": "120"})
    check(abs(app.geometry()[2] - 1.25 * px(10365)) <= 1,
          "at 120 DPI the window is 1.25 times as wide")
    app.screenshot("bare-small-time-120dpi")
    app.close()
