# Shared by the run and test scripts: the Debian packages, and the build.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

BUILD_PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev libespeak-ng-dev
                espeak-ng-data libpulse-dev libspeechd-dev libxcb1-dev libwayland-dev fonts-liberation2
                xdg-utils)
TEST_PACKAGES=(xvfb xauth xdotool wmctrl x11-utils pulseaudio pulseaudio-utils sox espeak-ng
               pipewire pipewire-pulse wireplumber dbus-daemon
               imagemagick python3 clang libclang-rt-dev util-linux
               desktop-file-utils appstream openbox weston qt6-wayland dbus at-spi2-core
               python3-pyatspi libfaketime mutter kwin-x11 kwin-wayland breeze speech-dispatcher
               speech-dispatcher-espeak-ng orca libglib2.0-bin dconf-gsettings-backend dconf-service
               brltty brltty-x11 python3-pyte)

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
    # No daemon started by a package's scripts, and BRLTTY never a service of the machine: the
    # suites start their own, private to the run, and stop them by process id.
    local deny=""
    if [ ! -e /usr/sbin/policy-rc.d ]; then
        deny=/usr/sbin/policy-rc.d
        printf '#!/bin/sh\nexit 101\n' >"$deny"
        chmod +x "$deny"
    fi
    mkdir -p /etc/systemd/system
    [ -e /etc/systemd/system/brltty.service ] || ln -s /dev/null /etc/systemd/system/brltty.service
    local status=0
    apt-get install -y -qq --no-install-recommends "${missing[@]}" || status=$?
    [ -z "$deny" ] || rm -f "$deny"
    return "$status"
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
    keep_speech_service_private
}

# The program reaches for the desktop's speech service and starts it when it is installed. Under
# test it finds none unless a suite starts one at this address: nothing starts one by itself.
keep_speech_service_private() {
    mkdir -p "$SERVICES/config/speech-dispatcher"
    echo "DisableAutoSpawn" >"$SERVICES/config/speech-dispatcher/speechd.conf"
    export XDG_CONFIG_HOME="$SERVICES/config"
    export SPEECHD_ADDRESS="unix_socket:$SERVICES/speechd.sock"
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
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null || true
    rm -rf "$SERVICES"
}

# One X server that picks a free display number itself and writes it to a pipe: sets XVFB_DISPLAY
# and XVFB_STARTED (its process id). It does not reset when its last client leaves: a program
# started during a reset cannot connect.
start_xvfb() {
    local log="$1" size="$2"
    exec 3>"$log.display"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset >"$log" 2>&1 &
    XVFB_STARTED=$!
    exec 3>&-
    for _ in $(seq 50); do [ -s "$log.display" ] && break; sleep 0.1; done
    XVFB_DISPLAY=":$(head -n1 "$log.display")"
}

# The desktops of the window suite, each private to this script and stopped by process id, each on
# an X server of a laptop's size: openbox, GNOME's mutter and KDE's kwin as X11 window managers;
# an X server left bare for a window manager the suite starts late; and three Wayland compositors,
# weston, KDE's kwin and GNOME's mutter, each nested in an X server, so that xdotool's clicks and
# keys reach it and the X root shows its clients.
start_desktops() {
    DESKTOPS="$(mktemp -d /tmp/horavox-desktops.XXXXXX)"
    chmod 700 "$DESKTOPS"
    DESKTOP_PIDS=()
    trap 'stop_desktops; stop_services' EXIT

    start_desktop openbox openbox
    start_desktop mutter with_session_bus mutter --x11 --replace --sm-disable
    KWIN_COMPOSE=N start_desktop kwin with_session_bus kwin_x11 --replace
    start_desktop late
    # A plain ground, no panel and no on-screen keyboard, so that a screenshot shows the window.
    printf '%s\n' '[core]' 'idle-time=0' '[shell]' 'background-color=0xff204060' \
        'panel-position=none' '[input-method]' 'path=' >"$DESKTOPS/weston.ini"
    XDG_RUNTIME_DIR="$DESKTOPS" start_desktop weston weston --backend=x11-backend.so \
        --use-pixman --width=1366 --height=768 --socket=wayland-horavox \
        --config="$DESKTOPS/weston.ini"
    # The packaged kwin_wayland carries a file capability that keeps it from starting here, and
    # kwin loads its platform plugin only for an executable of that name: a copy in a folder of
    # its own. Its scripts' output, which the suite reads, goes to its log.
    export HORAVOX_KWIN_WAYLAND_BINARY="$DESKTOPS/kwin-wayland-bin/kwin_wayland"
    mkdir "${HORAVOX_KWIN_WAYLAND_BINARY%/*}"
    cp "$(command -v kwin_wayland)" "$HORAVOX_KWIN_WAYLAND_BINARY"
    # Left without input while the suites before it run, kwin would lock its screen after five
    # minutes, and clicks and keys would go to the lock screen.
    mkdir -p "$DESKTOPS/kwin_wayland"
    printf '%s\n' '[Daemon]' 'Autolock=false' 'LockOnResume=false' \
        >"$DESKTOPS/kwin_wayland/kscreenlockerrc"
    XDG_RUNTIME_DIR="$DESKTOPS" KWIN_COMPOSE=Q QT_FORCE_STDERR_LOGGING=1 \
        QT_LOGGING_RULES="js.debug=true;kwin_scripting.debug=true" start_desktop kwin_wayland \
        with_session_bus "$HORAVOX_KWIN_WAYLAND_BINARY" --x11-display @DISPLAY@ \
        --socket wayland-kwin --width 1366 --height 768
    export HORAVOX_KWIN_WAYLAND_LOG="$DESKTOPS/kwin_wayland.log"
    export HORAVOX_KWIN_WAYLAND_BUS_FILE="$DESKTOPS/kwin_wayland/session-bus"
    XDG_RUNTIME_DIR="$DESKTOPS" MUTTER_DEBUG_DUMMY_MODE_SPECS=1366x768 start_desktop \
        mutter_wayland with_session_bus mutter --nested --wayland --no-x11 \
        --wayland-display wayland-mutter
    for desktop in openbox mutter kwin; do
        local display="HORAVOX_${desktop^^}_DISPLAY"
        for _ in $(seq 100); do
            DISPLAY="${!display}" xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id" &&
                break
            sleep 0.1
        done
    done
    for socket in wayland-horavox wayland-kwin wayland-mutter; do
        for _ in $(seq 100); do [ -S "$DESKTOPS/$socket" ] && break; sleep 0.1; done
    done
    export HORAVOX_WESTON_SOCKET="$DESKTOPS/wayland-horavox"
    export HORAVOX_KWIN_WAYLAND_SOCKET="$DESKTOPS/wayland-kwin"
    export HORAVOX_MUTTER_WAYLAND_SOCKET="$DESKTOPS/wayland-mutter"
    # Without a session bus, an X program would start one of its own that outlives the tests.
    export DBUS_SESSION_BUS_ADDRESS="${DBUS_SESSION_BUS_ADDRESS:-disabled:}"
}

# start_desktop NAME [COMMAND...]: an X server of its own, in HORAVOX_<NAME>_DISPLAY, for COMMAND,
# where an argument @DISPLAY@ stands for that server's display name.
start_desktop() {
    local name="$1"
    shift
    start_xvfb "$DESKTOPS/xvfb-$name.log" 1366x768
    DESKTOP_PIDS+=("$XVFB_STARTED")
    export "HORAVOX_${name^^}_DISPLAY=$XVFB_DISPLAY"
    [ $# -gt 0 ] || return 0
    set -- "${@/#@DISPLAY@/$XVFB_DISPLAY}"
    DISPLAY="$XVFB_DISPLAY" XDG_CONFIG_HOME="$DESKTOPS/$name" "$@" >"$DESKTOPS/$name.log" 2>&1 &
    DESKTOP_PIDS+=($!)
}

# with_session_bus COMMAND...: COMMAND on a session bus of its own, whose daemon is stopped by the
# process id it writes to DESKTOPS/bus-pids; its address is in XDG_CONFIG_HOME/session-bus.
with_session_bus() {
    local address
    address="$(dbus-daemon --session --fork --nopidfile --print-pid=3 --print-address \
        3>>"$DESKTOPS/bus-pids")"
    mkdir -p "$XDG_CONFIG_HOME"
    printf '%s\n' "$address" >"$XDG_CONFIG_HOME/session-bus"
    DBUS_SESSION_BUS_ADDRESS="$address" exec "$@"
}

stop_desktops() {
    [ -f "$DESKTOPS/bus-pids" ] && DESKTOP_PIDS+=($(cat "$DESKTOPS/bus-pids"))
    for pid in "${DESKTOP_PIDS[@]}"; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    done
    rm -rf "$DESKTOPS"
}
