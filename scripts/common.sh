# Shared by the scripts: the Debian packages each step needs, installing what is missing, and
# configuring and building a CMake preset (CMakePresets.json).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Building and starting the two programs. The build renders the window icon from its SVG;
# the forms layer asks the X window manager for its frames through libxcb; the numeric runtime
# reads numbers with fast_float; cocomo-estimate reads its arguments with CLI11 and line
# counters' JSON reports with nlohmann-json (all three header-only); the screens are laid out
# for Liberation Sans and fall back on DejaVu Sans Condensed where a caption needs a narrower
# face; Qt's Wayland platform plugin runs the wizard as a native Wayland client.
RUN_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev qt6-wayland
              libxcb1-dev libfast-float-dev nlohmann-json3-dev libcli11-dev fonts-liberation
              fonts-dejavu-extra)
# The test suite, on top: GoogleTest and RapidCheck, which generates, runs and shrinks the
# random walk's action sequences; clang for the sanitizer and fuzzing builds; a real X server,
# window managers (openbox, KDE's kwin, Xfce's xfwm4, i3), input and screenshot tools (GDK
# reads the screen for the theme test) for the desktop tests; Wayland compositors (weston, GNOME's mutter, KDE's kwin, sway, cage) and
# Xwayland to run the program on; the desktop themes and Qt platform themes the program is
# seen under; the buses and the accessibility stack, a screen reader and the speech server it
# speaks through, for the screen-reader test; debhelper, lintian, hardening-check
# (devscripts) and the validators of menu entries and metainfo for the package test; the
# locale definitions from which the command-line tests build a German locale of their own;
# cloc, which counts the small trees that the command-line tests write, for the reports they
# read.
TEST_PACKAGES=(libgtest-dev libgmock-dev librapidcheck-dev
               clang libclang-rt-14-dev
               xvfb openbox kwin-x11 xfwm4 i3 xdotool x11-utils imagemagick
               weston mutter kwin-wayland sway cage xwayland
               adwaita-qt6 qt6-gtk-platformtheme gnome-themes-extra qt6ct
               dbus-bin dbus-daemon at-spi2-core python3-pyatspi python3-gi gir1.2-atspi-2.0
               gir1.2-gtk-3.0
               orca speech-dispatcher
               debhelper lintian devscripts desktop-file-utils appstream file
               locales cloc)
# The benchmarks (bench/run_all.sh), on top of building: Google Benchmark, and the X server,
# window manager, synthetic input and damage reports that the desktop benchmarks time with;
# weston and Qt's Wayland plugin for the Wayland start-up.
BENCH_PACKAGES=(libbenchmark-dev xvfb xauth openbox x11-utils libxtst-dev libxdamage-dev
                weston qt6-wayland)
# The page (./scripts/test web), on top of building: emscripten, which compiles the engine to
# WebAssembly; GoogleTest, without which the default build that makes the native
# cocomo-estimate the page is checked against does not configure; Chromium, its WebDriver and
# Selenium, which drive the page.
WEB_PACKAGES=(emscripten libgtest-dev libgmock-dev chromium chromium-driver python3-selenium)
# axe-core, which checks the page's accessibility, from the npm registry: for the test alone.
WEB_NPM_PACKAGE=axe-core@4.14.1

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
    say "In a container apt may say that services cannot start or that there is no bus: harmless"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

# ensure_npm_package DIR NAME@VERSION: installs the package into DIR/node_modules unless that
# version is there.
ensure_npm_package() {
    local dir=$1 name=${2%@*} version=${2##*@}
    if grep -qs "\"version\": \"$version\"" "$dir/node_modules/$name/package.json"; then
        say "npm package $2: present"
        return
    fi
    command -v npm >/dev/null || ensure_packages npm
    say "Installing $2 from the npm registry into $dir"
    mkdir -p "$dir"
    npm install --prefix "$dir" --no-save --no-package-lock --no-audit --no-fund "$2"
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
