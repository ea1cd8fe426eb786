# Shared by the run and test scripts: the Debian packages, and the build.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

BUILD_PACKAGES=(cmake g++ make pkg-config qt6-base-dev libgl-dev libespeak-ng-dev
                espeak-ng-data libpulse-dev fonts-liberation2 xdg-utils)
TEST_PACKAGES=(xvfb xauth xdotool x11-utils pulseaudio pulseaudio-utils sox espeak-ng
               imagemagick python3 clang libbenchmark-dev util-linux)

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
