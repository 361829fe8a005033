#!/usr/bin/env python3
"""Finds a window of the program on the accessibility bus and presses a push button in it.

Usage: atspi_press.py --window TITLE --press NAME [--expect NAME ...] [--timeout SECONDS]
Waits for the window, lists its push buttons with their names, checks that none is unnamed,
that every --expect name is among them, and that the one named by --press answers the
press action; then presses it. Exits non-zero with a message that says what was missing.
"""
import argparse
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

# get_action_name is the only binding of the action's name (its replacement clashes with
# the accessible's own get_name); it says so on every call.
warnings.filterwarnings("ignore", category=DeprecationWarning)

parser = argparse.ArgumentParser()
parser.add_argument("--window", required=True)
parser.add_argument("--press", required=True)
parser.add_argument("--expect", action="append", default=[])
parser.add_argument("--timeout", type=float, default=30)
args = parser.parse_args()
title, wanted = args.window, args.press
deadline = time.monotonic() + args.timeout
# A call to a program that hangs must fail the check, not stall it.
Atspi.set_timeout(5000, 15000)


def descendants(node, depth=0):
    if depth > 12:
        return
    try:
        count = node.get_child_count()
    except gi.repository.GLib.Error:
        return
    for i in range(count):
        try:
            child = node.get_child_at_index(i)
        except gi.repository.GLib.Error:
            continue
        if child is None:
            continue
        yield child
        yield from descendants(child, depth + 1)


def start_window():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is None:
            continue
        for j in range(app.get_child_count()):
            frame = app.get_child_at_index(j)
            if frame is not None and frame.get_name() == title:
                return frame
    return None


window, last_error = None, None
while window is None and time.monotonic() < deadline:
    try:
        window = start_window()
    except gi.repository.GLib.Error as e:  # the program is still connecting
        last_error = e
    if window is None:
        time.sleep(0.3)
if window is None:
    sys.exit(f"atspi: no window titled {title!r} on the accessibility bus ({last_error or 'not registered'})")

buttons = {}
for node in descendants(window):
    if node.get_role() == Atspi.Role.PUSH_BUTTON:
        buttons.setdefault(node.get_name(), node)
print("push buttons:", sorted(buttons), flush=True)
if "" in buttons:
    sys.exit("atspi: a push button of the start window has no name")
missing = [name for name in args.expect + [wanted] if name not in buttons]
if missing:
    sys.exit(f"atspi: no push button named {missing}")
button = buttons[wanted]
if "Action" not in button.get_interfaces():
    sys.exit(f"atspi: {wanted!r} has no actions")
names = [Atspi.Action.get_action_name(button, i) for i in range(Atspi.Action.get_n_actions(button))]
if "Press" not in names:
    sys.exit(f"atspi: {wanted!r} does not answer the press action (actions: {names})")
if not Atspi.Action.do_action(button, names.index("Press")):
    sys.exit(f"atspi: pressing {wanted!r} failed")
print("pressed:", wanted)
