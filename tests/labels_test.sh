#!/usr/bin/env bash
# Every test of a build tree carries the label of its kind (unit, window,
# wine, package, fuzz or fresh), and `slow` besides when it takes over 20 s
# or so, so that `ctest -L` picks what a developer asks for. Names those
# that do not, with the labels they have.
#   tests/labels_test.sh CTEST BUILD_DIR
set -euo pipefail
"$1" --test-dir "$2" --show-only=json-v1 | python3 -c '
import json, sys
kinds = {"unit", "window", "wine", "package", "fuzz", "fresh"}
tests = json.load(sys.stdin)["tests"]
wrong = []
for test in tests:
    if test["name"].endswith("_NOT_BUILT"):
        continue  # GoogleTest'"'"'s stand-in for a test program not built yet
    labels = [v for p in test.get("properties", []) if p["name"] == "LABELS"
              for v in p["value"]]
    if len(kinds.intersection(labels)) != 1 or set(labels) - kinds - {"slow"}:
        wrong.append("  %s: %s" % (test["name"], " ".join(labels) or "no label"))
if not tests:
    sys.exit("no tests in this tree?")
if wrong:
    sys.exit("Want one of %s (and maybe slow):\n" % ", ".join(sorted(kinds))
             + "\n".join(wrong))
print("%d tests, each labelled" % len(tests))
'
