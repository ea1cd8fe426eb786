"""The real window in one desktop, named as the argument: "bare" (an X server alone), "openbox"
(an X server of 1366 x 768 with a window manager that draws frames) or "weston" (Wayland). The
window's outer height in each layout is measured from outside, and screenshots are kept."""
import glob
import os
import re
import subprocess
import sys
import tempfile
import time

from horavox_e2e import ARTIFACTS, SKIPPED, Horavox, check, px, run

DESKTOP = sys.argv[1]
SHORT, TALL = 1900, 8415
LAYOUTS = [("small-time-again", 0, SHORT), ("big-time", 1, TALL), ("show-phrases", 2, TALL),
           ("small-time", 0, SHORT)]
desktop_env = {"openbox": {"DISPLAY": os.environ.get("HORAVOX_OPENBOX_DISPLAY", "")},
               "weston": {"QT_QPA_PLATFORM": "wayland",
                          "WAYLAND_DISPLAY": os.environ.get("HORAVOX_WAYLAND_DISPLAY", "")}}
env = desktop_env.get(DESKTOP, {})
if "" in env.values():
    print("SKIP: needs the desktops that scripts/test starts")
    sys.exit(SKIPPED)
os.environ.update(env)
if DESKTOP == "weston":
    os.environ.pop("DISPLAY")


def shot(name):
    return os.path.join(ARTIFACTS, "%s-%s.png" % (DESKTOP, name))


def x11_outer(app, name):
    """Client height from xwininfo plus the frame the window manager put on the window; the frame
    must keep the whole window on the screen."""
    x, y, _, height = app.geometry()
    extents = run("xprop", "-id", app.window, "_NET_FRAME_EXTENTS")
    left, right, top, bottom = map(int, re.findall(r"\d+", extents)) if "=" in extents else [0] * 4
    screen = re.search(r"(\d+)x(\d+)\+0\+0", run("xwininfo", "-root", "-shape")).groups()
    check(y - top >= 0 and y + height + bottom <= int(screen[1]),
          "%s: the window, frame included, is on the %sx%s screen" % (name, *screen))
    run("import", "-window", "root" if top else app.window, shot(name))
    return height, top + bottom


def wayland_outer(name, wanted):
    """The window's outline in the compositor's screenshot, on its plain ground; the title bar and
    border are Qt's own, drawn inside it."""
    with tempfile.TemporaryDirectory() as folder:
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            subprocess.run(["weston-screenshooter"], cwd=folder, check=True)
            picture = sorted(glob.glob(os.path.join(folder, "*.png")))[-1]
            box = run("convert", picture, "-trim", "-format", "%@", "info:")
            height = int(re.match(r"\d+x(\d+)", box).group(1))
            if height == wanted:
                break
            time.sleep(0.2)
        os.replace(picture, shot(name))
    return height


app = Horavox(x11=DESKTOP != "weston")
if DESKTOP == "weston":
    outer = wayland_outer("small-time", px(SHORT))
    check(outer == px(SHORT), "Small Time: the window is %d twips high (%d px)" % (SHORT, outer))
    app.close()
    sys.exit(0)  # headless weston has no input device through which to choose a layout

client, frame = x11_outer(app, "small-time")
print("frame %d px, client %d px" % (frame, client))
check(app.geometry()[2] == px(10365), "the client area is 10365 twips wide")
check(client == px(SHORT - 15 * frame), "Small Time: %d twips high, frame included" % SHORT)
time.sleep(1.5)
check(app.alive(), "the program stays up")
for name, entry, height in LAYOUTS:
    app.choose_display_mode(entry)
    client = x11_outer(app, name)[0]
    print("%s: client %d px" % (name, client))
    check(client == px(height - 15 * frame), "%s: %d twips high, frame included" % (name, height))
app.close()

if DESKTOP == "bare":
    app = Horavox({"QT_FONT_DPI": "120"})
    width = app.geometry()[2]
    check(abs(width - 1.25 * px(10365)) <= 1, "at 120 DPI the window is 1.25 times as wide")
    run("import", "-window", app.window, shot("small-time-120dpi"))
    app.close()
