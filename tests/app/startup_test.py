#!/usr/bin/python3
"""Starts the built wizard where it cannot show itself, or has no font for its texts.

Without a usable display or windowing platform it must end at once with status 1, one line on
standard error that says what it could not open, and no abort; with no usable font it must
say so on one line and go on.

    startup_test.py --program PATH
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from desktop import WAIT, Failure, free_display, no_font_configuration, run_cases  # noqa: E402


def clean_environment(runtime_dir):
    env = {key: value for key, value in os.environ.items()
           if key not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY",
                          "FONTCONFIG_FILE")}
    # A runtime directory of its own: no Wayland compositor's socket, no warning about it.
    env["XDG_RUNTIME_DIR"] = runtime_dir
    env["LC_ALL"] = "C.UTF-8"
    return env


def expect_refused(program, env, *words):
    """The program must exit 1 (no signal) with exactly one line on stderr naming the words."""
    result = subprocess.run([program], env=env, capture_output=True, text=True, timeout=WAIT)
    lines = result.stderr.splitlines()
    if result.returncode != 1:
        raise Failure("exit status %d (a negative status is the signal that ended it), stderr %r"
                      % (result.returncode, result.stderr))
    if len(lines) != 1:
        raise Failure("%d lines on stderr, not one: %r" % (len(lines), result.stderr))
    missing = [word for word in words if word not in lines[0]]
    if missing or not lines[0].startswith("cocomo-wizard: "):
        raise Failure("the line %r does not name %s" % (lines[0], missing))
    return lines[0]


# Starts that must be refused: what the environment sets (None unsets), and what the one line
# must name.
REFUSED = [
    ("bad_display", {"DISPLAY": lambda: free_display(900)}, ["DISPLAY"], "the display"),
    ("unknown_platform", {"QT_QPA_PLATFORM": "bogus"}, ['"bogus"', "QT_QPA_PLATFORM"], None),
    ("wayland_without_compositor", {"QT_QPA_PLATFORM": "wayland"}, ["Wayland", '"wayland-0"'],
     None),
    ("wayland_without_runtime_dir", {"QT_QPA_PLATFORM": "wayland", "XDG_RUNTIME_DIR": None},
     ['"wayland-0"', "XDG_RUNTIME_DIR"], None),
]


def refused(program, runtime_dir, changes, words, quoted):
    env = clean_environment(runtime_dir)
    for key, value in changes.items():
        if value is None:
            env.pop(key, None)
        else:
            env[key] = value() if callable(value) else value
    if quoted:
        words = words + ['"%s"' % env["DISPLAY"]]
    return expect_refused(program, env, *words)


def run_briefly(program, env, seconds=3.0):
    """Runs the program for a while; returns its stderr and whether it was still running."""
    process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, start_new_session=True)
    try:
        os.set_blocking(process.stderr.fileno(), False)
        output = b""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline and process.poll() is None:
            try:
                output += os.read(process.stderr.fileno(), 4096)
            except BlockingIOError:
                time.sleep(0.05)
        return output.decode(errors="replace"), process.poll() is None
    finally:
        if process.poll() is None:
            os.killpg(process.pid, signal.SIGTERM)
        process.wait(timeout=WAIT)
        process.stderr.close()


def ours(output):
    return [line for line in output.splitlines() if line.startswith("cocomo-wizard: ")]


def no_font(program, runtime_dir, workdir):
    env = clean_environment(runtime_dir)
    env["QT_QPA_PLATFORM"] = "offscreen"
    env.update(no_font_configuration(workdir))
    output, running = run_briefly(program, env)
    said = ours(output)
    if len(said) != 1 or "fonts-liberation" not in said[0]:
        raise Failure("expected one line naming fonts-liberation, read %r" % output)
    if not running:
        raise Failure("the program ended after saying %r" % said[0])
    return said[0]


def fonts_installed(program, runtime_dir):
    env = clean_environment(runtime_dir)
    env["QT_QPA_PLATFORM"] = "offscreen"
    output, running = run_briefly(program, env)
    if ours(output) or not running:
        raise Failure("with the fonts installed: %r, running %s" % (output, running))
    return "nothing said"


def fallen_back(program, runtime_dir):
    """A platform Qt gave up for another is no news: nothing of it is said."""
    env = clean_environment(runtime_dir)
    env.update(QT_QPA_PLATFORM="wayland;offscreen", WAYLAND_DISPLAY="gone")
    output, running = run_briefly(program, env)
    if "wl_display" in output or "platform plugin" in output or not running:
        raise Failure("after falling back: %r, running %s" % (output, running))
    return "nothing said of Wayland"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the wizard's executable")
    program = os.path.abspath(parser.parse_args().program)

    workdir = tempfile.mkdtemp(prefix="cocomo-startup-")
    runtime_dir = os.path.join(workdir, "runtime")
    os.mkdir(runtime_dir, 0o700)
    cases = [(name, lambda c=changes, w=words, q=quoted: refused(program, runtime_dir, c, w, q))
             for name, changes, words, quoted in REFUSED]
    cases += [("no_font", lambda: no_font(program, runtime_dir, workdir)),
              ("fonts_installed", lambda: fonts_installed(program, runtime_dir)),
              ("fallen_back", lambda: fallen_back(program, runtime_dir))]
    try:
        return 1 if run_cases(cases) else 0
    finally:
        shutil.rmtree(workdir, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
