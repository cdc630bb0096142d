#!/usr/bin/env bash
# Builds the Debian source and binary packages from a copy of the tree, checks them with
# lintian and hardening-check, unpacks them into a throw-away root, checks their control fields,
# desktop integration files and manual pages, runs the unpacked cocomo-estimate through its
# autopkgtest, and runs the unpacked wizard on a real X server: first on a private one
# (window, icon, window class, close through the window manager), then through the desktop
# end-to-end harness.
# Usage: package_test.sh SOURCE_DIR
# Exit status 77 (skipped) when everything ran but the desktop harness is not in the tree.
set -euo pipefail

source=$(cd "$1" && pwd)
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

step() { printf -- '--- [%3d s] %s\n' "$SECONDS" "$*"; }
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

step "Building the source and binary packages"
# The files git would commit, edits included, and none of the build trees.
mkdir "$work/src"
git -C "$source" ls-files -z --cached --others --exclude-standard |
    (cd "$source" && xargs -0 cp --parents -t "$work/src")
# Line tables only for the debug symbols: the compiler's full debug information costs a fifth
# of the build, and the checks below do not read it.
if ! (cd "$work/src" && DEB_BUILD_OPTIONS="parallel=2" DEB_CXXFLAGS_APPEND=-g1 \
    dpkg-buildpackage -us -uc) >"$work/build.log" 2>&1; then
    tail -n 40 "$work/build.log"
    fail "dpkg-buildpackage could not build the packages"
fi
shopt -s nullglob
changes=("$work"/cocomo-wizard_*.changes)
shopt -u nullglob
[ ${#changes[@]} -eq 1 ] || fail "expected one cocomo-wizard_*.changes, found ${#changes[@]}"
version=$(sed -n 's/^Version: //p' "${changes[0]}")
arch=$(dpkg --print-architecture)
wizard_deb=$work/cocomo-wizard_${version}_$arch.deb
estimate_deb=$work/cocomo-estimate_${version}_$arch.deb
for file in "$wizard_deb" "$estimate_deb" "$work/cocomo-wizard_$version.dsc" \
    "$work"/cocomo-{wizard,estimate}-dbgsym_"${version}_$arch".deb; do
    [ -s "$file" ] || fail "dpkg-buildpackage did not write $(basename "$file")"
done
grep -E '\.(deb|dsc|tar\.[a-z]+)$' "${changes[0]}" |
    sed -n 's/^ [0-9a-f]\{64\} [0-9]* //p' | sort -u

step "lintian -i -I --pedantic"
report=$(lintian -i -I --pedantic "${changes[0]}" 2>&1) || fail "lintian failed: $report"
grep -E '^[A-Z]: ' <<<"$report" || echo "no tags"
! grep -Eq '^[EW]: ' <<<"$report" || fail "lintian reports errors or warnings"

step "Control fields"
for deb in "$wizard_deb" "$estimate_deb"; do
    dpkg-deb -f "$deb" Package Version Architecture Section Maintainer Depends Recommends
    for name in Package Version Section Maintainer Description; do
        [ -n "$(dpkg-deb -f "$deb" "$name")" ] ||
            fail "$(basename "$deb"): the field $name is empty"
    done
done
names() { dpkg-deb -f "$1" "$2" | tr ',' '\n' | sed -E 's/^ +//; s/[ (].*//'; }
# The libraries come from dpkg-shlibdeps; the fonts are loaded at run time and named by hand.
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 fonts-liberation \
    fonts-dejavu-core fonts-dejavu-extra; do
    names "$wizard_deb" Depends | grep -Fxq "$package" ||
        fail "cocomo-wizard does not depend on $package"
done
names "$wizard_deb" Recommends | grep -Fxq qt6-wayland ||
    fail "cocomo-wizard does not recommend qt6-wayland"
! names "$estimate_deb" Depends | grep -Eq 'qt|xcb|font' ||
    fail "cocomo-estimate needs more than the C++ runtime: $(dpkg-deb -f "$estimate_deb" Depends)"

step "Unpacking into a throw-away root"
root=$work/root
dpkg-deb -x "$wizard_deb" "$root"
dpkg-deb -x "$estimate_deb" "$root"
program=$root/usr/bin/cocomo-wizard
estimate=$root/usr/bin/cocomo-estimate
desktop=$root/usr/share/applications/$app_id.desktop
icons=$root/usr/share/icons/hicolor
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
for file in "$program" "$estimate"; do
    [ -x "$file" ] || fail "no executable ${file#"$root"/}"
done
for file in "$desktop" "$icons/scalable/apps/$app_id.svg" "$metainfo" \
    "$root"/usr/share/doc/cocomo-{wizard,estimate}/{copyright,changelog.gz}; do
    [ -s "$file" ] || fail "missing or empty: ${file#"$root"/}"
done
file -b "$icons/scalable/apps/$app_id.svg" | grep -q 'SVG' ||
    fail "the scalable icon is not an SVG image"
for size in 48 256; do
    file -b "$icons/${size}x$size/apps/$app_id.png" | grep -q "PNG image data, $size x $size," ||
        fail "no ${size}x$size PNG icon"
done

step "hardening-check"
# Debian 12's C library start files carry no control-flow protection marks, so no program
# linked against them can.
hardening-check --nocfprotection "$program" "$estimate" ||
    fail "hardening-check: not every protection is on"

step "The unpacked cocomo-estimate"
COCOMO_ESTIMATE=$estimate "$source/debian/tests/cocomo-estimate" ||
    fail "cocomo-estimate gives wrong results"

step "The manual pages"
for name in cocomo-wizard cocomo-estimate; do
    page=$(gzip -dc "$root/usr/share/man/man1/$name.1.gz") ||
        fail "no compressed manual page for $name"
    sections=(NAME SYNOPSIS DESCRIPTION 'EXIT STATUS' 'SEE ALSO')
    [ "$name" = cocomo-wizard ] && sections+=(ENVIRONMENT) || sections+=(OPTIONS EXAMPLES)
    for section in "${sections[@]}"; do
        grep -Eq "^\.SH \"?$section\"?\$" <<<"$page" ||
            fail "the manual page of $name has no section $section"
    done
    grep -q "^\.TH ${name^^} 1 .*$version" <<<"$page" ||
        fail "the title of $name's manual page does not carry version $version"
done

step "desktop-file-validate"
report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"

step "appstreamcli validate --pedantic"
report=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) || fail "appstreamcli: $report"
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
