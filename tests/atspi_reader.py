#!/usr/bin/python3
"""Reads a window of mailview over AT-SPI as a screen reader does: the
showing window TITLE on the accessibility bus of its D-Bus session must be
a modal dialog whose one showing text of ROLE ("text" or "label") reads
SHOWN and is not editable, whose one button, OK, is the default and has
the focus; OK is then pressed through AT-SPI. Prints "ready" once the
registry is up (a program started before may find no one to register
with); exits 1, saying what failed. Started by tests/window_test.cpp.
  tests/atspi_reader.py TITLE ROLE SHOWN      (Debian's python3-pyatspi)
"""
import sys
import time

import pyatspi
from gi.repository import GLib

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what, file=sys.stderr)


def wait_for(what, find, seconds=60):
    """find()'s first true answer, asked after each event from the bus."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        # The cached tree is what the bus last said; its events bring it
        # up to date only when they are dispatched.
        GLib.timeout_add(50, lambda: False)
        context.iteration(True)
        while context.pending():
            context.iteration(False)
    sys.exit("FAILED: no " + what + " within %d s" % seconds)


def window_named(title):
    """The showing top-level window named `title` (the bus and the display
    are the test's own: only mailview shows windows there)."""
    for app in pyatspi.Registry.getDesktop(0):
        for window in app or []:
            if (window is not None and window.name == title and
                    window.getState().contains(pyatspi.STATE_SHOWING)):
                return window
    return None


def descendants(root, role):
    return pyatspi.findAllDescendants(
        root, lambda a: a.getRole() == role and
        a.getState().contains(pyatspi.STATE_SHOWING))


def main():
    title, role, shown = sys.argv[1:4]
    text_role = {"text": pyatspi.ROLE_TEXT, "label": pyatspi.ROLE_LABEL}[role]
    pyatspi.Registry.getDesktop(0).childCount
    print("ready", flush=True)

    window = wait_for(title + " window on the bus", lambda: window_named(title))
    check(window.getRole() == pyatspi.ROLE_DIALOG,
          title + " is announced as " + window.getRoleName() + ", not dialog")
    check(window.getState().contains(pyatspi.STATE_MODAL), title + " is not modal")

    texts = descendants(window, text_role)
    got = [t.queryText().getText(0, -1) for t in texts]
    check(got == [shown], "%s shows %r, not %r" % (title, got, shown))
    for t in texts:
        check(not t.getState().contains(pyatspi.STATE_EDITABLE),
              title + ": the text is editable")

    buttons = descendants(window, pyatspi.ROLE_PUSH_BUTTON)
    check([b.name for b in buttons] == ["OK"],
          "%s has the buttons %r" % (title, [b.name for b in buttons]))
    ok = buttons[0]
    # The focus may come a little after the window is shown.
    wait_for(title + ": OK with the focus",
             lambda: ok.getState().contains(pyatspi.STATE_FOCUSED))
    check(ok.getState().contains(pyatspi.STATE_IS_DEFAULT),
          title + ": OK is not the default button")

    action = ok.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    check("click" in names, "%s: OK's actions are %r" % (title, names))
    action.doAction(names.index("click") if "click" in names else 0)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
