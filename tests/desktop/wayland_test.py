#!/usr/bin/python3
"""Drives the built wizard on a real Wayland compositor, and under one's Xwayland.

Starts its own Xvfb, session bus and accessibility bus, a compositor nested in the X screen
(which gives it a keyboard seat) with a Wayland socket of its own, and runs each scenario
against a fresh instance of the program. Screens are pressed through AT-SPI actions and keys
are typed into the compositor; after every step the screen in front must be the active one
and hold the keyboard focus, and no other screen may. Window positions that AT-SPI reports
are not screen positions on Wayland, so none is read.

    wayland_test.py --program PATH --compositor weston|mutter|kwin|weston-xwayland
                    [--scenario NAME]...
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from desktop import (ERROR_BOX, SIZE_BOX, SIZE_REQUIREMENT, WAIT, Failure, Program,  # noqa: E402
                     expect_equal, figures, run_on_desktop, wait_for, xdotool)

PHASE = "Phase Distribution of Effort and Schedule"


def kwin_binary(workdir):
    """kwin_wayland carries a file capability (to raise its own limits); where the system
    refuses to start such a file, as inside containers, a plain copy runs instead."""
    binary = shutil.which("kwin_wayland")
    try:
        subprocess.run([binary, "--version"], capture_output=True, timeout=10, check=True)
        return binary
    except (PermissionError, subprocess.CalledProcessError):
        copy = os.path.join(workdir, "kwin_wayland")
        shutil.copy(binary, copy)
        return copy


class Compositor:
    """A compositor nested in the desktop's X screen, with its own Wayland socket."""

    def __init__(self, kind, desktop):
        self.kind = kind
        self.desktop = desktop
        self.socket = "wayland-cocomo"
        self.runtime = os.path.join(desktop.workdir, "runtime")
        os.makedirs(self.runtime, mode=0o700, exist_ok=True)
        self.xwayland = None

    def start(self):
        env = dict(self.desktop.env, XDG_RUNTIME_DIR=self.runtime)
        env.pop("WAYLAND_DISPLAY", None)
        width, height = self.desktop.size()
        if self.kind.startswith("weston"):
            argv = ["weston", "--backend=x11-backend.so", "--socket=" + self.socket,
                    "--width=%d" % width, "--height=%d" % height, "--idle-time=0"]
            if self.kind == "weston-xwayland":
                argv.append("--xwayland")
        elif self.kind == "mutter":
            argv = ["mutter", "--nested", "--wayland", "--wayland-display=" + self.socket]
        else:
            argv = [kwin_binary(self.desktop.workdir), "--x11-display", env["DISPLAY"],
                    "--socket", self.socket, "--width", str(width), "--height", str(height),
                    "--no-lockscreen", "--no-global-shortcuts"]
        log = self.kind + ".log"
        self.desktop.spawn(argv, log_name=log, env=env)
        wait_for("%s's Wayland socket" % self.kind,
                 lambda: os.path.exists(os.path.join(self.runtime, self.socket)), timeout=30)
        if self.kind == "weston-xwayland":
            self.xwayland = wait_for("weston's Xwayland display", lambda: self.logged(
                log, r"xserver listening on display (:\d+)"), timeout=30)
        # Keys typed into the X screen go to the window under the pointer: the compositor's.
        xdotool("mousemove", 4, 4)

    def logged(self, log, pattern):
        with open(os.path.join(self.desktop.workdir, log), errors="replace") as f:
            found = re.search(pattern, f.read())
        return found.group(1) if found else None

    def environment(self):
        """What the program's environment needs to show itself on this compositor."""
        if self.xwayland:
            return {"DISPLAY": self.xwayland, "QT_QPA_PLATFORM": "xcb",
                    "XDG_RUNTIME_DIR": self.runtime}
        return {"WAYLAND_DISPLAY": self.socket, "QT_QPA_PLATFORM": "wayland",
                "XDG_RUNTIME_DIR": self.runtime}


class Session(Program):
    """The wizard on a compositor, seen only through AT-SPI and driven by actions and keys."""

    def __init__(self, path, desktop, compositor, name):
        super().__init__(path, desktop, "", name, **compositor.environment())
        self.xwayland = compositor.xwayland
        if not self.xwayland:
            self.env.pop("DISPLAY", None)

    def screens(self):
        import pyatspi
        app = self.application()
        found = []
        for index in range(app.childCount):
            frame = app.getChildAtIndex(index)
            if frame is not None and frame.getState().contains(pyatspi.STATE_SHOWING):
                found.append(frame)
        return found

    def where(self):
        """The active screens and the focused controls, by caption."""
        import pyatspi
        active, focused = [], []
        for frame in self.screens():
            if frame.getState().contains(pyatspi.STATE_ACTIVE):
                active.append(frame.name)
            focused += ["%s: %s" % (frame.name, node.name) for node in self.descendants(frame)
                        if node.getState().contains(pyatspi.STATE_FOCUSED)]
        return active, focused

    def expect(self, caption, control):
        """caption in front and active, control in it focused, nothing else of either."""
        def there():
            active, focused = self.where()
            return active == [caption] and "%s: %s" % (caption, control) in focused and \
                all(f.startswith(caption + ": ") for f in focused)

        try:
            wait_for("%s active with %s focused" % (caption, control), there, timeout=10)
        except Failure:
            active, focused = self.where()
            raise Failure("expected %s active with %r focused; active %s, focused %s" % (
                caption, control, active, focused))

    def keyboard_ready(self):
        """Under Xwayland the X server hands the keyboard to a window a moment after the
        compositor's window manager has activated it, which is when Qt calls it active; keys
        typed in between go to the window that had the keyboard."""
        if not self.xwayland:
            return

        def on_active_screen():
            active = self.where()[0]
            focus = subprocess.run(["xdotool", "getwindowfocus", "getwindowname"],
                                   env=dict(os.environ, DISPLAY=self.xwayland),
                                   capture_output=True, text=True, timeout=WAIT).stdout
            return len(active) == 1 and focus.strip() == active[0]

        wait_for("the X keyboard focus on the active screen", on_active_screen)

    def keys(self, *keys):
        self.keyboard_ready()
        for key in keys:
            xdotool("key", "--clearmodifiers", key)
            time.sleep(0.05)

    def type(self, text):
        self.keyboard_ready()
        xdotool("type", "--delay", 30, text)


# The scenarios: steps of (what to do, the screen then active, the control then focused).
# A step is ("act", screen, button), ("keys", key...), ("type", text), ("clear",) for Clear
# on the size screen, ("expect labels", screen, label...) or ("expect checked", screen,
# option).
def steps_basic_path():
    return [
        (("act", "Main Menu", "Basic Model"), "Development Mode", "Organic Mode"),
        (("keys", "Tab", "Tab"), "Development Mode", "Embedded Mode"),
        (("keys", "space"), "Lines of Code", SIZE_BOX),
        (("act", "Lines of Code", "Back"), "Development Mode", "Embedded Mode"),
        (("act", "Development Mode", "Embedded Mode"), "Lines of Code", SIZE_BOX),
        (("type", "32000"), "Lines of Code", SIZE_BOX),
        (("keys", "Return"), "Basic Effort Results", "Main Menu"),
    ]


SCENARIOS = {
    "basic_path": (steps_basic_path() + [
        (("expect labels", "Basic Effort Results", "Embedded", *figures("230.40", "14.25",
                                                                       "16.16")), None, None),
    ], "exit"),
    "second_estimate": (steps_basic_path() + [
        (("act", "Basic Effort Results", "Main Menu"), "Main Menu", "Basic Model"),
        (("act", "Main Menu", "Basic Model"), "Development Mode", "Embedded Mode"),
        (("keys", "Tab"), "Development Mode", "Back"),
        (("act", "Development Mode", "Organic Mode"), "Lines of Code", SIZE_BOX),
        (("keys", "Return"), "Basic Effort Results", "Main Menu"),
        (("expect labels", "Basic Effort Results", "Organic", *figures("91.33", "13.90",
                                                                      "6.57")), None, None),
    ], "exit"),
    "every_back": ([
        (("act", "Main Menu", "Intermediate Model"), "Development Mode", "Organic Mode"),
        (("act", "Development Mode", "Back"), "Main Menu", "Basic Model"),
        (("act", "Main Menu", "Intermediate Model"), "Development Mode", "Organic Mode"),
        (("act", "Development Mode", "Organic Mode"), "Effort Adjustment Factor",
         "ACAP Analyst Capability: Very Low, VL"),
        (("act", "Effort Adjustment Factor", "Back"), "Development Mode", "Organic Mode"),
        (("act", "Development Mode", "Organic Mode"), "Effort Adjustment Factor",
         "ACAP Analyst Capability: Very Low, VL"),
        (("keys", "Tab"), "Effort Adjustment Factor", "AEXP Application Experience: Very Low, VL"),
        (("act", "Effort Adjustment Factor", "Continue"), "Lines of Code", SIZE_BOX),
        (("act", "Lines of Code", "Back"), "Effort Adjustment Factor",
         "AEXP Application Experience: Very Low, VL"),
        (("act", "Effort Adjustment Factor", "Continue"), "Lines of Code", SIZE_BOX),
        (("type", "32000"), "Lines of Code", SIZE_BOX),
        (("keys", "Return"), "Intermediate Effort Results", "Main Menu"),
        (("act", "Intermediate Effort Results", "Main Menu"), "Main Menu", "Basic Model"),
        (("act", "Main Menu", "Advanced Model"), "Development Mode", "Organic Mode"),
        (("act", "Development Mode", "Semidetached Mode"), PHASE, "Requirements: Small, 2 KDSI"),
        (("act", PHASE, "Back"), "Development Mode", "Organic Mode"),
        (("act", "Development Mode", "Semidetached Mode"), PHASE, "Requirements: Small, 2 KDSI"),
        (("act", PHASE, "Continue"), "Lines of Code", SIZE_BOX),
        (("act", "Lines of Code", "Back"), PHASE, "Requirements: Small, 2 KDSI"),
        (("keys", "space"), PHASE, "Requirements: Small, 2 KDSI"),
        (("expect checked", PHASE, "Requirements: Small, 2 KDSI"), None, None),
        (("act", PHASE, "Continue"), "Lines of Code", SIZE_BOX),
        (("keys", "Return"), "Advanced Effort Results", "Main Menu"),
        (("expect labels", "Advanced Effort Results", "Semi-detached", *figures(
            "737.73", "25.22", "29.25")), None, None),
    ], "exit"),
    "calculate_with_results_open": (steps_basic_path() + [
        (("act", "Lines of Code", "Back"), "Development Mode", "Embedded Mode"),
        (("act", "Development Mode", "Organic Mode"), "Lines of Code", SIZE_BOX),
        (("clear",), "Lines of Code", SIZE_BOX),
        (("type", "32000"), "Lines of Code", SIZE_BOX),
        (("keys", "Return"), "Basic Effort Results", "Main Menu"),
        (("expect labels", "Basic Effort Results", "Organic", *figures("91.33", "13.90",
                                                                      "6.57")), None, None),
    ], "exit"),
    "error_box": ([
        (("act", "Main Menu", "Basic Model"), "Development Mode", "Organic Mode"),
        (("act", "Development Mode", "Embedded Mode"), "Lines of Code", SIZE_BOX),
        (("type", "abc"), "Lines of Code", SIZE_BOX),
        (("keys", "Return"), ERROR_BOX, "OK"),
        (("expect labels", ERROR_BOX, "Run-time error '6':\n\nOverflow", SIZE_REQUIREMENT),
         None, None),
        (("keys", "Return"), "Lines of Code", SIZE_BOX),
        (("clear",), "Lines of Code", SIZE_BOX),
        (("type", "32000"), "Lines of Code", SIZE_BOX),
        (("keys", "Return"), "Basic Effort Results", "Main Menu"),
    ], "exit"),
}


def run(session, steps, ending):
    for what, caption, control in steps:
        if what[0] == "act":
            session.act(what[1], what[2])
        elif what[0] == "keys":
            session.keys(*what[1:])
        elif what[0] == "clear":
            # A pressed button clicks a moment later, as the screen shows it pressed.
            session.act("Lines of Code", "Clear")
            wait_for("the size box cleared", lambda: session.text_of("Lines of Code") == " ")
        elif what[0] == "type":
            session.type(what[1])
        elif what[0] == "expect labels":
            session.expect_labels(*what[1:])
            continue
        elif what[0] == "expect checked":
            wait_for("%s chosen" % what[2], lambda: session.checked(*what[1:]))
            continue
        session.expect(caption, control)
    if ending == "exit":
        session.act(session.where()[0][0], "Exit")
        expect_equal("exit status after Exit", 0, session.exit_status(), session)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the wizard's executable")
    parser.add_argument("--compositor", required=True,
                        choices=["weston", "mutter", "kwin", "weston-xwayland"])
    parser.add_argument("--scenario", action="append", choices=sorted(SCENARIOS),
                        help="run only this scenario (may be repeated)")
    args = parser.parse_args()
    program = os.path.abspath(args.program)

    def scenario(desktop, compositor, name):
        session = Session(program, desktop, compositor, name)
        try:
            run(session, *SCENARIOS[name])
        finally:
            session.stop()

    def cases_on(desktop):
        compositor = Compositor(args.compositor, desktop)
        compositor.start()
        for name in args.scenario or SCENARIOS:
            yield ("%s on %s" % (name, args.compositor),
                   lambda n=name: scenario(desktop, compositor, n))

    return run_on_desktop("cocomo-wayland-", cases_on, window_manager=False)


if __name__ == "__main__":
    sys.exit(main())
