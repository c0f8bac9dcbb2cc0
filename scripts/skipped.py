#!/usr/bin/env python3
"""Says what make test skipped and why, one line each.

    scripts/skipped.py TREE[:FILE]...

TREE is a build tree under build/ whose ctest wrote junit.xml there; each
of its tests that was skipped is named with the reason it printed. Where
FILE exists, the whole tree was skipped, for the reason FILE holds.
"""
import os
import re
import sys
import xml.etree.ElementTree as ET


def reason(output, fallback):
    """The reason a test gave for skipping itself: its line "skipped: ...",
    or GoogleTest's message after "Skipped", else CTest's own word."""
    lines = output.splitlines()
    for line in lines:
        if line.lower().startswith("skipped: "):
            return line[len("skipped: "):].strip()
    for at, line in enumerate(lines):
        if re.search(r": Skipped$", line):
            for said in lines[at + 1:]:
                if said.strip() and not said.startswith("[  SKIPPED ]"):
                    return said.strip()
    return fallback


def skipped(tree):
    """(test, reason) for each test of TREE that was skipped."""
    results = os.path.join("build", tree, "junit.xml")
    if not os.path.exists(results):
        return [("(every test)", "it has no results, " + results)]
    found = []
    for case in ET.parse(results).getroot().iter("testcase"):
        mark = case.find("skipped")
        if mark is None:
            continue
        output = case.findtext("system-out") or ""
        found.append((case.get("name"), reason(output, mark.get("message", "no reason given"))))
    return found


def main(trees):
    os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    lines = []
    for arg in trees:
        tree, _, why_file = arg.partition(":")
        if why_file and os.path.exists(why_file):
            with open(why_file) as f:
                lines.append("%s (the whole tree): %s" % (tree, f.readline().strip()))
            continue
        lines += ["%s %s: %s" % (tree, name, why) for name, why in skipped(tree)]
    print("Skipped: %s" % (len(lines) or "nothing"))
    for line in lines:
        print("  " + line)


if __name__ == "__main__":
    main(sys.argv[1:])
