#!/usr/bin/python3
"""Drives the built wizard under real X11 window managers and Wayland compositors.

Starts its own Xvfb, session bus and accessibility bus, then either an X11 window manager on
that X screen or a Wayland compositor nested in it (which gives the compositor a keyboard
seat) with a Wayland socket of its own, or one's Xwayland, and runs each scenario against a
fresh instance of the program. Screens are pressed through AT-SPI actions and keys are typed
into the X screen; after every step the screen in front must be the active one and hold the
keyboard focus, and no other screen may; on X the window manager's active window and the X
input focus must be that screen too. Window positions that AT-SPI reports are not screen
positions on Wayland, so none is read.

    window_system_test.py --program PATH --on NAME [--scenario NAME]... [--idle]
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
X11_WINDOW_MANAGERS = {
    "openbox": ["openbox", "--sm-disable"],
    # Without compositing, which would only load the machine.
    "kwin_x11": ["kwin_x11", "--replace"],
    "xfwm4": ["xfwm4", "--replace", "--compositor=off", "--sm-client-disable"],
    "i3": ["i3", "-c", "{work}/i3.conf"],
}
WAYLAND_COMPOSITORS = ["weston", "mutter", "kwin", "sway", "cage", "weston-xwayland"]
FILES = {
    "i3.conf": "font pango:monospace 8\nfocus_follows_mouse no\n",
    "sway.conf": "xwayland disable\nfocus_follows_mouse no\n"
                 "exec sh -c 'echo $WAYLAND_DISPLAY > {runtime}/display'\n",
}


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


def as_unprivileged(argv):
    """sway and cage refuse to run as root, which a container's tests often are."""
    if os.getuid() != 0:
        return argv
    return ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"] + argv


class WindowSystem:
    """An X11 window manager on the desktop's X screen, or a compositor nested in it with
    its own Wayland socket."""

    def __init__(self, kind, desktop):
        self.kind = kind
        self.desktop = desktop
        self.x11 = kind in X11_WINDOW_MANAGERS
        self.socket = "wayland-cocomo"
        self.runtime = os.path.join(desktop.workdir, "runtime")
        os.makedirs(self.runtime, mode=0o700, exist_ok=True)
        self.xwayland = None

    def start(self):
        work, width, height = self.desktop.workdir, *self.desktop.size()
        for name, text in FILES.items():
            with open(os.path.join(work, name), "w") as f:
                f.write(text.format(work=work, runtime=self.runtime))
        if self.x11:
            if self.kind == "kwin_x11":
                self.desktop.env["KWIN_COMPOSE"] = "N"
            self.desktop.spawn([a.format(work=work) for a in X11_WINDOW_MANAGERS[self.kind]])
            self.desktop.wait_for_window_manager(self.kind)
            return
        env = dict(self.desktop.env, XDG_RUNTIME_DIR=self.runtime, HOME=self.runtime)
        env.pop("WAYLAND_DISPLAY", None)
        if self.kind.startswith("weston"):
            argv = ["weston", "--backend=x11-backend.so", "--socket=" + self.socket,
                    "--width=%d" % width, "--height=%d" % height, "--idle-time=0"]
            if self.kind == "weston-xwayland":
                argv.append("--xwayland")
        elif self.kind == "mutter":
            argv = ["mutter", "--nested", "--wayland", "--wayland-display=" + self.socket]
        elif self.kind == "kwin":
            argv = [kwin_binary(work), "--x11-display", env["DISPLAY"], "--socket", self.socket,
                    "--width", str(width), "--height", str(height), "--no-lockscreen",
                    "--no-global-shortcuts"]
        else:
            # wlroots' compositors choose their socket's name and tell only their clients.
            os.chown(self.runtime, *self.unprivileged_ids())
            os.chmod(work, 0o711)
            argv = as_unprivileged(
                ["sway", "-c", os.path.join(work, "sway.conf")] if self.kind == "sway" else
                ["cage", "--", "sh", "-c",
                 "echo $WAYLAND_DISPLAY > %s/display; exec sleep infinity" % self.runtime])
        log = self.kind + ".log"
        self.desktop.spawn(argv, log_name=log, env=env)
        if self.kind in ("sway", "cage"):
            display = os.path.join(self.runtime, "display")
            self.socket = wait_for("%s to name its Wayland socket" % self.kind,
                                   lambda: os.path.exists(display) and open(display).read().strip())
        wait_for("%s's Wayland socket" % self.kind,
                 lambda: os.path.exists(os.path.join(self.runtime, self.socket)), timeout=30)
        if self.kind == "weston-xwayland":
            self.xwayland = wait_for("weston's Xwayland display", lambda: self.logged(
                log, r"xserver listening on display (:\d+)"), timeout=30)
        # Keys typed into the X screen go to the window under the pointer: the compositor's.
        output = wait_for("the compositor's window", self.largest_window)
        xdotool("mousemove", output[0] + 4, output[1] + 4)

    @staticmethod
    def unprivileged_ids():
        return (65534, 65534) if os.getuid() == 0 else (os.getuid(), os.getgid())

    @staticmethod
    def largest_window():
        """The top-left corner and the size of the largest window on the X screen."""
        found = []
        for window in xdotool("search", "--onlyvisible", "--maxdepth", "1", "--name", ""):
            shell = dict(line.split("=") for line in xdotool(
                "getwindowgeometry", "--shell", window) if "=" in line)
            found.append((int(shell["WIDTH"]) * int(shell["HEIGHT"]), int(shell["X"]),
                          int(shell["Y"])))
        return max(found)[1:] if found else None

    def logged(self, log, pattern):
        with open(os.path.join(self.desktop.workdir, log), errors="replace") as f:
            found = re.search(pattern, f.read())
        return found.group(1) if found else None

    def environment(self):
        """What the program's environment needs to show itself here."""
        if self.x11:
            return {}
        if self.xwayland:
            return {"DISPLAY": self.xwayland, "QT_QPA_PLATFORM": "xcb",
                    "XDG_RUNTIME_DIR": self.runtime}
        # A socket of another user's is reached by its path.
        runtime = os.path.join(self.desktop.workdir, "program-runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        return {"WAYLAND_DISPLAY": os.path.join(self.runtime, self.socket),
                "QT_QPA_PLATFORM": "wayland", "XDG_RUNTIME_DIR": runtime, "DISPLAY": None}


class Session(Program):
    """The wizard under a window system, seen through AT-SPI and driven by actions and keys."""

    def __init__(self, path, desktop, system, name):
        super().__init__(path, desktop, "", name, **system.environment())
        self.xwayland = system.xwayland

    def expect(self, caption, control):
        """caption in front and active, control in it focused, nothing else of either."""
        def there():
            active, focused = self.where()
            return active == [caption] and "%s: %s" % (caption, control) in focused and \
                all(f.startswith(caption + ": ") for f in focused) and \
                all(window == caption for window in self.x_windows())

        try:
            wait_for("%s active with %s focused" % (caption, control), there)
        except Failure:
            active, focused = self.where()
            raise Failure("expected %s active with %r focused; active %s, focused %s, X %s" % (
                caption, control, active, focused, self.x_windows()))

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
    "idle": ([(("idle", 3), "Main Menu", "Basic Model")], "exit"),
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


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def run(session, steps, ending):
    for what, caption, control in steps:
        if what[0] == "idle":
            # Left alone, the program does nothing: whatever the window system sends it.
            session.expect(caption, control)
            used = cpu_seconds(session.process.pid)
            time.sleep(what[1])
            share = (cpu_seconds(session.process.pid) - used) / what[1]
            if share >= 0.01:
                raise Failure("left alone, the program used %.0f %% of a core" % (100 * share))
        elif what[0] == "act":
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
    parser.add_argument("--on", required=True,
                        choices=list(X11_WINDOW_MANAGERS) + WAYLAND_COMPOSITORS)
    parser.add_argument("--scenario", action="append", choices=sorted(SCENARIOS),
                        help="run only this scenario (may be repeated)")
    args = parser.parse_args()
    program = os.path.abspath(args.program)

    def scenario(desktop, system, name):
        session = Session(program, desktop, system, name)
        try:
            run(session, *SCENARIOS[name])
        finally:
            session.stop()

    def cases_on(desktop):
        system = WindowSystem(args.on, desktop)
        system.start()
        for name in args.scenario or SCENARIOS:
            yield ("%s on %s" % (name, args.on), lambda n=name: scenario(desktop, system, n))

    return run_on_desktop("cocomo-window-system-", cases_on, window_manager=False)


if __name__ == "__main__":
    sys.exit(main())
