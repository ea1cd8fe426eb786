"""The Debian package: built from the install rules, installed, validated, started from its
menu entry, its Help opening the installed help text, and removed again."""
import configparser
import glob
import os
import stat
import subprocess
import sys
import tempfile
import time

from horavox_e2e import SKIPPED, Horavox, check

if os.geteuid() != 0:
    print("SKIP: installing a package needs root")
    sys.exit(SKIPPED)

build = os.environ["HORAVOX_BUILD_DIR"]
packages = tempfile.mkdtemp()
subprocess.run(["cpack", "-G", "DEB", "-B", packages], cwd=build, check=True,
               stdout=subprocess.DEVNULL)
package = glob.glob(os.path.join(packages, "horavox_*.deb"))[0]
check(subprocess.run(["dpkg", "-i", package]).returncode == 0, "the package installs")
try:
    entry_file = "/usr/share/applications/org.horavox.Horavox.desktop"
    check(subprocess.run(["desktop-file-validate", entry_file]).returncode == 0,
          "the desktop entry is valid")
    check(subprocess.run(["appstreamcli", "validate", "--no-net",
                          "/usr/share/metainfo/org.horavox.Horavox.metainfo.xml"]).returncode == 0,
          "the AppStream metadata is valid")
    for size in (16, 32, 48, 256):
        check(os.path.exists("/usr/share/icons/hicolor/%dx%d/apps/org.horavox.Horavox.png"
                             % (size, size)), "the %d-pixel icon is installed" % size)

    entry = configparser.ConfigParser(interpolation=None)
    entry.read(entry_file)
    desktop = entry["Desktop Entry"]
    check(os.path.exists(os.path.join(desktop["Path"], "readme.txt")),
          "the help text lies in the entry's Path")

    # A stub opener that notes where it was started and what it was given.
    stubs = tempfile.mkdtemp()
    log = os.path.join(stubs, "log")
    opener = os.path.join(stubs, "xdg-open")
    with open(opener, "w") as f:
        f.write('#!/bin/sh\necho "$PWD/$1" >> %s\n' % log)
    os.chmod(opener, stat.S_IRWXU)
    app = Horavox({"PATH": stubs + ":" + os.environ["PATH"]},
                  binary="/usr/bin/" + desktop["Exec"], cwd=desktop["Path"])
    app.click(1200, 360, 735, 375)
    time.sleep(1)
    opened = open(log).read().split() if os.path.exists(log) else []
    check(opened == [os.path.join(desktop["Path"], "readme.txt")],
          "Help opens the installed readme.txt")
    app.close()
finally:
    check(subprocess.run(["dpkg", "-r", "horavox"], stdout=subprocess.DEVNULL).returncode == 0,
          "the package is removed again")
