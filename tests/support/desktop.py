"""What the tests of the built wizard on a real desktop share.

A desktop of their own (Xvfb, a session bus with the accessibility bus, and openbox if asked),
the wizard driven on it as a user drives it (real input events through xdotool, texts and
states read through AT-SPI), waits that end as soon as what they wait for is there, and one
runner that reports each case as PASS or FAIL with its time.
"""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

WAIT = 30.0  # seconds: the bound on every wait for the program or the desktop, never a delay
POLL = 0.05
ERROR_BOX = "COCOMO Estimation Wizard"
APPLICATION = "COCOMO Estimation Wizard"
SIZE_BOX = "Estimated number of delivered lines of code"


class Failure(Exception):
    pass


def wait_for(what, condition, timeout=WAIT):
    deadline = time.monotonic() + timeout
    while True:
        asked = time.monotonic()
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
            if timeout >= WAIT:
                for program in list(RUNNING):
                    program.write_stacks()
            raise Failure("timed out after %.0f s waiting for %s" % (timeout, what))
        # A condition read over the accessibility bus costs the program as much as it costs
        # here: it is asked at most half the time.
        time.sleep(max(POLL, time.monotonic() - asked))


def free_display(first):
    """An X display number nobody holds, from first on, as ":N"."""
    for number in range(first, first + 100):
        if not os.path.exists("/tmp/.X%d-lock" % number) and \
                not os.path.exists("/tmp/.X11-unix/X%d" % number):
            return ":%d" % number
    raise Failure("no free X display from :%d on" % first)


def no_font_configuration(workdir):
    """The environment of a program whose fontconfig finds no font at all."""
    path = os.path.join(workdir, "no-fonts.conf")
    with open(path, "w") as f:
        f.write('<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">\n'
                "<fontconfig><cachedir>%s</cachedir></fontconfig>\n"
                % os.path.join(workdir, "fontconfig-cache"))
    return {"FONTCONFIG_FILE": path}


# The programs started and not yet stopped: where each one was is written down when a wait
# for it times out, since a program that hangs and one that was never seen look alike.
RUNNING = set()


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
        # A runtime directory of its own: the accessibility bus puts its socket there, named by
        # the display's number, which a desktop started next on the same number would otherwise
        # share with one still shutting down.
        self.env["XDG_RUNTIME_DIR"] = os.path.join(workdir, "session-runtime")
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)

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
            argv.insert(1, free_display(int(first)))
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
            self.wait_for_window_manager("openbox")
        os.environ.update({k: self.env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})

    def wait_for_window_manager(self, name):
        """Until the window manager shows a window. Openbox claims the screen before it has
        started, and a window mapped in between is never shown: a probe window is shown and
        closed, again until one appears."""
        wait_for(name + " to claim the screen", lambda: self.run_ok(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], "window id"))

        def probe_shown():
            probe = self.spawn(["xmessage", "-name", "cocomo-probe", "-geometry", "+0+0",
                                "probe"], log_name="xmessage.log")
            try:
                return wait_for("the probe window", lambda: self.run_ok(
                    ["xdotool", "search", "--onlyvisible", "--classname", "cocomo-probe"]),
                                timeout=2)
            except Failure:
                return False
            finally:
                stop_process(probe)

        wait_for(name + " to show a window", probe_shown)

    def size(self):
        return tuple(int(n) for n in self.screen.split("x"))

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
        # Where the window manager's active window and the keyboard focus can be read: the
        # program's X display; none for a Wayland client.
        self.x_display = self.env.get("DISPLAY") if self.env.get("QT_QPA_PLATFORM") == "xcb" \
            else None
        self.xwayland = None
        RUNNING.add(self)

    def stop(self):
        RUNNING.discard(self)
        stop_process(self.process)

    def write_stacks(self):
        """Beside its log, the X windows of the program's display and where each thread of
        the program is, when gdb is there to tell."""
        with open(self.log + ".stacks", "w") as out:
            if self.x_display:
                for argv in (["xwininfo", "-root", "-tree"], ["xprop", "-root"]):
                    subprocess.run(argv, env=dict(self.env, DISPLAY=self.x_display), stdout=out,
                                   stderr=subprocess.STDOUT, timeout=WAIT)
            if shutil.which("gdb") and self.process.poll() is None:
                subprocess.run(["gdb", "-batch", "-p", str(self.process.pid), "-ex",
                                "thread apply all bt"], stdout=out, stderr=subprocess.STDOUT,
                               timeout=WAIT)

    # Windows, by caption.
    def windows(self, caption):
        return xdotool("search", "--all", "--onlyvisible", "--pid", self.process.pid, "--name",
                       "^%s$" % re.escape(caption))

    def open_captions(self):
        captions = set()
        for window in xdotool("search", "--all", "--onlyvisible", "--pid", self.process.pid,
                              "--name", "."):
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
    def press(self, caption, name):
        """Clicks the middle of the button or option of that name, where the screen shows it,
        while its window is active."""
        import pyatspi
        control = self.control(caption, name)
        window = self.window(caption)
        # Qt drops a press that arrives before it has seen the pointer enter the control, so
        # each click waits for what shows it taken: a button held down (and released then),
        # an option checked. A dropped press leaves the button up, and releasing it then
        # clicks nothing; an option clicked twice stays as chosen. Each try reads where the
        # control is anew, as a window manager may still be placing its window.
        option = control.getRole() == pyatspi.ROLE_RADIO_BUTTON
        state = pyatspi.STATE_CHECKED if option else pyatspi.STATE_PRESSED

        def taken():
            x, y, width, height = self.extents(control)
            x, y = x + width // 2, y + height // 2
            xdotool("mousemove", x, y)
            wait_for("the pointer at %d,%d" % (x, y), lambda: xdotool(
                "getmouselocation", "--shell")[:2] == ["X=%d" % x, "Y=%d" % y])
            self.keys_to(window)
            xdotool("mousedown", 1)
            try:
                if option:
                    xdotool("mouseup", 1)
                return wait_for("the click", lambda: control.getState().contains(state),
                                timeout=1)
            except Failure:
                return False
            finally:
                if not option:
                    xdotool("mouseup", 1)

        wait_for('"%s" on "%s" to take the click' % (name, caption), taken)

    def type(self, caption, text):
        self.window(caption)
        xdotool("type", "--delay", 40, text)

    def key(self, caption, *keys):
        self.keys_to(self.window(caption), *keys)

    @staticmethod
    def keys_to(window, *keys):
        """Types the keys while the window is active: they go to it, and to nothing else."""
        wait_for("window %s to be active" % window,
                 lambda: xdotool("getactivewindow") == [window])
        if keys:
            xdotool("key", "--clearmodifiers", "--delay", 20 if len(keys) > 1 else 0, *keys)

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

    def screenshot(self, caption, name, painted=False):
        """The window with its frame as the screen shows it, once it has finished painting:
        grabbed until two grabs in a row are the same, or at once when the caller has seen
        it painted."""
        window = self.window(caption)
        os.makedirs(self.screenshots, exist_ok=True)
        path = os.path.join(self.screenshots, "%s.png" % name)
        grab = ["import", "-window", "root", "-crop", self.frame_geometry(window), "+repage"]
        last = []

        def settled():
            pixels = subprocess.run(grab + ["rgb:-"], capture_output=True, check=True,
                                    timeout=WAIT).stdout
            last.append(pixels)
            return len(last) > 1 and last[-2] == pixels

        if not painted:
            wait_for("%s to finish painting" % caption, settled)
        subprocess.run(grab + [path], check=True, timeout=WAIT)
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

    def screens(self):
        import pyatspi
        app = self.application()
        found = []
        for index in range(app.childCount):
            frame = app.getChildAtIndex(index)
            if frame is not None and frame.getState().contains(pyatspi.STATE_SHOWING):
                found.append(frame)
        return found

    def active_screens(self):
        import pyatspi
        return [frame for frame in self.screens()
                if frame.getState().contains(pyatspi.STATE_ACTIVE)]

    def active(self):
        """The active screens, by caption."""
        return [frame.name for frame in self.active_screens()]

    def where(self):
        """The active screens and the focused controls, by caption. Only a control of an
        active screen can have the focus."""
        import pyatspi
        active = self.active_screens()
        focused = ["%s: %s" % (frame.name, node.name) for frame in active
                   for node in self.descendants(frame)
                   if node.getState().contains(pyatspi.STATE_FOCUSED)]
        return [frame.name for frame in active], focused

    def x_windows(self):
        """The window manager's active window and the window with the X keyboard focus, by
        caption; none where the program runs as a Wayland client."""
        if not self.x_display:
            return []
        # Xwayland's window managers keep no active window of their own.
        query = ([] if self.xwayland else ["getactivewindow", "getwindowname"]) + \
            ["getwindowfocus", "getwindowname"]
        names = subprocess.run(["xdotool", *query], env=dict(os.environ, DISPLAY=self.x_display),
                               capture_output=True, text=True, timeout=WAIT).stdout.splitlines()
        # A query that found no window ends the chain: what it did not name is no window.
        return names + [""] * (len(query) // 2 - len(names))

    def keyboard_ready(self):
        """On X the server hands the keyboard to a window a moment after the window manager
        has activated it, which is when Qt calls it active; keys typed in between go to the
        window that had the keyboard."""
        def ready():
            active = self.active()
            return len(active) == 1 and self.x_windows()[-1] == active[0]

        if self.x_display:
            wait_for("the X keyboard focus on the active screen", ready)

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


def figures(effort, tdev, avg):
    """The figures and their units, each a text of its own, as a screen reader names them."""
    return (effort, "Staff-Months", tdev, "Months", avg, "People")


def intersection(a, b):
    left, top = max(a[0], b[0]), max(a[1], b[1])
    right, bottom = min(a[0] + a[2], b[0] + b[2]), min(a[1] + a[3], b[1] + b[3])
    return left, top, max(0, right - left), max(0, bottom - top)


SIZE_REQUIREMENT = ("The size must be a whole number of lines from 1 to 2147483647, "
                    "for example 32000.")


def run_cases(cases):
    """Runs each case, a name and a function that returns what it found worth saying (or
    nothing), and prints PASS or FAIL for it with its time. Returns the number that failed."""
    failed = 0
    for name, case in cases:
        started = time.monotonic()
        try:
            found = case()
            print("PASS %s (%.1f s)%s" % (name, time.monotonic() - started,
                                          ": " + found if found else ""), flush=True)
        except (Failure, subprocess.TimeoutExpired) as failure:
            failed += 1
            print("FAIL %s: %s" % (name, failure), flush=True)
    return failed


def run_on_desktop(prefix, cases_on, **desktop):
    """Starts a desktop in a work directory of its own and runs the cases that cases_on(it)
    gives; keeps the work directory, with every log, only when something failed. Returns
    the exit status."""
    workdir = tempfile.mkdtemp(prefix=prefix)
    on = Desktop(workdir, **desktop)
    try:
        on.start()
        failed = run_cases(cases_on(on))
    except Failure as failure:
        failed = 1
        print("FAIL desktop: %s" % failure, flush=True)
    finally:
        on.stop()
    if failed:
        print("logs in %s" % workdir, flush=True)
        return 1
    shutil.rmtree(workdir, ignore_errors=True)
    return 0


# Contrast as WCAG 2.1 counts it, of colours read from the screen.
LINEAR = [c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
          for c in (i / 255 for i in range(256))]


def contrast(a, b):
    la, lb = (0.2126 * LINEAR[c[0]] + 0.7152 * LINEAR[c[1]] + 0.0722 * LINEAR[c[2]] for c in (a, b))
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def grab(area):
    """The screen in an area (x, y, width, height), as raw RGB."""
    import gi
    gi.require_version("Gdk", "3.0")
    from gi.repository import Gdk
    shot = Gdk.pixbuf_get_from_window(Gdk.get_default_root_window(), *area)
    data, stride = shot.get_pixels(), shot.get_rowstride()
    return b"".join(data[y * stride:y * stride + 3 * area[2]] for y in range(area[3]))


def pixels(data, area, box, hole=(0, 0, 0, 0)):
    """The pixels of a grab of the area that lie in the box, less those in the hole."""
    x0, y0, width, height = area
    return [data[3 * (y * width + x):3 * (y * width + x) + 3]
            for y in range(max(box[1] - y0, 0), min(box[1] + box[3] - y0, height))
            for x in range(max(box[0] - x0, 0), min(box[0] + box[2] - x0, width))
            if not (0 <= x + x0 - hole[0] < hole[2] and 0 <= y + y0 - hole[1] < hole[3])]
