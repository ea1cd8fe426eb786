# Shared by the run and test scripts: the Debian packages, and the build.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

BUILD_PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev libespeak-ng-dev
                espeak-ng-data libpulse-dev libxcb1-dev fonts-liberation2 xdg-utils)
TEST_PACKAGES=(xvfb xauth xdotool wmctrl x11-utils pulseaudio pulseaudio-utils sox espeak-ng
               pipewire pipewire-pulse wireplumber dbus-daemon
               imagemagick python3 clang util-linux
               desktop-file-utils appstream openbox weston qt6-wayland dbus at-spi2-core
               python3-pyatspi libfaketime)

# Installs what is missing; a second run finds everything and does no apt work.
ensure_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages: ${missing[*]}. Install them with: sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# build DIR [cmake --build options...]; configures the folder the first time.
build() {
    local dir="$1"
    shift
    [ -f "$dir/CMakeCache.txt" ] ||
        cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release ${CMAKE_OPTIONS:-} >/dev/null
    cmake --build "$dir" -j 2 "$@"
}

# A private X server and private sound servers with null sinks, for this script alone: each gets
# its own display number and runtime folder, and only they are stopped, by process id, on exit.
start_services() {
    SERVICES="$(mktemp -d /tmp/horavox-services.XXXXXX)"
    XVFB_PID=""
    trap stop_services EXIT

    start_xvfb "$SERVICES/xvfb.log" 1920x1200
    XVFB_PID="$XVFB_STARTED"
    export DISPLAY="$XVFB_DISPLAY"

    start_sound_servers
}

# PulseAudio and PipeWire with its PulseAudio layer, each private with a null sink; tests hear
# PulseAudio unless scripts/sound-server points them at the other.
start_sound_servers() {
    export HORAVOX_SOUND_SERVERS="$SERVICES/sound"
    for kind in pulseaudio pipewire; do
        "$ROOT/scripts/sound-server" start "$HORAVOX_SOUND_SERVERS/$kind" "$kind"
    done
    export XDG_RUNTIME_DIR="$HORAVOX_SOUND_SERVERS/pulseaudio/run"
    export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
    export HORAVOX_TEST_SINK="horavox_null"
}

stop_services() {
    for kind in pulseaudio pipewire; do
        "$ROOT/scripts/sound-server" stop "$SERVICES/sound/$kind"
    done
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    rm -rf "$SERVICES"
}

# One X server that picks a free display number itself and writes it to a pipe: sets XVFB_DISPLAY
# and XVFB_STARTED (its process id).
start_xvfb() {
    local log="$1" size="$2"
    exec 3>"$log.display"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp >"$log" 2>&1 &
    XVFB_STARTED=$!
    exec 3>&-
    for _ in $(seq 50); do [ -s "$log.display" ] && break; sleep 0.1; done
    XVFB_DISPLAY=":$(head -n1 "$log.display")"
}

# Two more desktops for the window suite, each private to this script and stopped by process id:
# an X server of a laptop's size with a window manager that draws frames (openbox), and a Wayland
# compositor (weston, headless, whose --debug lets weston-screenshooter take pictures).
start_desktops() {
    DESKTOPS="$(mktemp -d /tmp/horavox-desktops.XXXXXX)"
    chmod 700 "$DESKTOPS"
    DESKTOP_PIDS=()
    trap 'stop_desktops; stop_services' EXIT

    start_xvfb "$DESKTOPS/xvfb-openbox.log" 1366x768
    HORAVOX_OPENBOX_DISPLAY="$XVFB_DISPLAY"
    DESKTOP_PIDS+=("$XVFB_STARTED")
    DISPLAY="$HORAVOX_OPENBOX_DISPLAY" XDG_CONFIG_HOME="$DESKTOPS" openbox \
        >"$DESKTOPS/openbox.log" 2>&1 &
    DESKTOP_PIDS+=($!)

    # A plain ground and no panel, so that a screenshot shows the window's outline.
    printf '[core]\nidle-time=0\n[shell]\nbackground-color=0xff204060\npanel-position=none\n' \
        >"$DESKTOPS/weston.ini"
    XDG_RUNTIME_DIR="$DESKTOPS" weston --backend=headless-backend.so --use-pixman --debug \
        --width=1366 --height=768 --socket=wayland-horavox --config="$DESKTOPS/weston.ini" \
        --log="$DESKTOPS/weston.log" >"$DESKTOPS/weston.out" 2>&1 &
    DESKTOP_PIDS+=($!)
    for _ in $(seq 50); do
        [ -S "$DESKTOPS/wayland-horavox" ] &&
            DISPLAY="$HORAVOX_OPENBOX_DISPLAY" xprop -root _NET_SUPPORTING_WM_CHECK |
            grep -q "window id" && break
        sleep 0.1
    done
    export HORAVOX_OPENBOX_DISPLAY HORAVOX_WAYLAND_DISPLAY="$DESKTOPS/wayland-horavox"
    # Without a session bus, an X program would start one of its own that outlives the tests.
    export DBUS_SESSION_BUS_ADDRESS="${DBUS_SESSION_BUS_ADDRESS:-disabled:}"
}

stop_desktops() {
    for pid in "${DESKTOP_PIDS[@]}"; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    rm -rf "$DESKTOPS"
}
