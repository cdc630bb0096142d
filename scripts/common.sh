# Shared by the scripts: the Debian packages each step needs, installing what is missing, and
# configuring and building a CMake preset (CMakePresets.json).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Building and starting the two programs. The build renders the window icon from its SVG;
# the forms layer asks the X window manager for its frames through libxcb; cocomo-estimate
# reads line counters' JSON reports with nlohmann-json (header-only).
RUN_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev qt6-qpa-plugins
              libxcb1-dev nlohmann-json3-dev libcli11-dev fonts-liberation fonts-dejavu-core fonts-dejavu-extra)
# The test suite, on top: GoogleTest; clang for the sanitizer and fuzzing builds; a real X
# server, a window manager, input and accessibility tools for the desktop tests, the Wayland
# platform plugin and three Wayland compositors (weston, GNOME's mutter, KDE's kwin) to run
# the program on, and where no compositor runs; a screen reader and the speech server it
# speaks through, for the screen-reader test; the packaging
# tools for the package test; the locale definitions from which the command-line tests build
# a German locale of their own; RapidCheck, which generates, runs and shrinks the random
# walk's action sequences; cloc, which counts the small trees that the command-line tests
# write, for the reports they read.
TEST_PACKAGES=(libgtest-dev libgmock-dev librapidcheck-dev
               clang libclang-rt-14-dev
               xvfb xauth openbox xdotool x11-utils imagemagick qt6-wayland
               weston mutter kwin-wayland
               orca speech-dispatcher
               dbus dbus-bin dbus-x11 at-spi2-core python3-pyatspi python3-gi gir1.2-atspi-2.0
               desktop-file-utils appstream dpkg-dev fakeroot file
               locales cloc)
# The benchmarks (bench/run_all.sh), on top of building: Google Benchmark, and the X server,
# window manager, synthetic input and damage reports that the desktop benchmarks time with;
# weston and Qt's Wayland plugin for the Wayland start-up.
BENCH_PACKAGES=(libbenchmark-dev xvfb xauth openbox x11-utils libxtst-dev libxdamage-dev
                weston qt6-wayland)

say() { printf '==> %s\n' "$*"; }

ensure_packages() {
    local missing=() package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        say "Debian packages: all ${#@} present"
        return
    fi
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo=sudo
    fi
    say "Installing Debian packages: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
}

# build_preset NAME: configures and builds the preset, in the directory the preset names.
build_preset() {
    say "Configuring the $1 build"
    (cd "$ROOT" && cmake --preset "$1")
    say "Building the $1 build"
    (cd "$ROOT" && cmake --build --preset "$1")
}

# preset_dir NAME: the build directory of a configured preset.
preset_dir() {
    local dir=$ROOT/build
    [ "$1" = default ] || dir=$ROOT/build-$1
    echo "$dir"
}
