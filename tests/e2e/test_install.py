"""The Debian package: installed, validated, started from its menu entry, removed again."""
import configparser
import glob
import os
import subprocess
import tempfile

from horavox_e2e import HELP, Horavox, check, skip_unless, wait_until

skip_unless(os.geteuid() == 0, "root, to install a package")


def succeeds(*command, **options):
    return subprocess.run(command, stdout=subprocess.DEVNULL, **options).returncode == 0


packages = tempfile.mkdtemp()
succeeds("cpack", "-G", "DEB", "-B", packages, cwd=os.environ["HORAVOX_BUILD_DIR"], check=True)
check(succeeds("dpkg", "-i", *glob.glob(os.path.join(packages, "horavox_*.deb"))),
      "the package installs")
try:
    entry_file = "/usr/share/applications/org.horavox.Horavox.desktop"
    check(succeeds("desktop-file-validate", entry_file), "the desktop entry is valid")
    check(succeeds("appstreamcli", "validate", "--no-net",
                   "/usr/share/metainfo/org.horavox.Horavox.metainfo.xml"),
          "the AppStream metadata is valid")
    icons = "/usr/share/icons/hicolor/%dx%d/apps/org.horavox.Horavox.png"
    check(all(os.path.exists(icons % (n, n)) for n in (16, 32, 48, 256)), "the icons are installed")
    entry = configparser.ConfigParser(interpolation=None)
    entry.read(entry_file)
    desktop = entry["Desktop Entry"]
    readme = os.path.join(desktop["Path"], "readme.txt")
    check(os.path.exists(readme), "the help text lies in the entry's Path")

    # A stub opener that notes where it was started and what it was given.
    stubs = tempfile.mkdtemp()
    log = os.path.join(stubs, "log")
    with open(os.path.join(stubs, "xdg-open"), "w") as f:
        f.write('#!/bin/sh\necho "$PWD/$1" >> %s\n' % log)
    os.chmod(f.name, 0o700)
    app = Horavox({"PATH": stubs + ":" + os.environ["PATH"]},
                  binary="/usr/bin/" + desktop["Exec"], cwd=desktop["Path"])
    app.click(*HELP)
    opened = wait_until(lambda: os.path.exists(log) and open(log).read().split(), 15)
    check(opened == [readme], "Help opens the installed readme.txt (the opener was given %s, "
          "logged in %s)" % (opened, log))
    app.close()
finally:
    check(succeeds("dpkg", "-r", "horavox"), "the package is removed again")
