#!/usr/bin/python3
# Listens to the built wizard through a real screen reader, Orca, on a real X server.
#
# Starts the desktop test's Xvfb, session bus, accessibility bus and openbox, then
# speech-dispatcher with an output module that writes each utterance to a file instead of a
# sound card, and Orca speaking through it; starts the wizard as a desktop session does,
# drives it by keyboard along the three models' paths and checks, step by step, what Orca said.
#
#     screen_reader_test.py --program PATH [--transcript FILE]

import argparse
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from desktop import Failure, Program, run_on_desktop, wait_for, xdotool  # noqa: E402

# The text as Orca hands it over, one utterance a line: without the symbol tables of a
# standard installation, which read brackets out as "left paren", brackets stay brackets.
# speech-dispatcher stops without an audio device, even for a module that plays nothing:
# ALSA's null device is one.
FILES = {
    "speechd/speechd.conf": 'AddModule "capture" "sd_generic" "capture.conf"\n'
                            'DefaultModule "capture"\nAudioOutputMethod "alsa"\n',
    "speechd/modules/capture.conf": 'GenericExecuteSynth "printf \'%s\\\\n\' \\\'$DATA\\\' '
                                    '>> {work}/spoken.txt"\nAddVoice "en" "MALE1" "capture"\n',
    "home/.asoundrc": "pcm.!default { type null }\n",
    "spoken.txt": "",
}


# speech-dispatcher writing what it is given to a file, and Orca speaking through it.
class ScreenReader:
    def __init__(self, desktop):
        work = desktop.workdir
        for name, text in FILES.items():
            os.makedirs(os.path.dirname(os.path.join(work, name)), exist_ok=True)
            with open(os.path.join(work, name), "w") as f:
                f.write(text.replace("{work}", work))
        self.spoken, self.heard = os.path.join(work, "spoken.txt"), 0
        socket = os.path.join(work, "speechd.sock")
        env = dict(desktop.env, HOME=os.path.join(work, "home"),
                   SPEECHD_ADDRESS="unix_socket:" + socket)
        desktop.spawn(["speech-dispatcher", "-s", "-t", "0", "-C", os.path.join(work, "speechd"),
                       "-S", socket, "-L", work], env=env)
        wait_for("speech-dispatcher's socket", lambda: os.path.exists(socket))
        desktop.spawn(["orca", "--replace", "-u", os.path.join(work, "orca"),
                       "--debug-file=" + os.path.join(work, "orca-debug.txt")], env=env)
        self.hear(["Screen reader on"], timeout=30)

    def said(self):
        with open(self.spoken, errors="replace") as f:
            return " ".join(f.read().split())

    # Waits until what was said since the last call holds every phrase; returns it.
    def hear(self, phrases, once=(), timeout=10.0):
        start = self.heard

        def all_said():
            text = self.said()[start:]
            return text if all(phrase in text for phrase in phrases) else None

        try:
            text = wait_for("speech", all_said, timeout)
        except Failure:
            raise Failure("expected %s, heard %r" % (phrases, self.said()[start:]))
        self.heard = len(self.said())
        for phrase in once:
            if text.count(phrase) != 1:
                raise Failure("expected %r once, heard %r" % (phrase, text))
        return text


# The three paths by keyboard, each step as (the keys, what Orca must say after them[, what
# it must say only once]). The keypad's keys are Orca's review of the screen, line by line.
MODES = "In the COCOMO model, one of the most important factors contributing to a project's " \
    "duration and cost is the Development Mode. Every project is considered to be developed " \
    "in one of the three modes:"
BOX = "Estimated number of delivered lines of code text."
STEPS = [
    ("", ["Main Menu frame. COCOMO Model.", "Basic Model push button"]),
    ("Tab space", ["The Development Mode. " + MODES, "Organic"]),
    ("space", ["Cost Driver Very Low, VL Low, L", "ACAP Analyst Capability: Very Low, VL"]),
    ("Tab " * 9 + "Right Right", ["STOR Storage Constraint: Very High, VH"]),
    ("KP_Up", ["Low, L, unavailable not selected Nominal", "Very High, VH selected"]),
    ("Tab", ["TIME Exec Time Constraint: Nominal, N"]),
    ("Tab " * 6, ["Continue"]),
    ("space", ["thousands: COCOMO 81 cost estimation. " + BOX]),
    ("3 2 0 0 0 Tab", ["Back push button"]),
    ("shift+Tab", [BOX + " 32000 selected"]),
    ("Tab Tab", ["Clear push button"]),
    ("space", [BOX]),
    ("3 2 0 0 0 Return", ["Results for the Intermediate Model. Model : Intermediate. Mode : "
                          "Organic. Effort : 147.35 Staff-Months. TDEV : 16.67 Months. "
                          "Average Staffing : 8.84 People.", "Main Menu push button"]),
    ("Insert+KP_Home" + " KP_Page_Up" * 3, ["Effort : 147.35 Staff-Months"], ["147.35"]),
    ("KP_Right KP_Right Insert+KP_Begin", ["Effort = 3.2 x 32^1.05 x EAF 1.21 = 147.35 staff"]),
    ("space", ["Main Menu frame", "Basic Model push button"]),
    ("Tab Tab space", [MODES]),
    ("space", ["Phase distribution of the Organic mode. Phase Distribution. Phase Small, 2 KDSI "
               "Intermediate, 8 KDSI Medium, 32 KDSI Large, 128 KDSI.",
               "Requirements: Small, 2 KDSI"], ["Phase Distribution panel"]),
    ("Tab Tab Tab", ["Code and Unit Test: Small, 2 KDSI"], ["Code and Unit Test"]),
    ("Tab Tab Tab", ["Back"]),
    ("space", [MODES]),
    ("Tab space", ["Phase distribution of the Semidetached mode."]),
    ("shift+Tab shift+Tab space", [MODES]),
    ("Tab space", ["Phase distribution of the Embedded mode."]),
    ("shift+Tab space", [BOX + " 32000"]),
    ("Return", ["Results for the Advanced Model. Model : Advanced. Mode : Embedded. Effort : "
                "1075.20 Staff-Months. TDEV : 23.34 Months. Average Staffing : 46.08 People."]),
]


def main():
    parser = argparse.ArgumentParser(description="Listens to the wizard through Orca.")
    parser.add_argument("--program", required=True, help="the wizard's executable")
    parser.add_argument("--transcript", help="where to write what was heard at each step")
    args = parser.parse_args()
    heard = []

    def listen(desktop):
        reader = ScreenReader(desktop)
        # As a session starts it: accessibility asked for, not forced on.
        wizard = Program(os.path.abspath(args.program), desktop, desktop.workdir, "orca",
                         QT_LINUX_ACCESSIBILITY_ALWAYS_ON=None)
        try:
            # Each key goes to the screen in front once it holds the keyboard, and each step
            # waits until Orca has said what the step's keys bring, the focus included, so
            # that Orca has no event left over when the next step starts.
            for keys, phrases, *once in STEPS + [("Tab space", [])]:
                for key in keys.split():
                    wizard.keyboard_ready()
                    xdotool("key", "--clearmodifiers", key)
                heard.append("%s: %s" % (keys or "(start)", reader.hear(phrases, *once)))
            # Exit, so that a sanitizer's report at the end counts too.
            if wizard.exit_status() != 0:
                raise Failure("exit status %d after Exit" % wizard.exit_status())
        finally:
            if args.transcript:
                os.makedirs(os.path.dirname(os.path.abspath(args.transcript)), exist_ok=True)
                with open(args.transcript, "w") as out:
                    out.write("\n".join(heard) + "\n")

    return run_on_desktop("cocomo-orca-", lambda desktop: [
        ("screen reader", lambda: listen(desktop))])


if __name__ == "__main__":
    sys.exit(main())
