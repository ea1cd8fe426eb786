# Shared by the run and test scripts: the Debian packages, and the build.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

BUILD_PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev libespeak-ng-dev
                espeak-ng-data libpulse-dev fonts-liberation2 xdg-utils)
TEST_PACKAGES=(xvfb xauth xdotool x11-utils pulseaudio pulseaudio-utils sox espeak-ng
               pipewire pipewire-pulse wireplumber dbus-daemon
               imagemagick python3 clang util-linux
               desktop-file-utils appstream)

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

    # Xvfb picks a free display number itself and writes it to the pipe.
    exec 3>"$SERVICES/display"
    Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp >"$SERVICES/xvfb.log" 2>&1 &
    XVFB_PID=$!
    exec 3>&-
    for _ in $(seq 50); do [ -s "$SERVICES/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n1 "$SERVICES/display")"

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
