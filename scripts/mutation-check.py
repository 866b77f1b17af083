#!/usr/bin/env python3
"""A quick mutation check: how many small faults planted in the player and the storage code the
test suite catches.

Usage: scripts/mutation-check.py [build folder]   (default: build, configured already)

Each spot below flips one comparison or constant. One at a time, the spot's file is changed,
the test program of its library is rebuilt (which rebuilds only that library), the program runs,
and the file is restored. A mutant is caught when the program fails, crashes or runs past the
time limit. A build failure is reported apart: it means the spot needs fixing, not the tests.
The script exits 1 when a spot's text is no longer found exactly once in its file.
It takes a few minutes; CI does not run it.
"""
import os
import subprocess
import sys
import time

PLAYER = ("tests_swfplayer_main", "tests/swfplayer/main")
STORAGE = ("tests_serializeme", "tests/serializeme")

# (file, original text, mutated text, test program)
SPOTS = [
    ("swfplayer/main/common/stream.cpp", "if ((byte & 0x80) == 0) {", "if ((byte & 0x80) != 0) {", PLAYER),
    ("swfplayer/main/common/stream.cpp", "end < limit ? end : limit", "end > limit ? end : limit", PLAYER),
    ("swfplayer/main/common/stream.cpp", "return left > 0 ? left : 0;", "return left > 1 ? left : 0;", PLAYER),
    ("swfplayer/main/common/rect.cpp", "return x >= x_min && x <= x_max", "return x > x_min && x <= x_max", PLAYER),
    ("swfplayer/main/common/cxform.cpp", "(value > high ? high : value)", "(value > high ? low : value)", PLAYER),
    ("swfplayer/main/common/matrix.cpp", "return get_determinant() < 0.0f;", "return get_determinant() > 0.0f;",
     PLAYER),
    ("swfplayer/main/geometry/tri_predicates.cpp", "return s_ef <= 0;", "return s_ef < 0;", PLAYER),
    ("swfplayer/main/geometry/triangulate.cpp", "if (path.end - path.first < 3) {",
     "if (path.end - path.first < 2) {", PLAYER),
    ("swfplayer/main/script/as_value.cpp", "case NUMBER: return m_payload.number != 0.0;",
     "case NUMBER: return m_payload.number > 0.0;", PLAYER),
    ("swfplayer/main/script/as_value.cpp", "number >= 2147483648.0", "number > 2147483648.0", PLAYER),
    ("swfplayer/main/script/as_value.cpp", "set_int(to_int() >> (count & 31));",
     "set_int(to_int() >> (count & 15));", PLAYER),
    ("swfplayer/main/script/action_buffer.cpp", "if (size - pos < 3) {", "if (size - pos < 2) {", PLAYER),
    ("swfplayer/main/loading/filter_list.cpp", "if (5 * colors + 19 > in->get_tag_bytes_left()) {",
     "if (5 * colors + 18 > in->get_tag_bytes_left()) {", PLAYER),
    ("swfplayer/main/loading/tag_loaders.cpp", "constexpr int max_sprite_nesting = 8;",
     "constexpr int max_sprite_nesting = 80;", PLAYER),
    ("serializeme/BinaryStorageBuffer.cpp", "if (BytesLeft() < 4) {", "if (BytesLeft() < 3) {", STORAGE),
    ("serializeme/BinaryStorageBuffer.cpp", "return count > most ? static_cast<uint32_t>(most) : count;",
     "return count < most ? static_cast<uint32_t>(most) : count;", STORAGE),
    ("serializeme/BinaryStorageBuffer.cpp", "length > BytesLeft()", "length >= BytesLeft()", STORAGE),
    ("serializeme/ValueText.cpp", "return c >= '0' && c <= '9';", "return c >= '0' && c < '9';", STORAGE),
    ("serializeme/ValueText.cpp", "uint64_t{1} << 33;", "uint64_t{1} << 31;", STORAGE),
    ("serializeme/XmlTextParser.cpp", "(lead < 0xF0 ? 3 : 4)", "(lead < 0xF0 ? 3 : 5)", STORAGE),
]

TIME_LIMIT = 120


def build(build_dir, target):
    result = subprocess.run(["cmake", "--build", build_dir, "--target", target, "-j6"], capture_output=True,
                            text=True)
    return result.returncode == 0


def run_tests(build_dir, program):
    name, folder = program
    try:
        result = subprocess.run([os.path.join(".", name), "--gtest_brief=1"], cwd=os.path.join(build_dir, folder),
                                capture_output=True, text=True, timeout=TIME_LIMIT,
                                env=dict(os.environ, ALSOFT_DRIVERS="null"))
        return result.returncode == 0
    except subprocess.TimeoutExpired:
        return False


def main():
    root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    build_dir = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build"))
    programs = sorted({spot[3] for spot in SPOTS})
    for program in programs:
        if not build(build_dir, program[0]) or not run_tests(build_dir, program):
            print("mutation-check: %s does not pass unmutated; nothing measured" % program[0])
            return 1
    caught, survived, unbuildable, missing = [], [], [], []
    start = time.time()
    for index, (path, original, mutated, program) in enumerate(SPOTS, 1):
        full = os.path.join(root, path)
        with open(full, encoding="utf-8") as source:
            text = source.read()
        label = "%2d %s: %s -> %s" % (index, path, original, mutated)
        if text.count(original) != 1:
            missing.append(label)
            print("MISSING  " + label)
            continue
        try:
            with open(full, "w", encoding="utf-8") as source:
                source.write(text.replace(original, mutated))
            if not build(build_dir, program[0]):
                unbuildable.append(label)
                outcome = "NO BUILD"
            elif run_tests(build_dir, program):
                survived.append(label)
                outcome = "SURVIVED"
            else:
                caught.append(label)
                outcome = "caught  "
        finally:
            with open(full, "w", encoding="utf-8") as source:
                source.write(text)
        print("%s %s" % (outcome, label), flush=True)
    for program in programs:
        build(build_dir, program[0])
    measured = len(caught) + len(survived)
    print("mutation-check: %d of %d mutants caught (%d survived, %d did not build, %d spots missing) in %.0f s" %
          (len(caught), measured, len(survived), len(unbuildable), len(missing), time.time() - start))
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
