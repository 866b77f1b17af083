#!/usr/bin/env python3
"""Finds the tests that execute nothing of the product code that other tests do not execute too.
Usage: scripts/per-test-coverage.py [tree]   (after scripts/coverage.sh on the same tree)

Runs every test case of the coverage build in a process of its own (under a virtual X display),
reads what each executed, and prints the tests with no unique coverage, biggest first, then a
set of them that could go together without losing any line or branch side. Coverage is not
checking: a listed test may still be the only one to check a result; the list says where to look."""
import concurrent.futures
import json
import os
import re
import subprocess
import sys

from lcov_items import covered

TREE = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
BUILD = f"{TREE}/build-cov"
PROFILES = f"{BUILD}/pertest"
DISPLAY = f":{100 + os.getpid() % 800}"


def test_cases():
    listing = json.loads(subprocess.check_output(["ctest", "--show-only=json-v1"], cwd=BUILD))["tests"]
    return [t for t in listing if any(arg.startswith("--gtest_filter") for arg in t["command"])]


def property_of(test, key, default=None):
    return next((p["value"] for p in test.get("properties", []) if p["name"] == key), default)


def items_of(index, test):
    """What one test case executed, as a set of line and branch keys."""
    env = dict(os.environ, DISPLAY=DISPLAY, LLVM_PROFILE_FILE=f"{PROFILES}/{index}-%p.profraw")
    env.update(kv.split("=", 1) for kv in property_of(test, "ENVIRONMENT", []))
    subprocess.run(test["command"], cwd=property_of(test, "WORKING_DIRECTORY", BUILD), env=env, capture_output=True,
                   timeout=600)
    raws = [f"{PROFILES}/{f}" for f in os.listdir(PROFILES) if f.startswith(f"{index}-")]
    if not raws:  # a test whose processes all ended by a signal leaves no profile
        return set()
    profile = f"{PROFILES}/{index}.profdata"
    subprocess.run(["llvm-profdata-14", "merge", "-sparse", *raws, "-o", profile], check=True)
    objects = [test["command"][0]]
    if os.path.exists(f"{BUILD}/run/pondorix"):  # the end-to-end tests start the game
        objects += ["-object", f"{BUILD}/run/pondorix"]
    lcov = subprocess.run(["llvm-cov-14", "export", "-format=lcov", f"-instr-profile={profile}", *objects],
                          capture_output=True, text=True).stdout
    for raw in raws:
        os.remove(raw)
    lines, branches = covered(lcov, TREE)
    return {f"{n}:{l}" for n, l in lines} | {f"{n}:{l}:{o}" for n, l, o in branches}


def test_spans():
    """Suite.name -> (file, first line, lines up to the next test or the end of the file)."""
    spans = {}
    pattern = re.compile(r"\s*TEST(?:_F|_P)?\(\s*(\w+)\s*,\s*(\w+)\s*\)")
    for root, _, files in os.walk(f"{TREE}/tests"):
        for file in (f for f in files if f.endswith(".cpp")):
            path = f"{root}/{file}"
            lines = open(path).read().split("\n")
            starts = [(n, m) for n, text in enumerate(lines) if (m := pattern.match(text))]
            for k, (n, m) in enumerate(starts):
                end = starts[k + 1][0] if k + 1 < len(starts) else len(lines)
                spans[f"{m.group(1)}.{m.group(2)}"] = (os.path.relpath(path, TREE), n + 1, end - n)
    return spans


def main():
    os.makedirs(PROFILES, exist_ok=True)
    tests = test_cases()
    xvfb = subprocess.Popen(["Xvfb", DISPLAY, "-screen", "0", "1024x768x24", "-noreset"], stderr=subprocess.DEVNULL)
    try:
        with concurrent.futures.ThreadPoolExecutor(os.cpu_count()) as pool:
            items = dict(zip((t["name"] for t in tests), pool.map(items_of, range(len(tests)), tests)))
    finally:
        xvfb.terminate()
    spans = test_spans()
    size = lambda name: spans.get(name, ("?", 0, 0))
    times = {}
    for executed in items.values():
        for item in executed:
            times[item] = times.get(item, 0) + 1
    shared = sorted((n for n, e in items.items() if e and all(times[i] > 1 for i in e)), key=lambda n: -size(n)[2])
    print(f"{len(items)} tests; {len(shared)} with no unique coverage:")
    for name in shared:
        print("  {2:4d} lines  {0}:{1}  ".format(*size(name)) + name)
    # Biggest first, take tests out while every item they executed stays executed by another.
    removable = []
    for name in shared:
        if all(times[i] > 1 for i in items[name]):
            for i in items[name]:
                times[i] -= 1
            removable.append(name)
    print(f"removable together without losing coverage: {len(removable)} tests, "
          f"{sum(size(n)[2] for n in removable)} lines")
    for name in removable:
        print("  {2:4d} lines  {0}:{1}  ".format(*size(name)) + name)
    print("tests that executed no product code:", sorted(n for n, e in items.items() if not e))


main()
