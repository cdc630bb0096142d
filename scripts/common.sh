# Shared by scripts/run and scripts/test: installs what is missing, then configures and builds.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What building and starting the wizard needs.
RUN_PACKAGES=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
              qt6-base-dev qt6-qpa-plugins libxcb1-dev fonts-liberation fonts-dejavu-core
              fonts-dejavu-extra)
# What the whole test suite needs on top: clang for the sanitizer build and the fuzzer,
# a real X server, a window manager, input and accessibility tools for the desktop tests,
# and the Wayland platform plugin, to start the program where no compositor runs.
TEST_PACKAGES=(clang libclang-rt-14-dev xvfb xauth openbox xdotool x11-utils imagemagick qt6-wayland
               dbus dbus-bin dbus-x11 at-spi2-core python3-pyatspi python3-gi gir1.2-atspi-2.0
               desktop-file-utils appstream dpkg-dev fakeroot file)

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

# configure_and_build BUILD_DIR [cmake options...]
configure_and_build() {
    local dir=$1
    shift
    say "Configuring $dir $*"
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@"
    say "Building $dir"
    cmake --build "$dir"
}
# What the desktop benchmarks (bench/run_all.sh) build against: synthetic input and damage
# reports from the X server.
RUN_PACKAGES+=(libxtst-dev libxdamage-dev)
