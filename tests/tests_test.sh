#!/usr/bin/env bash
# The tests of a build tree as CTest knows them:
#  - each carries the label of its kind (unit, window, wine, package, fuzz
#    or fresh), and `slow` besides when it takes over 20 s or so, so that
#    `ctest -L` picks what a developer asks for;
#  - every TEST and TEST_F of every test file that the PATTERNs match is a
#    test of the tree, whatever prefix its name has: none builds and then
#    never runs. A PATTERN is a glob under SOURCE_DIR; one that begins with
#    "!" takes away what it matches. With --built-only (a tree for another
#    processor, which leaves out what needs a display), only the files whose
#    test program, named after the file, the tree builds.
#   tests/tests_test.sh CTEST BUILD_DIR SOURCE_DIR [--all|--built-only PATTERN...]
set -euo pipefail
"$1" --test-dir "$2" --show-only=json-v1 | python3 -c '
import glob, json, os, re, sys
build, source, mode, patterns = sys.argv[1], sys.argv[2], sys.argv[3:4], sys.argv[4:]
kinds = {"unit", "window", "wine", "package", "fuzz", "fresh"}
tests = json.load(sys.stdin)["tests"]
if not tests:
    sys.exit("no tests in this tree?")
wrong = []
for test in tests:
    if test["name"].endswith("_NOT_BUILT"):
        continue  # GoogleTest'"'"'s stand-in for a test program not built yet
    labels = [v for p in test.get("properties", []) if p["name"] == "LABELS"
              for v in p["value"]]
    if len(kinds.intersection(labels)) != 1 or set(labels) - kinds - {"slow"}:
        wrong.append("  %s: %s" % (test["name"], " ".join(labels) or "no label"))
if wrong:
    sys.exit("Want one of %s (and maybe slow):\n" % ", ".join(sorted(kinds))
             + "\n".join(wrong))

names = {t["name"] for t in tests}
case = re.compile(r"^\s*TEST(?:_F)?\(\s*(\w+)\s*,\s*(\w+)\s*\)", re.M)
chosen = set()
for pattern in patterns:
    matched = set(glob.glob(pattern.lstrip("!"), root_dir=source))
    chosen = chosen - matched if pattern.startswith("!") else chosen | matched
missing, files = [], 0
for path in sorted(chosen):
    program = os.path.join(build, os.path.basename(path)[:-len(".cpp")])
    if mode == ["--built-only"] and not os.path.exists(program):
        continue
    files += 1
    with open(os.path.join(source, path)) as text:
        for suite, name in case.findall(text.read()):
            found = re.compile(r"(^|\.)%s\.%s$" % (suite, name))
            if not any(found.search(n) for n in names):
                missing.append("  %s: %s.%s" % (path, suite, name))
if missing:
    sys.exit("Never run by CTest in this tree:\n" + "\n".join(missing))
print("%d tests, each labelled; every case of %d test files among them"
      % (len(tests), files))
' "$2" "$3" "${@:4}"
