#!/usr/bin/python3
"""Drives the built wizard on a real X server with a real window manager.

Starts its own Xvfb, session bus, accessibility bus and openbox, runs each scenario against a
fresh instance of the program with real input events (xdotool), finds windows by caption and
controls by their accessible names, reads texts and states through AT-SPI, saves a
screenshot of every screen it visits, and stops every process it started.

    desktop_test.py --program PATH [--scenario NAME]... [--screen WxH] [--screenshots DIR]

The placement_at_SCALE scenarios run only when named.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WAIT = 15.0  # seconds: the bound on every wait for the program or the desktop
POLL = 0.05
ERROR_BOX = "COCOMO Estimation Wizard"
APPLICATION = "COCOMO Estimation Wizard"
SIZE_BOX = "Estimated number of delivered lines of code"


class Failure(Exception):
    pass


def wait_for(what, condition, timeout=WAIT):
    deadline = time.monotonic() + timeout
    while True:
        try:
            result = condition()
        except Exception as error:
            # An accessible that went away while it was read (a window unmapped, an object
            # replaced) is a state in passing; anything else is a fault of the test.
            if type(error).__name__ != "GError":
                raise
            result = None
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(POLL)


class Desktop:
    """Xvfb, a session bus with the accessibility bus, and openbox, started and stopped here."""

    def __init__(self, workdir, screen="1280x1024", window_manager=True):
        self.workdir = workdir
        self.screen = screen
        self.window_manager = window_manager
        self.processes = []
        self.env = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "SESSION_MANAGER", "XAUTHORITY"):
            self.env.pop(name, None)

    def spawn(self, argv, log_name=None, **kwargs):
        name = log_name or os.path.basename(argv[0]) + ".log"
        log = open(os.path.join(self.workdir, name), "ab")
        kwargs.setdefault("stdout", log)
        process = subprocess.Popen(argv, env=kwargs.pop("env", self.env), stderr=log,
                                   start_new_session=True, **kwargs)
        self.processes.append(process)
        return process

    def start(self):
        read_end, write_end = os.pipe()
        argv = ["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.screen + "x24",
                "-nolisten", "tcp", "-noreset"]
        first = os.environ.get("COCOMO_TEST_DISPLAY_FROM")
        if first:
            argv.insert(1, ":" + self.free_display(int(first)))
        self.spawn(argv, pass_fds=(write_end,))
        os.close(write_end)
        number = self.read_line(read_end, "Xvfb to report its display")
        os.close(read_end)
        self.env["DISPLAY"] = ":" + number

        bus = self.spawn(["dbus-daemon", "--session", "--nofork", "--print-address"],
                         stdout=subprocess.PIPE)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self.read_line(bus.stdout.fileno(),
                                                              "the session bus address")
        self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        wait_for("the accessibility bus", lambda: self.run_ok(
            ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
             "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
             "string:org.a11y.Bus"], "boolean true"))
        self.spawn(["/usr/libexec/at-spi2-registryd"])
        if self.window_manager:
            self.spawn(["openbox", "--sm-disable"])
            wait_for("openbox to manage the screen", lambda: self.run_ok(
                ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], "window id"))
        os.environ.update({k: self.env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})

    def size(self):
        return tuple(int(n) for n in self.screen.split("x"))

    @staticmethod
    def free_display(first):
        for number in range(first, first + 50):
            if not os.path.exists("/tmp/.X%d-lock" % number) and \
                    not os.path.exists("/tmp/.X11-unix/X%d" % number):
                return str(number)
        raise Failure("no free X display from :%d on" % first)

    @staticmethod
    def read_line(fd, what):
        data = b""
        deadline = time.monotonic() + WAIT
        os.set_blocking(fd, False)
        while not data.endswith(b"\n"):
            if time.monotonic() > deadline:
                raise Failure("timed out waiting for " + what)
            try:
                chunk = os.read(fd, 256)
            except BlockingIOError:
                time.sleep(POLL)
                continue
            if not chunk:
                raise Failure("no answer while waiting for " + what)
            data += chunk
        return data.decode().strip()

    def run_ok(self, argv, expect=""):
        result = subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=WAIT)
        return result.returncode == 0 and expect in result.stdout

    def stop(self):
        for process in reversed(self.processes):
            stop_process(process)
        self.processes.clear()


def stop_process(process):
    if process.poll() is not None:
        return
    try:
        # Each was started as the leader of its own group, with whatever it spawned.
        os.killpg(process.pid, signal.SIGTERM)
        process.wait(timeout=5)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait(timeout=5)
    except ProcessLookupError:
        process.wait(timeout=5)


def xdotool(*args):
    result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True,
                            timeout=WAIT)
    return result.stdout.split()


class Program:
    """One run of the wizard, driven as a user drives it."""

    def __init__(self, path, desktop, screenshots, name="", **environment):
        self.env = dict(desktop.env, QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                        QT_QPA_PLATFORM="xcb", LC_ALL="C.UTF-8", LANG="C.UTF-8")
        # A variable given as None is left out, as a session without it would start the program.
        self.env.update(environment)
        self.env = {name: value for name, value in self.env.items() if value is not None}
        self.log = os.path.join(desktop.workdir, "cocomo-wizard-%s.log" % name)
        self.process = desktop.spawn([path], env=self.env, log_name=os.path.basename(self.log))
        self.path = path
        self.screenshots = screenshots
        self.desktop = desktop

    def stop(self):
        stop_process(self.process)

    # Windows, by caption.
    def windows(self, caption):
        return xdotool("search", "--all", "--onlyvisible", "--pid", self.process.pid, "--name",
                       "^%s$" % re.escape(caption))

    def open_captions(self):
        captions = set()
        for window in xdotool("search", "--all", "--onlyvisible", "--pid", self.process.pid, "--name",
                              "."):
            names = xdotool("getwindowname", window)
            captions.add(" ".join(names))
        return captions

    def window(self, caption):
        found = wait_for('a window "%s"' % caption, lambda: self.windows(caption))
        window = found[0]
        wait_for('"%s" to be active' % caption,
                 lambda: xdotool("getactivewindow") == [window])
        return window

    def expect_no_window(self, caption):
        wait_for('"%s" to close' % caption, lambda: not self.windows(caption))

    def expect_open(self, *captions):
        wait_for("the open windows to be %s" % sorted(captions),
                 lambda: self.open_captions() == set(captions))

    # Input.
    def click(self, caption, point):
        """Clicks a point of the screen while the window with this caption is active."""
        self.window(caption)
        x, y = point
        xdotool("mousemove", x, y)
        wait_for("the pointer at %d,%d" % (x, y),
                 lambda: xdotool("getmouselocation", "--shell")[:2] == ["X=%d" % x, "Y=%d" % y])
        # Qt drops a press that arrives before it has seen the pointer enter the button.
        time.sleep(0.1)
        xdotool("mousedown", 1)
        time.sleep(0.05)
        xdotool("mouseup", 1)

    def press(self, caption, name):
        """Clicks the middle of the button or option of that name, where the screen shows it."""
        x, y, width, height = self.extents(self.control(caption, name))
        self.click(caption, (x + width // 2, y + height // 2))

    def type(self, caption, text):
        self.window(caption)
        xdotool("type", "--delay", 40, text)

    def key(self, caption, *keys):
        self.window(caption)
        for key in keys:
            xdotool("key", "--clearmodifiers", key)
            time.sleep(0.05)

    def activate(self, caption):
        """Brings a covered screen forward as the window manager's switching does."""
        window = wait_for('a window "%s"' % caption, lambda: self.windows(caption))[0]
        xdotool("windowactivate", "--sync", window)
        return self.window(caption)

    def close(self, caption):
        """Closes the active screen as a user does: the window manager's Alt+F4."""
        self.window(caption)
        xdotool("key", "--clearmodifiers", "alt+F4")
        self.expect_no_window(caption)

    def screenshot(self, caption, name):
        window = self.window(caption)
        os.makedirs(self.screenshots, exist_ok=True)
        path = os.path.join(self.screenshots, "%s.png" % name)
        # Let the window paint after mapping, then grab it with its frame from the screen.
        time.sleep(0.3)
        subprocess.run(["import", "-window", "root", "-crop", self.frame_geometry(window),
                        "+repage", path], check=True, timeout=WAIT)
        return path

    def screenshot_desktop(self, name):
        os.makedirs(self.screenshots, exist_ok=True)
        subprocess.run(["import", "-window", "root",
                        os.path.join(self.screenshots, "%s.png" % name)], timeout=WAIT)

    @staticmethod
    def frame_geometry(window):
        """The window with the window manager's frame around it, as X geometry."""
        info = subprocess.run(["xwininfo", "-id", window, "-frame"], capture_output=True,
                              text=True, timeout=WAIT).stdout
        x, y, width, height = (int(re.search(key + r":\s+(-?\d+)", info).group(1))
                               for key in ("Absolute upper-left X", "Absolute upper-left Y",
                                           "Width", "Height"))
        return "%dx%d+%d+%d" % (width, height, max(0, x), max(0, y))

    def exit_status(self):
        try:
            return self.process.wait(timeout=WAIT)
        except subprocess.TimeoutExpired:
            raise Failure("the program was still running %.0f s after Exit" % WAIT)

    # Accessibility.
    def application(self):
        """The program on the accessibility bus, by its name: a desktop theme that brings GTK
        along registers an empty application of the same process beside it."""
        import pyatspi

        def find():
            desktop = pyatspi.Registry.getDesktop(0)
            for index in range(desktop.childCount):
                app = desktop.getChildAtIndex(index)
                try:
                    if app is not None and app.name == APPLICATION and \
                            app.get_process_id() == self.process.pid:
                        return app
                except Exception:
                    continue
            return None

        return wait_for("the program on the accessibility bus", find)

    def frame(self, caption):
        def find():
            app = self.application()
            for index in range(app.childCount):
                child = app.getChildAtIndex(index)
                if child is not None and child.name == caption:
                    return child
            return None

        return wait_for('the accessible window "%s"' % caption, find)

    @staticmethod
    def descendants(node):
        for index in range(node.childCount):
            child = node.getChildAtIndex(index)
            if child is None:
                continue
            yield child
            yield from Program.descendants(child)

    # The window's texts: its labels, and the figures, which read as text nobody can edit.
    def labels(self, caption):
        import pyatspi
        return [node.name for node in self.descendants(self.frame(caption))
                if node.getRole() == pyatspi.ROLE_LABEL or node.getRole() == pyatspi.ROLE_TEXT
                and node.getState().contains(pyatspi.STATE_READ_ONLY)]

    def expect_labels(self, caption, *texts):
        def all_there():
            return all(text in self.labels(caption) for text in texts)

        try:
            wait_for("the labels of %s" % caption, all_there)
        except Failure:
            raise Failure('"%s" should show %s; it shows %s (screenshots in %s)' % (
                caption, list(texts), self.labels(caption), self.screenshots))

    def checked(self, caption, name):
        import pyatspi
        for node in self.descendants(self.frame(caption)):
            if node.name == name and node.getRole() == pyatspi.ROLE_RADIO_BUTTON:
                return node.getState().contains(pyatspi.STATE_CHECKED)
        raise Failure('no option button "%s" on "%s"' % (name, caption))

    def text_of(self, caption):
        import pyatspi
        for node in self.descendants(self.frame(caption)):
            if node.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY):
                text = node.queryText()
                return text.getText(0, text.characterCount)
        raise Failure('no text box on "%s"' % caption)

    def control(self, caption, name):
        """The button, option or text box of that accessible name, once the window shows it."""
        import pyatspi
        roles = (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_TEXT,
                 pyatspi.ROLE_ENTRY)

        def find():
            for node in self.descendants(self.frame(caption)):
                if node.name == name and node.getRole() in roles:
                    return node
            return None

        return wait_for('a control "%s" on "%s"' % (name, caption), find)

    def act(self, caption, name):
        """Presses a button through accessibility, wherever the window shows it."""
        self.control(caption, name).queryAction().doAction(0)

    @staticmethod
    def frame_rect(window):
        """The window with the frame the window manager put around it, on the screen."""
        info = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True,
                              timeout=WAIT).stdout
        x, y, width, height = (int(re.search(key + r":\s+(-?\d+)", info).group(1))
                               for key in ("Absolute upper-left X", "Absolute upper-left Y",
                                           "Width", "Height"))
        left, right, top, bottom = Program.frame_extents(window)
        return x - left, y - top, width + left + right, height + top + bottom

    @staticmethod
    def frame_extents(window):
        """Left, right, top and bottom of the window manager's frame; empty until it is set."""
        extents = subprocess.run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"],
                                 capture_output=True, text=True, timeout=WAIT).stdout
        return [int(n) for n in re.findall(r"\d+", extents.split("=")[-1])]

    @staticmethod
    def extents(node):
        import pyatspi
        return tuple(node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS))

    def described(self, caption):
        """What a screen reader finds in a window: role, name and description of each part."""
        import pyatspi
        lines = []

        def visit(node, depth):
            parts = [node.getRoleName(), repr(node.name)]
            if node.description:
                parts.append("description %r" % node.description)
            if node.getRole() in (pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_PUSH_BUTTON) and \
                    not node.getState().contains(pyatspi.STATE_ENABLED):
                parts.append("disabled")
            lines.append("  " * depth + " ".join(parts))
            for index in range(node.childCount):
                child = node.getChildAtIndex(index)
                if child is not None:
                    visit(child, depth + 1)

        visit(self.frame(caption), 0)
        return lines


def expect_equal(what, expected, actual, program):
    if expected != actual:
        raise Failure("%s: expected %r, read %r (screenshots in %s)" % (
            what, expected, actual, program.screenshots))


def hundredths(value):
    return "%.2f" % value


def figures(effort, tdev, avg):
    """The figures and their units, each a text of its own, as a screen reader names them."""
    return (effort, "Staff-Months", tdev, "Months", avg, "People")


def intersection(a, b):
    left, top = max(a[0], b[0]), max(a[1], b[1])
    right, bottom = min(a[0] + a[2], b[0] + b[2]), min(a[1] + a[3], b[1] + b[3])
    return left, top, max(0, right - left), max(0, bottom - top)


SIZE_REQUIREMENT = ("The size must be a whole number of lines from 1 to 2147483647, "
                    "for example 32000.")


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


def refused_start(p):
    """Started where it cannot show itself, the wizard says why on one line and exits 1."""
    p.window("Main Menu")
    runtime = os.path.join(p.desktop.workdir, "runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    display = ":" + Desktop.free_display(900)
    for what, extra, words in (
            ("a display that does not exist", {"DISPLAY": display}, ['"%s"' % display]),
            ("Wayland with no compositor", {"QT_QPA_PLATFORM": "wayland"}, ["Wayland"])):
        env = dict(p.env, XDG_RUNTIME_DIR=runtime, **extra)
        result = subprocess.run([p.path], env=env, capture_output=True, text=True, timeout=WAIT)
        lines = result.stderr.splitlines()
        if result.returncode != 1 or len(lines) != 1 or \
                not all(word in lines[0] for word in words):
            raise Failure("with %s: exit status %d (negative: the signal), stderr %r"
                          % (what, result.returncode, result.stderr))
    p.act("Main Menu", "Exit")
    expect_equal("exit status after Exit", 0, p.exit_status(), p)


def no_font(p):
    """With no font at all, the wizard says once which package it needs, and still runs."""
    p.window("Main Menu")
    p.screenshot("Main Menu", "no-font-main-menu")
    with open(p.log, errors="replace") as log:
        said = [line for line in log if line.startswith("cocomo-wizard: ")]
    if len(said) != 1 or "fonts-liberation" not in said[0]:
        raise Failure("expected one line naming fonts-liberation, read %r" % said)
    p.act("Main Menu", "Exit")
    expect_equal("exit status after Exit", 0, p.exit_status(), p)


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
    seen = []
    for _ in range(len(candidates) + 1):
        focused = wait_for("the focus on %s" % caption, lambda: next(
            (n for n in candidates if n.getState().contains(pyatspi.STATE_FOCUSED)), None))
        if focused.name in seen:
            return seen
        seen.append(focused.name)
        try:
            wait_for('"%s" in view' % focused.name, lambda: in_view(client, p.extents(focused))
                     and in_view(screen, intersection(client, p.extents(focused))), timeout=3)
        except Failure:
            raise Failure('on "%s", "%s" at %s is out of view of %s on the %s screen' % (
                caption, focused.name, p.extents(focused), client, screen))
        p.key(caption, "Tab")
    raise Failure("Tab never came back round on %s" % caption)


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
        p.screenshot(caption, "placement-%s-x%s-%s" % (p.desktop.screen, scale, name))

    check("Main Menu", "frmMain")
    p.act("Main Menu", "Intermediate Model")
    check("Development Mode", "frmMode")
    p.act("Development Mode", "Organic Mode")
    check("Effort Adjustment Factor", "frmEAF")
    p.act("Effort Adjustment Factor", "Continue")
    check("Lines of Code", "frmKLOC")
    p.type("Lines of Code", "32000")
    p.act("Lines of Code", "Calculate")
    check("Intermediate Effort Results", "frmBasicResults")
    p.act("Intermediate Effort Results", "Main Menu")
    p.act("Main Menu", "Advanced Model")
    phase = "Phase Distribution of Effort and Schedule"
    for mode, name in (("Organic Mode", "frmPhaseOrg"), ("Semidetached Mode", "frmPhaseSemi"),
                       ("Embedded Mode", "frmPhaseEmb")):
        p.act("Development Mode", mode)
        check(phase, name)
        p.act(phase, "Back")
        p.expect_no_window(phase)
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


def no_font_configuration(workdir):
    """A fontconfig configuration that finds no font at all."""
    path = os.path.join(workdir, "no-fonts.conf")
    with open(path, "w") as f:
        f.write('<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">\n'
                "<fontconfig><cachedir>%s</cachedir></fontconfig>\n"
                % os.path.join(workdir, "fontconfig-cache"))
    return {"FONTCONFIG_FILE": path}


# Each with what its program's environment adds, given the work directory.
SCENARIOS = {
    "basic_embedded": (basic_embedded, None),
    "intermediate_organic": (intermediate_organic, None),
    "advanced_semidetached": (advanced_semidetached, None),
    "basic_keyboard": (basic_keyboard, None),
    "runtime_error": (runtime_error, None),
    "second_estimate": (second_estimate, None),
    "refused_start": (refused_start, None),
    "no_font": (no_font, no_font_configuration),
    "screen_reader": (screen_reader, None),
    "gnome_theme": (gnome_theme, gnome_environment),
}
# Run only when asked for, on a screen of the size asked for.
PLACEMENT = {"placement_at_" + scale: (placement, lambda _, s=scale: {"QT_SCALE_FACTOR": s})
             for scale in ("1", "1.25", "2", "3")}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the wizard's executable")
    parser.add_argument("--scenario", action="append", choices=sorted({**SCENARIOS, **PLACEMENT}),
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

    failures = []
    workdir = tempfile.mkdtemp(prefix="cocomo-desktop-")
    desktop = Desktop(workdir, args.screen)
    try:
        desktop.start()
        for name in args.scenario or list(SCENARIOS):
            scenario, environment = {**SCENARIOS, **PLACEMENT}[name]
            started = time.monotonic()
            run = Program(program, desktop, screenshots, name,
                          **(environment(workdir) if environment else {}))
            try:
                scenario(run)
                print("PASS %s (%.1f s)" % (name, time.monotonic() - started), flush=True)
            except Failure as failure:
                failures.append(name)
                print("FAIL %s: %s" % (name, failure), flush=True)
                run.screenshot_desktop("failed-" + name)
            finally:
                run.stop()
    except Failure as failure:
        failures.append("desktop")
        print("FAIL desktop: %s (logs in %s)" % (failure, workdir), flush=True)
    finally:
        desktop.stop()
    if failures:
        print("screenshots in %s, logs in %s" % (screenshots, workdir))
        return 1
    shutil.rmtree(workdir, ignore_errors=True)
    print("screenshots in %s" % screenshots)
    return 0


if __name__ == "__main__":
    sys.exit(main())
