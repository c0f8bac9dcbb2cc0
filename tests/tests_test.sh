#!/usr/bin/env bash
# The tests of a build tree as CTest knows them. Each carries the label of
# its kind (unit, window, wine, package, fuzz or fresh), and `slow` besides
# when it takes over 20 s or so, so that `ctest -L` picks what a developer
# asks for. Every TEST and TEST_F of each test file that the PATTERNs match
# (globs under SOURCE_DIR; one that begins with "!" takes away what it
# matches) is a test of the tree, whatever prefix its name has: none builds
# and never runs. With --built-only (a tree for another processor, which
# leaves out what needs a display), only the files whose test program,
# named after the file, the tree builds.
#   tests/tests_test.sh CTEST BUILD_DIR SOURCE_DIR --all|--built-only PATTERN...
set -euo pipefail
"$1" --test-dir "$2" --show-only=json-v1 | python3 -c '
import glob, json, os, re, sys
build, source, mode, patterns = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
kinds = {"unit", "window", "wine", "package", "fuzz", "fresh"}
tests = json.load(sys.stdin)["tests"]
wrong = []
for test in tests:
    labels = [v for p in test.get("properties", []) if p["name"] == "LABELS"
              for v in p["value"]]
    # A test named _NOT_BUILT is GoogleTest'"'"'s stand-in for a program not built yet.
    if (len(kinds.intersection(labels)) != 1 or set(labels) - kinds - {"slow"}) and \
            not test["name"].endswith("_NOT_BUILT"):
        wrong.append("  %s: %s" % (test["name"], " ".join(labels) or "no label"))
if not tests or wrong:
    sys.exit("Want one of %s (and maybe slow):\n" % ", ".join(sorted(kinds)) + "\n".join(wrong))

chosen = set()
for pattern in patterns:
    matched = set(glob.glob(pattern.lstrip("!"), root_dir=source))
    chosen = chosen - matched if pattern.startswith("!") else chosen | matched
names, missing, files = {t["name"] for t in tests}, [], 0
for path in sorted(chosen):
    if mode == "--built-only" and not os.path.exists(os.path.join(build, path.split("/")[-1][:-4])):
        continue
    files += 1
    with open(os.path.join(source, path)) as text:
        cases = re.findall(r"^\s*TEST(?:_F)?\(\s*(\w+)\s*,\s*(\w+)\s*\)", text.read(), re.M)
        for suite, name in cases:
            if not any(re.search(r"(^|\.)%s\.%s$" % (suite, name), n) for n in names):
                missing.append("  %s: %s.%s" % (path, suite, name))
if missing:
    sys.exit("Never run by CTest in this tree:\n" + "\n".join(missing))
print("%d tests, each labelled; every case of %d test files among them" % (len(tests), files))
' "$2" "$3" "${@:4}"
