"""The window's outer height in each layout, measured from outside in one desktop (the argument):
bare X, openbox (1366 x 768, with frames) or weston. Screenshots are kept."""
import glob
import os
import re
import subprocess
import sys
import tempfile
import time

from horavox_e2e import ARTIFACTS, Horavox, check, px, run, skip_unless

DESKTOP = sys.argv[1]
SHORT, TALL = 1900, 8415
get = lambda name: os.environ.get(name, "")
env = {"openbox": {"DISPLAY": get("HORAVOX_OPENBOX_DISPLAY")},
       "weston": {"QT_QPA_PLATFORM": "wayland", "WAYLAND_DISPLAY": get("HORAVOX_WAYLAND_DISPLAY")}}
env = env.get(DESKTOP, {})
skip_unless("" not in env.values(), "the desktops that scripts/test starts")
os.environ.update(env)
shot = lambda name: os.path.join(ARTIFACTS, "%s-%s.png" % (DESKTOP, name))


def x11_outer(app, name):
    """Client height and the frame the window manager put on it, which must keep the whole window
    on the screen."""
    x, y, _, height = app.geometry()
    extents = run("xprop", "-id", app.window, "_NET_FRAME_EXTENTS")
    left, right, top, bottom = map(int, re.findall(r"\d+", extents)) if "=" in extents else [0] * 4
    screen = re.search(r"(\d+)x(\d+)\+0\+0", run("xwininfo", "-root", "-shape")).groups()
    check(y - top >= 0 and y + height + bottom <= int(screen[1]),
          "%s: the window, frame included, is on the %sx%s screen" % (name, *screen))
    run("import", "-window", "root" if top else app.window, shot(name))
    return height, top + bottom


if DESKTOP == "weston":
    # The window's outline in the compositor's screenshot, on its plain ground; the title bar and
    # border are Qt's own, drawn inside it. Headless weston has no input to choose a layout with.
    os.environ.pop("DISPLAY")
    app = Horavox(x11=False)
    with tempfile.TemporaryDirectory() as folder:
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            subprocess.run(["weston-screenshooter"], cwd=folder, check=True)
            picture = sorted(glob.glob(os.path.join(folder, "*.png")))[-1]
            box = run("convert", picture, "-trim", "-format", "%@", "info:")
            outer = int(re.match(r"\d+x(\d+)", box).group(1))
            if outer == px(SHORT):
                break
            time.sleep(0.2)
        os.replace(picture, shot("small-time"))
    check(outer == px(SHORT), "Small Time: the window is %d twips high (%d px)" % (SHORT, outer))
    app.close()
    sys.exit(0)

app = Horavox()
client, frame = x11_outer(app, "small-time")
print("frame %d px, client %d px" % (frame, client))
check(app.geometry()[2] == px(10365), "the client area is 10365 twips wide")
check(client == px(SHORT - 15 * frame), "Small Time: %d twips high, frame included" % SHORT)
for name, entry, height in [("small-time-again", 0, SHORT), ("big-time", 1, TALL),
                            ("show-phrases", 2, TALL), ("small-time", 0, SHORT)]:
    app.choose_display_mode(entry)
    client = x11_outer(app, name)[0]
    print("%s: client %d px" % (name, client))
    check(client == px(height - 15 * frame), "%s: %d twips high, frame included" % (name, height))
app.close()

if DESKTOP == "bare":
    app = Horavox({"QT_FONT_DPI": "120"})
    check(abs(app.geometry()[2] - 1.25 * px(10365)) <= 1,
          "at 120 DPI the window is 1.25 times as wide")
    app.screenshot("bare-small-time-120dpi")
    app.close()
