#!/usr/bin/python3
"""The Send Mail window and the Error box as a screen reader finds them.

The real program on a display and a D-Bus session of its own, read through
the accessibility bus (AT-SPI): each window a modal dialog with its title
as its name, the text it shows, not editable, and the default button OK
with the keyboard focus. OK is then pressed through AT-SPI too.
  tests/with-display.sh dbus-run-session -- tests/atspi_test.py MAILVIEW
(Debian's Python: python3-pyatspi is installed for it.)
"""
import subprocess
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
    """find()'s first true answer, asked again after each event from the
    bus (or 50 ms without one) until it gives one or time is up."""
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


def parent_of(pid):
    try:
        with open("/proc/%d/stat" % pid) as stat:
            return int(stat.read().rsplit(")", 1)[1].split()[1])
    except (OSError, ValueError, IndexError):
        return None


def window_of(pid, title):
    """The showing top-level window named `title` of process `pid`, or of
    the child that talks to the display for it, once its application is on
    the bus."""
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or pid not in (app.get_process_id(),
                                      parent_of(app.get_process_id())):
            continue
        for window in app:
            if (window is not None and window.name == title and
                    window.getState().contains(pyatspi.STATE_SHOWING)):
                return window
    return None


def descendants(root, role):
    return pyatspi.findAllDescendants(
        root, lambda a: a.getRole() == role and
        a.getState().contains(pyatspi.STATE_SHOWING))


def check_window(mailview, stdin, title, text_role, shown):
    """Runs mailview on `stdin`, checks its window named `title`, whose one
    showing text of `text_role` must read `shown`, and presses OK."""
    program = subprocess.Popen([mailview, "-t", "-i"], stdin=subprocess.PIPE)
    program.stdin.write(stdin)
    program.stdin.close()
    window = wait_for(title + " window on the bus",
                      lambda: window_of(program.pid, title))
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
    try:
        status = program.wait(timeout=60)
    except subprocess.TimeoutExpired:
        program.kill()
        status = "none: still open"
    check(status == 0, "%s: exit status %s" % (title, status))


def main():
    mailview = sys.argv[1]
    # The registry up before any program: one that starts first may find
    # no one to register with.
    pyatspi.Registry.getDesktop(0).childCount
    # A CR before a CR LF pair ends the line with it; a lone one is a mark.
    check_window(mailview,
                 b"To: a@example.org\r\nSubject: hi\r\n\r\nA\r\r\nB\rC\r\n",
                 "Send Mail", pyatspi.ROLE_TEXT,
                 "To: a@example.org\r\nSubject: hi\r\n\r\nA\r\nB\u240dC\r\n")
    check_window(mailview, b"x" * 10000, "Error", pyatspi.ROLE_LABEL,
                 "Email too long")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
