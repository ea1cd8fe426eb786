"""The window's height in each layout, measured from outside in one desktop (the argument), as
scripts/setup.sh starts them. Screenshots are kept."""
import os
import re
import subprocess
import sys
import tempfile
import time

from horavox_e2e import ARTIFACTS, Horavox, check, px, run, skip_unless, wait_until

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
    settled = wait_until(right, 2, 0.01)
    _, _, top, bottom = frame = frame_of(app)
    _, y, _, height = app.geometry()
    print("%s: frame %s, client %d px, right after %.0f ms"
          % (name, frame, height, (time.monotonic() - began) * 1000))
    check(settled, "%s: %d twips high with the frame, keeping %d twips in sight"
          % (name, outer, KEEP[outer]))
    screen = int(re.search(r"\d+x(\d+)\+0\+0", run("xwininfo", "-root", "-shape")).group(1))
    check(y - top >= 0 and y + height + bottom <= screen, "%s: the window is on the screen" % name)
    if outer == SHORT and top:  # without a frame the short window's client area reaches row 0
        check(height < px(1560), "%s: phrase row 0 is out of sight" % name)
    run("import", "-window", "root" if top else app.window, shot(name))


def wayland():
    """The window's outline on the compositor's plain ground, Qt's own title bar and border
    included; the layouts chosen with a click on the list and its keys."""
    decoration = (3, 30, 3, 3)  # left, top, right, bottom, in pixels
    frame = decoration[1] + decoration[3]
    app = Horavox({"QT_QPA_PLATFORM": "wayland",
                   "WAYLAND_DISPLAY": os.environ["HORAVOX_WAYLAND_DISPLAY"]}, x11=False)

    def outline(name=None):
        """(width, height, left, top) of the window; the picture is kept under `name`."""
        picture = shot(name or "outline")
        # The compositor draws its pointer itself, and moves it by the X pointer's moves: pushed
        # to one corner and the other, the two agree, and it is cut away.
        for corner in ("0", "0"), ("1365", "767"):
            run("xdotool", "mousemove", *corner)
            time.sleep(0.05)
        run("import", "-window", "root", picture)
        box = run("convert", picture, "-crop", "1356x758+0+0", "+repage", "-format", "%@",
                  "info:")
        return tuple(map(int, re.match(r"(\d+)x(\d+)\+(\d+)\+(\d+)", box).groups()))

    box = wait_until(lambda: (b := outline())[1] == px(SHORT) and b, 10, 0.2)
    check(box, "Small Time: the window is %d twips high, title bar included" % SHORT)
    # Dragged by its title bar to the top, where the tall window fits below.
    x, y = box[2] + box[0] // 3, box[3] + decoration[1] // 2
    run("xdotool", "mousemove", str(x), str(y), "mousedown", "1")
    for step in range(1, 6):
        run("xdotool", "mousemove", str(x), str(y - (y - 20) * step // 5))
        time.sleep(0.05)
    run("xdotool", "mouseup", "1")
    current = 0
    for name, entry, outer in LAYOUTS:
        width, height, left, top = outline()
        arrow = (left + decoration[0] + px(6240 + 1455 - 120), top + decoration[1] + px(360 + 157))
        run("xdotool", "mousemove", *map(str, arrow), "click", "1")
        time.sleep(0.5)
        keys = ["Down"] * (entry - current) + ["Up"] * (current - entry) + ["Return"]
        run("xdotool", "key", "--delay", "100", *keys)
        current = entry
        expected = px(max(outer, KEEP[outer] + 15 * frame))
        box = wait_until(lambda: (b := outline())[1] == expected and b, 3, 0.2)
        print("%s: window %s" % (name, outline(name)))
        check(box, "%s: %d twips high with Qt's title bar, keeping %d twips in sight"
              % (name, outer, KEEP[outer]))
    app.close()


if DESKTOP == "weston":
    wayland()
    sys.exit(0)

app = Horavox()
check(app.geometry()[2] == px(10365), "the client area is 10365 twips wide")
if DESKTOP == "late":
    check(app.geometry()[3] == px(SHORT), "no window manager yet: the client area is the window")
    config = tempfile.mkdtemp()
    manager = subprocess.Popen(["openbox"], env=os.environ | {"XDG_CONFIG_HOME": config},
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    check(wait_until(lambda: frame_of(app)[2], 10), "openbox, started late, framed the window")
settles(app, SHORT, "small-time")
for name, entry, outer in LAYOUTS:
    app.choose_display_mode(entry)
    settles(app, outer, name)

if DESKTOP == "late":
    # Killed, openbox leaves its properties on the root window, naming a window that is gone.
    manager.kill()
    manager.wait()
    check("window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"), "a stale window manager")
    check(wait_until(lambda: app.geometry()[3] == px(SHORT), 2),
          "the window manager gone, the window is 1900 twips high without its frame")
    launched = time.monotonic()
    second = Horavox()
    opened = time.monotonic() - launched
    check(opened < 1.5 and second.geometry()[3] == px(SHORT),
          "under a stale window manager the window opens at once (%.2f s), unframed" % opened)
    second.close()
app.close()

if DESKTOP == "bare":
    app = Horavox({"QT_FONT_DPI": "120"})
    check(abs(app.geometry()[2] - 1.25 * px(10365)) <= 1,
          "at 120 DPI the window is 1.25 times as wide")
    app.screenshot("bare-small-time-120dpi")
    app.close()
