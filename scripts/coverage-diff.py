#!/usr/bin/env python3
"""Compares what two coverage runs (scripts/coverage.sh) executed of the product code.
Usage: scripts/coverage-diff.py BEFORE.lcov BEFORE_TREE AFTER.lcov AFTER_TREE
Lists every line executed before and not after, and every side of a line's conditions (true or
false) taken before and not after; exits 1 when there is any. Paths are taken relative to their
tree, so two checkouts compare."""
import sys

from lcov_items import covered


def read(path, tree):
    with open(path) as f:
        return covered(f.read(), tree)


before_lines, before_branches = read(sys.argv[1], sys.argv[2])
after_lines, after_branches = read(sys.argv[3], sys.argv[4])
lost_lines = sorted(before_lines - after_lines)
lost_branches = sorted(before_branches - after_branches)
for name, line in lost_lines:
    print(f"line lost: {name}:{line}")
for name, line, side in lost_branches:
    print(f"branch lost: {name}:{line} ({('true', 'false')[side]} side)")
print(f"before: {len(before_lines)} lines, {len(before_branches)} branch sides; after: {len(after_lines)} lines, "
      f"{len(after_branches)}; lost {len(lost_lines)} lines, {len(lost_branches)} branch sides")
sys.exit(1 if lost_lines or lost_branches else 0)
