"""Prints each list of the running Varnok window as a screen reader finds it over AT-SPI: its
role, its name and whether it holds a text field, one line each, in the tree's order, and the
lines that are spoken when they change (a status bar, an alert) by their role and whether they
say something; the hidden ones are left out.

With a second argument N, first puts the focus on the Nth list and presses Enter there (with
xdotool), as a user starts a recording from the keyboard, and prints the tree after it."""
import subprocess
import sys
import time

import pyatspi


def find_application(name, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and application.name == name and application.childCount:
                return application
        time.sleep(0.1)
    return None


def walk(node, found):
    if node is None or not node.getState().contains(pyatspi.STATE_VISIBLE):
        return
    if node.getRole() == pyatspi.ROLE_COMBO_BOX:
        texts = [child for child in node if child is not None
                 and child.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)]
        found.append(f"{node.getRoleName()}\t{node.name}\t{'text field' if texts else 'list'}")
        return
    if node.getRole() in (pyatspi.ROLE_STATUS_BAR, pyatspi.ROLE_ALERT):
        found.append(f"{node.getRoleName()}\t{'says something' if node.name else 'silent'}")
        return
    for child in node:
        walk(child, found)


def lists(node, found):
    if node is None:
        return
    if node.getRole() == pyatspi.ROLE_COMBO_BOX:
        found.append(node)
        return
    for child in node:
        lists(child, found)


application = find_application(sys.argv[1], 15)
if application is None:
    sys.exit(f"no application {sys.argv[1]} on the accessibility bus")
if len(sys.argv) > 2:
    boxes = []
    lists(application, boxes)
    # Without a window manager the window gets the keyboard only when given it.
    subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Varnok", "windowfocus",
                    "--sync"], check=True, stdout=subprocess.DEVNULL)
    if not boxes[int(sys.argv[2])].queryComponent().grabFocus():
        sys.exit("the list takes no focus from a screen reader")
    time.sleep(0.3)
    subprocess.run(["xdotool", "key", "Return"], check=True)
    time.sleep(0.5)
lines = []
walk(application, lines)
print("\n".join(lines))
