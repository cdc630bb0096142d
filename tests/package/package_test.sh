#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a throw-away root, checks its control fields and
# desktop integration files, runs the installed cocomo-estimate and checks its manual page,
# and runs the installed wizard on a real X server: first on a private one (window, icon,
# window class, close through the window manager), then through the desktop end-to-end
# harness.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR
# Exit status 77 (skipped) when everything ran but the desktop harness is not in the tree.
set -euo pipefail

build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
app_id=org.cocomo.EstimationWizard
work=$(mktemp -d "${TMPDIR:-/tmp}/cocomo-package.XXXXXX")
pids=()

stop_started() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    pids=()
}
cleanup() {
    stop_started
    rm -rf "$work"
}
trap cleanup EXIT

step() { printf -- '--- %s\n' "$*"; }
fail() {
    printf 'FAIL: %s\n' "$*" >&2
    exit 1
}
# wait_for SECONDS COMMAND...: polls COMMAND until it succeeds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

step "Building the package"
if ! cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    fail "cpack could not build the package"
fi
shopt -s nullglob
debs=("$work"/out/cocomo-wizard_*.deb)
shopt -u nullglob
[ ${#debs[@]} -eq 1 ] || fail "expected one cocomo-wizard_*.deb, found ${#debs[@]}"
deb=${debs[0]}
echo "$(basename "$deb")"

step "Control fields"
dpkg-deb -f "$deb" Package Version Architecture Section Priority Maintainer Depends
for name in Package Version Section Maintainer Description; do
    [ -n "$(dpkg-deb -f "$deb" "$name")" ] || fail "the control field $name is empty"
done
[ "$(dpkg-deb -f "$deb" Package)" = cocomo-wizard ] || fail "the package is not named cocomo-wizard"
version=$(dpkg-deb -f "$deb" Version)
depends=$(dpkg-deb -f "$deb" Depends)
depends_names=$(tr ',' '\n' <<<"$depends" | sed -E 's/^ +//; s/[ (].*//')
# The libraries come from dpkg-shlibdeps; plugins and fonts are loaded at run time and must be
# named by hand.
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins \
    fonts-liberation; do
    grep -Fxq "$package" <<<"$depends_names" || fail "Depends lacks $package: $depends"
done

step "Unpacking into a throw-away root"
root=$work/root
dpkg-deb -x "$deb" "$root"
program=$root/usr/bin/cocomo-wizard
desktop=$root/usr/share/applications/$app_id.desktop
icon=$root/usr/share/icons/hicolor/scalable/apps/$app_id.svg
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
copyright=$root/usr/share/doc/cocomo-wizard/copyright
[ -x "$program" ] || fail "no executable usr/bin/cocomo-wizard"
for file in "$desktop" "$icon" "$metainfo" "$copyright"; do
    [ -s "$file" ] || fail "missing or empty: ${file#"$root"/}"
done
file -b "$icon" | grep -q 'SVG' || fail "the icon is not an SVG image: $(file -b "$icon")"

step "The installed cocomo-estimate and its manual page"
estimate=$root/usr/bin/cocomo-estimate
manual=$root/usr/share/man/man1/cocomo-estimate.1.gz
[ -x "$estimate" ] || fail "no executable usr/bin/cocomo-estimate"
figures=$("$estimate" --model basic --mode organic --lines 32000) ||
    fail "cocomo-estimate failed: $figures"
echo "$figures"
for line in 'Effort:           91.33' 'TDEV:             13.90' 'Average staffing: 6.57'; do
    grep -Fxq "$line" <<<"$figures" || fail "cocomo-estimate does not print \"$line\""
done
[ -s "$manual" ] || fail "missing or empty: ${manual#"$root"/}"
page=$(gzip -dc "$manual") || fail "the manual page is not gzip-compressed"
for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'EXIT STATUS' EXAMPLES 'SEE ALSO'; do
    grep -Eq "^\.SH \"?$section\"?\$" <<<"$page" || fail "the manual page has no section $section"
done
grep -q '^\.TH COCOMO-ESTIMATE 1 .*'"$version" <<<"$page" ||
    fail "the manual page's title does not carry version $version"

step "desktop-file-validate"
report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"

step "appstreamcli validate --no-net"
report=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli: $report"
echo "$report"
! grep -Eq '^[EW]:' <<<"$report" || fail "appstreamcli reports errors or warnings"

step "The entry, the icon and the metainfo name the same program"
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Icon)" = "$app_id" ] || fail "Icon=$(entry Icon), expected $app_id"
[ "$(entry Exec)" = cocomo-wizard ] || fail "Exec=$(entry Exec), expected cocomo-wizard"
grep -q "<id>$app_id</id>" "$metainfo" || fail "the metainfo id is not $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $app_id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" ||
    fail "the metainfo has no release entry for version $version"
wm_class=$(entry StartupWMClass)

step "The installed program on a private X server"
# A fixed descriptor for -displayfd; the descriptor is closed again once the number is read.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
wait_for 15 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n 1 "$work/display")
openbox --config-file /etc/xdg/openbox/rc.xml >"$work/openbox.log" 2>&1 &
pids+=($!)
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_for 15 wm_running || fail "openbox did not start: $(cat "$work/openbox.log")"

# The installed tree's icon theme comes first, as it would once installed under /usr.
XDG_DATA_DIRS="$root/usr/share:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}" \
    "$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Main Menu$' | head -n 1) ||
    fail "no window \"Main Menu\" appeared: $(cat "$work/program.log")"
[ -n "$window" ] || fail "no window \"Main Menu\" appeared"

classes=$(xprop -id "$window" WM_CLASS)
echo "$classes"
grep -q "\"$wm_class\"" <<<"$classes" ||
    fail "WM_CLASS does not carry the entry's StartupWMClass $wm_class"
# 32-bit cardinals: width, height, then ARGB pixels; 0xff2f3e4e is the icon's body colour.
icon_data=$(xprop -id "$window" -notype 32c _NET_WM_ICON) || fail "xprop cannot read _NET_WM_ICON"
read -r width height < <(sed -E 's/^_NET_WM_ICON = ([0-9]+), ([0-9]+),.*/\1 \2/' <<<"$icon_data")
echo "_NET_WM_ICON: ${width:-none} x ${height:-none}"
[ "${width:-0}" -gt 0 ] 2>/dev/null && [ "${height:-0}" -gt 0 ] ||
    fail "the window carries no icon: $icon_data"
grep -q ", $((0xff2f3e4e))," <<<"$icon_data" || fail "the window's icon is not the program's icon"

xdotool windowactivate --sync "$window"
xdotool key --clearmodifiers alt+F4
wait_for 20 eval '! kill -0 "$program_pid" 2>/dev/null' ||
    fail "the program still runs after its only window was closed"
status=0
wait "$program_pid" || status=$?
unset 'pids[-1]'
[ "$status" -eq 0 ] || fail "the program ended with status $status: $(cat "$work/program.log")"
echo "closed through the window manager, exit status 0"
stop_started
unset DISPLAY

step "The desktop end-to-end Basic scenario against the installed program"
harness=$source/tests/desktop/desktop_test.py
if [ ! -f "$harness" ]; then
    echo "SKIPPED: $harness is not in this tree"
    exit 77
fi
/usr/bin/python3 "$harness" --program "$program" --scenario basic_embedded
echo "PASSED"
