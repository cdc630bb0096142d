#!/usr/bin/python3
"""Drives the built wizard on a real X server with a real window manager.

Starts its own Xvfb, session bus, accessibility bus and openbox, runs each scenario against a
fresh instance of the program with real input events (xdotool), finds windows by caption and
controls by their accessible names, reads texts and states through AT-SPI, saves a
screenshot of every screen it visits, and stops every process it started.

    desktop_test.py --program PATH [--scenario NAME]... [--screen WxH] [--screenshots DIR]

The placement_at_SCALE and theme_THEME scenarios run only when named.
"""

import argparse
import collections
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from desktop import (ERROR_BOX, SIZE_BOX, SIZE_REQUIREMENT, WAIT,  # noqa: E402
                     Failure, Program, contrast, expect_equal, figures, grab, intersection,
                     pixels, run_on_desktop, stop_process, wait_for, xdotool)


PHASE = "Phase Distribution of Effort and Schedule"


def hundredths(value):
    return "%.2f" % value


# The scenarios. Each gets a fresh program and must leave it ended or running.
def basic_embedded(p):
    p.screenshot("Main Menu", "1-main-menu")
    p.expect_open("Main Menu")
    p.press("Main Menu", "Basic Model")
    p.screenshot("Development Mode", "2-development-mode")
    p.expect_open("Development Mode")
    p.press("Development Mode", "Embedded Mode")
    p.expect_open("Development Mode", "Lines of Code")
    p.type("Lines of Code", "32000")
    p.screenshot("Lines of Code", "7-lines-of-code")
    p.press("Lines of Code", "Calculate")
    p.window("Basic Effort Results")
    p.expect_open("Development Mode", "Lines of Code", "Basic Effort Results")
    p.expect_labels("Basic Effort Results", "Basic", "Embedded",
                    *figures("230.40", "14.25", "16.16"))
    p.screenshot("Basic Effort Results", "8-results")
    p.press("Basic Effort Results", "Exit")
    expect_equal("exit status after Exit", 0, p.exit_status(), p)


def intermediate_organic(p):
    p.press("Main Menu", "Intermediate Model")
    p.press("Development Mode", "Organic Mode")
    rating = "PCAP Programmer Capability: Low, L"
    p.press("Effort Adjustment Factor", rating)
    wait_for("PCAP Low to be selected", lambda: p.checked("Effort Adjustment Factor", rating))
    p.screenshot("Effort Adjustment Factor", "3-effort-adjustment-factor")
    p.press("Effort Adjustment Factor", "Continue")
    p.type("Lines of Code", "32000")
    p.press("Lines of Code", "Calculate")
    p.expect_open("Development Mode", "Effort Adjustment Factor", "Lines of Code",
                  "Intermediate Effort Results")
    p.expect_labels("Intermediate Effort Results", "Intermediate", "Organic",
                    *figures("142.48", "16.46", "8.66"))
    p.activate("Lines of Code")
    p.press("Lines of Code", "Back")
    p.window("Effort Adjustment Factor")
    expect_equal('"%s" after Back' % rating, True, p.checked("Effort Adjustment Factor", rating),
                 p)
    p.activate("Intermediate Effort Results")
    p.press("Intermediate Effort Results", "Exit")
    expect_equal("exit status after Exit", 0, p.exit_status(), p)


# Columns chosen on the Semidetached screen, and the fractions of those columns.
SEMI_CHOICES = [("Requirements: Small, 2 KDSI", 0.07), ("Detailed Design: Medium, 32 KDSI", 0.25),
                ("Code and Unit Test: Large, 128 KDSI", 0.31),
                ("Integration and Test: Intermediate, 8 KDSI", 0.22)]


def advanced_semidetached(p):
    p.press("Main Menu", "Advanced Model")
    phase = "Phase Distribution of Effort and Schedule"
    # The Organic and Embedded screens on the way, for their pictures.
    for button, shot in (("Organic Mode", "4-phase-organic"),
                         ("Embedded Mode", "6-phase-embedded")):
        p.press("Development Mode", button)
        p.screenshot(phase, shot)
        p.press(phase, "Back")
        p.expect_open("Development Mode")
    p.press("Development Mode", "Semidetached Mode")
    for option, _ in SEMI_CHOICES:
        p.press(phase, option)
    p.screenshot(phase, "5-phase-semidetached")
    p.press(phase, "Continue")
    p.expect_open("Development Mode", "Lines of Code")
    p.type("Lines of Code", "8 000")
    p.press("Lines of Code", "Calculate")

    eaf = 6.0 - sum(1.0 - fraction for _, fraction in SEMI_CHOICES)
    effort = 3.0 * 8.0 ** 1.12 * eaf
    tdev = 2.5 * effort ** 0.35
    p.expect_labels("Advanced Effort Results", "Advanced", "Semi-detached",
                    *figures(hundredths(effort), hundredths(tdev), hundredths(effort / tdev)))
    p.press("Advanced Effort Results", "Exit")
    expect_equal("exit status after Exit", 0, p.exit_status(), p)


def basic_keyboard(p):
    p.key("Main Menu", "space")
    p.key("Development Mode", "Tab", "Tab", "space")
    p.type("Lines of Code", "32000")
    p.key("Lines of Code", "Return")
    p.expect_labels("Basic Effort Results", "Basic", "Embedded",
                    *figures("230.40", "14.25", "16.16"))
    p.key("Basic Effort Results", "Tab", "space")
    expect_equal("exit status after Exit by keyboard", 0, p.exit_status(), p)


def runtime_error(p):
    p.press("Main Menu", "Basic Model")
    p.press("Development Mode", "Embedded Mode")
    p.type("Lines of Code", "abc")
    p.press("Lines of Code", "Calculate")
    box = p.window(ERROR_BOX)
    p.expect_labels(ERROR_BOX, "Run-time error '6':\n\nOverflow", SIZE_REQUIREMENT)
    size_box = p.extents(p.control("Lines of Code", SIZE_BOX))
    covered = intersection(p.frame_rect(box), size_box)
    if covered[2] > 0 and covered[3] > 0:
        raise Failure("the error box at %s covers the size box at %s" % (p.frame_rect(box),
                                                                          size_box))
    p.screenshot(ERROR_BOX, "9-run-time-error")
    p.key(ERROR_BOX, "Return")
    p.expect_no_window(ERROR_BOX)
    expect_equal("the program after the error box", None, p.process.poll(), p)
    p.expect_open("Development Mode", "Lines of Code")
    expect_equal("the size box after the error", " abc", p.text_of("Lines of Code"), p)
    p.press("Lines of Code", "Clear")
    p.type("Lines of Code", "32000")
    p.key("Lines of Code", "Return")
    p.expect_labels("Basic Effort Results", *figures("230.40", "14.25", "16.16"))
    p.press("Basic Effort Results", "Exit")
    expect_equal("exit status after Exit", 0, p.exit_status(), p)


def second_estimate(p):
    p.press("Main Menu", "Basic Model")
    mode_window = p.window("Development Mode")
    p.press("Development Mode", "Organic Mode")
    p.type("Lines of Code", "32000")
    p.press("Lines of Code", "Calculate")
    p.expect_labels("Basic Effort Results", "Organic", *figures("91.33", "13.90", "6.57"))
    p.press("Basic Effort Results", "Main Menu")
    p.expect_open("Development Mode", "Lines of Code", "Main Menu")
    p.press("Main Menu", "Basic Model")
    expect_equal("the development-mode window on the second pass", mode_window,
                 p.window("Development Mode"), p)
    p.press("Development Mode", "Embedded Mode")
    expect_equal("the size box on the second pass", " 32000", p.text_of("Lines of Code"), p)
    p.press("Lines of Code", "Calculate")
    p.expect_labels("Basic Effort Results", "Embedded", *figures("230.40", "14.25", "16.16"))
    p.activate("Development Mode")
    p.close("Development Mode")
    p.expect_open("Lines of Code", "Basic Effort Results")
    expect_equal("the program after closing a screen", None, p.process.poll(), p)
    p.activate("Basic Effort Results")
    p.press("Basic Effort Results", "Exit")
    expect_equal("exit status after Exit", 0, p.exit_status(), p)
    p.expect_open()


def screen_reader(p):
    """What a screen reader meets on every screen, written to screen-reader.txt."""
    import pyatspi
    listing = []

    def visit(caption, title=None):
        frame = p.frame(caption)
        expect_equal('the role of "%s"' % caption, "frame", frame.getRoleName(), p)
        listing.append("== " + (title or caption))
        listing.extend(p.described(caption))
        return frame

    visit("Main Menu")
    p.press("Main Menu", "Intermediate Model")
    visit("Development Mode")
    p.press("Development Mode", "Embedded Mode")
    eaf = visit("Effort Adjustment Factor")
    parts = list(p.descendants(eaf))
    radios = [n for n in parts if n.getRole() == pyatspi.ROLE_RADIO_BUTTON]
    disabled = [n.name for n in radios if not n.getState().contains(pyatspi.STATE_ENABLED)]
    expect_equal("the rating radio buttons", 90, len(radios), p)
    expect_equal("the push buttons", ["Back", "Continue"],
                 [n.name for n in parts if n.getRole() == pyatspi.ROLE_PUSH_BUTTON], p)
    expect_equal("the disabled ratings", 20, len(disabled), p)
    for name, cannot in (("ACAP Analyst Capability: Extra High, EH", True),
                         ("STOR Storage Constraint: Very Low, VL", True),
                         ("DATA Database Size: Very Low, VL", False)):
        expect_equal('"%s" disabled' % name, cannot, name in disabled, p)
    rating = "ACAP Analyst Capability: Very Low, VL"
    p.press("Effort Adjustment Factor", rating)
    wait_for("ACAP Very Low to be selected", lambda: p.checked("Effort Adjustment Factor", rating))
    p.press("Effort Adjustment Factor", "Continue")
    p.type("Lines of Code", "32000")
    visit("Lines of Code")
    p.press("Lines of Code", "Calculate")
    results = visit("Intermediate Effort Results")
    said = {n.name: n.description for n in p.descendants(results)
            if n.getRole() == pyatspi.ROLE_TEXT}
    effort, tdev, avg = "261.63", "14.85", "17.62"
    for name, how in (
            (effort, "Effort = 2.8 x 32^1.20 x EAF 1.46 = 261.63 staff-months (the work of one "
                     "person for that many months)"),
            (tdev, "TDEV = 2.5 x Effort^0.32 = 14.85 months (calendar time)"),
            (avg, "Average staffing = Effort / TDEV = 17.62 people")):
        expect_equal('the description of "%s"' % name, how, said.get(name), p)
    p.press("Intermediate Effort Results", "Main Menu")
    p.press("Main Menu", "Advanced Model")
    phase = "Phase Distribution of Effort and Schedule"
    for mode in ("Organic", "Semidetached", "Embedded"):
        p.press("Development Mode", mode + " Mode")
        frame = visit(phase, "%s (%s)" % (phase, mode))
        expect_equal("the description of the %s phase screen" % mode,
                     "Phase distribution of the %s mode" % mode,
                     frame.description.split(". ")[0], p)
        p.press(phase, "Back")
        p.expect_open("Development Mode", "Lines of Code", "Effort Adjustment Factor")
    os.makedirs(p.screenshots, exist_ok=True)
    with open(os.path.join(p.screenshots, "screen-reader.txt"), "w") as out:
        out.write("\n".join(listing) + "\n")


def in_view(view, shown, slack=1):
    """Whether the view shows the rectangle, or as much of it as it can hold."""
    def covers(view_start, view_length, start, length):
        if length <= view_length + slack:
            return view_start - slack <= start <= view_start + view_length + slack - length
        return start <= view_start + slack and start + length >= view_start + view_length - slack
    return covers(view[0], view[2], shown[0], shown[2]) and \
        covers(view[1], view[3], shown[1], shown[3])


def reach_every_control(p, caption, scale):
    """Tabs once round the window: each control the focus lands on must come into view."""
    import pyatspi
    width, height = p.desktop.size()
    screen = (0, 0, int(width / scale), int(height / scale))
    frame = p.frame(caption)
    # What the window shows of its controls: the client area less the scroll bars, if any.
    x, y, w, h = p.extents(frame)
    for bar in p.descendants(frame):
        if bar.getRole() == pyatspi.ROLE_SCROLL_BAR and \
                bar.getState().contains(pyatspi.STATE_SHOWING):
            _, _, bar_width, bar_height = p.extents(bar)
            if bar_width < bar_height:
                w -= bar_width
            else:
                h -= bar_height
    client = (x, y, w, h)
    candidates = [n for n in p.descendants(frame)
                  if n.getRole() in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_RADIO_BUTTON,
                                     pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)
                  and n.getState().contains(pyatspi.STATE_ENABLED)]
    window, seen = p.window(caption), []
    for _ in range(len(candidates) + 1):
        # The focus as it is once the last Tab has moved it.
        focused = wait_for("the focus on %s to move" % caption, lambda: next(
            (n for n in candidates if n.getState().contains(pyatspi.STATE_FOCUSED)
             and n.name not in seen[-1:]), None))
        if focused.name in seen:
            return seen
        seen.append(focused.name)
        try:
            wait_for('"%s" in view' % focused.name, lambda: in_view(client, p.extents(focused))
                     and in_view(screen, intersection(client, p.extents(focused))), timeout=3)
        except Failure:
            raise Failure('on "%s", "%s" at %s is out of view of %s on the %s screen' % (
                caption, focused.name, p.extents(focused), client, screen))
        p.keys_to(window, "Tab")
    raise Failure("Tab never came back round on %s" % caption)


def every_screen(p, visit, error_box=False):
    """Calls visit(caption, name) on each of the eight screens in turn, a rating chosen and a
    size typed, and on the run-time error box on the way if asked."""
    visit("Main Menu", "frmMain")
    p.act("Main Menu", "Intermediate Model")
    visit("Development Mode", "frmMode")
    p.act("Development Mode", "Organic Mode")
    p.act("Effort Adjustment Factor", "PCAP Programmer Capability: Low, L")
    visit("Effort Adjustment Factor", "frmEAF")
    p.act("Effort Adjustment Factor", "Continue")
    if error_box:
        p.act("Lines of Code", "Calculate")
        visit(ERROR_BOX, "error-box")
        p.key(ERROR_BOX, "Return")
    p.type("Lines of Code", "32000")
    visit("Lines of Code", "frmKLOC")
    p.act("Lines of Code", "Calculate")
    visit("Intermediate Effort Results", "frmBasicResults")
    p.act("Intermediate Effort Results", "Main Menu")
    p.act("Main Menu", "Advanced Model")
    for mode, name in (("Organic", "frmPhaseOrg"), ("Semidetached", "frmPhaseSemi"),
                       ("Embedded", "frmPhaseEmb")):
        p.act("Development Mode", mode + " Mode")
        visit(PHASE, name)
        p.act(PHASE, "Back")
        p.expect_no_window(PHASE)


def placement(p):
    """Every screen opens with its frame on the screen, and the keyboard reaches every control."""
    width, height = p.desktop.size()
    scale = float(p.env.get("QT_SCALE_FACTOR", "1"))
    placed = []

    def check(caption, name):
        window = p.window(caption)
        # The window manager frames a window a moment after it is mapped.
        wait_for("the frame of %s" % caption, lambda: p.frame_extents(window))
        x, y, w, h = p.frame_rect(window)
        placed.append("%s x %s %s: frame %d,%d %dx%d" % (p.desktop.screen, p.env.get(
            "QT_SCALE_FACTOR", "1"), name, x, y, w, h))
        if x < 0 or y < 0 or x + w > width or y + h > height:
            raise Failure("the frame of %s is at %d,%d %dx%d on the %s screen" % (
                caption, x, y, w, h, p.desktop.screen))
        reach_every_control(p, caption, scale)
        p.screenshot(caption, "placement-%s-x%s-%s" % (p.desktop.screen, scale, name),
                     painted=True)

    every_screen(p, check)
    os.makedirs(p.screenshots, exist_ok=True)
    with open(os.path.join(p.screenshots, "placement-%s-x%s.txt" % (p.desktop.screen, scale)),
              "w") as out:
        out.write("\n".join(placed) + "\n")


def gnome_theme(p):
    """Under GNOME's desktop theme, which brings GTK and its text scaling along, the screens
    look exactly as they do without it: their fonts, sizes and colours are the layouts' own.
    Walks the paths of the screenshots again and compares each with the one taken without."""
    plain = p.screenshots
    shutil.rmtree(os.path.join(plain, "gnome"), ignore_errors=True)
    # The pointer where the first scenario found it, at the middle of the screen.
    width, height = p.desktop.size()
    xdotool("mousemove", width // 2, height // 2)
    for walk in (basic_embedded, intermediate_organic, advanced_semidetached):
        run = p if walk is basic_embedded else Program(
            p.path, p.desktop, plain, "gnome-" + walk.__name__,
            **gnome_environment(p.desktop.workdir))
        run.screenshots = os.path.join(plain, "gnome")
        try:
            walk(run)
        finally:
            run.stop()
    for name in sorted(os.listdir(os.path.join(plain, "gnome"))):
        if name.startswith("failed-"):
            continue
        if not os.path.exists(os.path.join(plain, name)):
            raise Failure("no screenshot %s without the theme to compare with" % name)
        result = subprocess.run(["compare", "-metric", "AE", os.path.join(plain, name),
                                 os.path.join(plain, "gnome", name), "null:"],
                                capture_output=True, text=True, timeout=WAIT)
        # The size box's text cursor blinks at the desktop's rate: caught on in one and off in
        # the other, it is a line of at most 2 by 20 pixels.
        allowed = 40 if name.startswith("7-") else 0
        if not result.stderr.strip().isdigit() or int(result.stderr) > allowed:
            raise Failure("%s differs under GNOME's theme in %s pixels" % (name, result.stderr))


def gnome_environment(workdir):
    """GNOME's desktop theme, with its text scaled by 1.25 in settings of the test's own."""
    settings = os.path.join(workdir, "gnome-config", "glib-2.0", "settings")
    os.makedirs(settings, exist_ok=True)
    with open(os.path.join(settings, "keyfile"), "w") as f:
        f.write("[org/gnome/desktop/interface]\ntext-scaling-factor=1.25\n")
    return {"XDG_CURRENT_DESKTOP": "GNOME", "GSETTINGS_BACKEND": "keyfile",
            "XDG_CONFIG_HOME": os.path.join(workdir, "gnome-config")}


# Each with what its program's environment adds, given the work directory.
SCENARIOS = {
    "basic_embedded": (basic_embedded, None),
    "intermediate_organic": (intermediate_organic, None),
    "advanced_semidetached": (advanced_semidetached, None),
    "basic_keyboard": (basic_keyboard, None),
    "runtime_error": (runtime_error, None),
    "second_estimate": (second_estimate, None),
    "screen_reader": (screen_reader, None),
    "gnome_theme": (gnome_theme, gnome_environment),
}
# Run only when asked for, on a screen of the size asked for.
PLACEMENT = {"placement_at_" + scale: (placement, lambda _, s=scale: {"QT_SCALE_FACTOR": s})
             for scale in ("1", "1.25", "2", "3")}


def grown(box, by):
    return box[0] - by, box[1] - by, box[2] + 2 * by, box[3] + 2 * by


def measure(p, caption, screen, lowest):
    """Every text of a screen against what is behind it (4.5:1, 3:1 for the large title), each
    option button's circle against its row and each focus mark (what Tab changes about a
    control) against what is around it (3:1), from screenshots at the controls' extents.
    Returns the shortfalls."""
    import pyatspi
    window, short, area = p.window(caption), [], grown(p.extents(p.frame(caption)), 6)
    xdotool("mousemove", 0, 0)

    def record(what, name, ratios, count, needed):
        value = sorted(ratios, reverse=True)[min(count, len(ratios)) - 1] if ratios else 1.0
        lowest[what] = min(lowest.get(what, 99), value)
        if value < needed:
            short.append("%s: %s of %r is %.2f:1" % (screen, what, name, value))

    def commonest(shot, box, hole=(0, 0, 0, 0)):
        return collections.Counter(pixels(shot, area, box, hole)).most_common(1)[0][0]

    def focused():
        return next((c for c in controls if c[0].getState().contains(pyatspi.STATE_FOCUSED)), None)

    def settled(box=None, before=None):
        """The screen once it has stayed the same for a fifth of a second, or once the box
        differs from before: a window is painted at once. A mark that never shows leaves the
        control as it was."""
        last = [None, 0]

        def check():
            shot = grab(area)
            if box:
                return pixels(shot, area, box) != before and shot
            if shot != last[0]:
                last[:] = [shot, time.monotonic()]
            return time.monotonic() - last[1] >= 0.2 and shot

        try:
            return wait_for("the screen to settle", check, timeout=2 if box else WAIT)
        except Failure:
            return grab(area)

    shot, controls = settled(), []
    os.makedirs(p.screenshots, exist_ok=True)
    subprocess.run(["convert", "-size", "%dx%d" % area[2:], "-depth", "8", "rgb:-", os.path.join(
        p.screenshots, "%s-%s.png" % (os.path.basename(p.log)[:-4], screen))], input=shot)
    for node in p.descendants(p.frame(caption)):
        role, name, box, state = node.getRole(), node.name, p.extents(node), node.getState()
        taking = state.contains(pyatspi.STATE_FOCUSABLE) and state.contains(pyatspi.STATE_ENABLED)
        if role in (pyatspi.ROLE_LABEL, pyatspi.ROLE_TEXT, pyatspi.ROLE_PUSH_BUTTON,
                    pyatspi.ROLE_PANEL) and name:  # a frame's caption runs along its top
            text = box[:3] + (18,) if role == pyatspi.ROLE_PANEL else grown(box, -4 * taking)
            behind = commonest(shot, text)
            record("text", name, [r for r in (contrast(c, behind) for c in pixels(
                shot, area, text)) if r > 1.25], 3, 3.0 if name == "COCOMO Model" else 4.5)
        if role == pyatspi.ROLE_RADIO_BUTTON:
            row = commonest(shot, grown(box, 4), box)
            record("circle", name, [contrast(c, row) for c in pixels(shot, area, box)],
                   sum(box[2:]) // 2, 3.0)
        if taking and role in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_RADIO_BUTTON,
                               pyatspi.ROLE_TEXT):
            controls.append((node, name, box))
    # Each Tab's shot against the one before it. The only control of a window keeps the
    # focus: it is seen without it while another window is active.
    shots = [(focused(), shot)]
    if len(controls) == 1:
        other = p.desktop.spawn(["xmessage", "-geometry", "+0+0", "another window"])
        wait_for("another window to be active", lambda: xdotool("getactivewindow") != [window])
        mark = grown(controls[0][2], 4)
        shots.insert(0, (None, settled(mark, pixels(shot, area, mark))))
        stop_process(other)
        p.activate(caption)
    while len(controls) > 1 and (len(shots) < 2 or shots[-1][0] is not shots[0][0]):
        p.keys_to(window, "Tab")
        now = wait_for("the focus to move on " + screen, lambda: (
            lambda c: c if c is not shots[-1][0] else None)(focused()))
        mark = grown(now[2], 4)
        shots.append((now, settled(mark, pixels(shots[-1][1], area, mark))))
    for (_, off), ((_, name, box), on) in zip(shots, shots[1:]):
        around = commonest(off, grown(box, 4), box)
        record("focus", name, [contrast(a, around) for a, b in zip(
            pixels(on, area, grown(box, 4)), pixels(off, area, grown(box, 4))) if a != b],
               sum(box[2:]) // 2, 3.0)
    return short


def themed(p):
    """Every screen and the run-time error box measured in the theme of the program's run;
    gives the lowest figures of each screen."""
    lowest, short = {}, []

    def screen(caption, name):
        short.extend(measure(p, caption, name, lowest.setdefault(name, {})))

    every_screen(p, screen, error_box=True)
    table = "lowest contrast:" + "".join("\n  %-16s" % name + "".join(
        " %s %5.2f" % item for item in found.items()) for name, found in lowest.items())
    if short:
        raise Failure("\n  ".join([""] + short) + "\n" + table)
    return table


GTK3 = {"QT_QPA_PLATFORMTHEME": "gtk3"}
# What a session in each theme sets; a configuration home, by its folder in themes/, holds what
# qt6ct and KDE Plasma write there (Breeze Dark's colours, from its BreezeDark.colors).
THEMES = {"default": {}, "gtk3-adwaita-dark": dict(GTK3, GTK_THEME="Adwaita:dark"),
          **{style.lower(): {"QT_STYLE_OVERRIDE": style} for style in (
              "Adwaita-Dark", "Adwaita-HighContrast", "Adwaita-HighContrastInverse")},
          "gtk3-highcontrast": dict(GTK3, GTK_THEME="HighContrast"),
          "gtk3-highcontrastinverse": dict(GTK3, GTK_THEME="HighContrastInverse"),
          "qt6ct-darker": {"QT_QPA_PLATFORMTHEME": "qt6ct", "XDG_CONFIG_HOME": "qt6ct-darker"},
          "breeze-dark": {"XDG_CURRENT_DESKTOP": "KDE", "KDE_SESSION_VERSION": "5",
                          "XDG_CONFIG_HOME": "breeze-dark"}}


def theme_environment(theme):
    def environment(workdir):
        env = dict.fromkeys(("QT_QPA_PLATFORMTHEME", "QT_STYLE_OVERRIDE", "GTK_THEME",
                             "XDG_CURRENT_DESKTOP", "KDE_SESSION_VERSION", "XDG_CONFIG_HOME"))
        env.update(THEMES[theme])
        if env["XDG_CONFIG_HOME"]:  # a copy: the program may write to its configuration
            env["XDG_CONFIG_HOME"] = shutil.copytree(os.path.join(os.path.dirname(
                os.path.abspath(__file__)), "themes", env["XDG_CONFIG_HOME"]),
                os.path.join(workdir, theme))
        return env
    return environment


# Run only when asked for.
THEMED = {"theme_" + theme: (themed, theme_environment(theme)) for theme in THEMES}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the wizard's executable")
    parser.add_argument("--scenario", action="append",
                        choices=sorted({**SCENARIOS, **PLACEMENT, **THEMED}),
                        help="run only this scenario (may be repeated)")
    parser.add_argument("--screen", default="1280x1024", help="the X screen's size, WxH")
    parser.add_argument("--screenshots", default=os.path.join(os.getcwd(), "screenshots"),
                        help="directory for the PNG of every screen")
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    screenshots = os.path.abspath(args.screenshots)
    for tool in ("Xvfb", "dbus-daemon", "openbox", "xdotool", "xwininfo", "xprop", "import"):
        if shutil.which(tool) is None:
            print("desktop test: %s is not installed" % tool, file=sys.stderr)
            return 2

    def scenario(desktop, name):
        walk, environment = {**SCENARIOS, **PLACEMENT, **THEMED}[name]
        run = Program(program, desktop, screenshots, name,
                      **(environment(desktop.workdir) if environment else {}))
        try:
            return walk(run)
        except Failure:
            run.screenshot_desktop("failed-" + name)
            raise
        finally:
            run.stop()

    status = run_on_desktop("cocomo-desktop-", lambda desktop: (
        (name, lambda n=name: scenario(desktop, n)) for name in args.scenario or SCENARIOS),
        screen=args.screen)
    print("screenshots in %s" % screenshots)
    return status


if __name__ == "__main__":
    sys.exit(main())
