#!/usr/bin/env python3
"""Fails when a source file includes a header from a layer it must not depend on.

Usage: check-layers.py [root]   (root defaults to the repository this script is in)

The folders form one order, lowest first:
  platform < serializeme < swfplayer < flash < app < game < gui < tools < program
A folder may include its own headers and those of the folders below it, never those above. Two
narrower rules hold besides: of the folders above the player, only flash/ and game/ use the
player's code, and the content tools only share the player's constants (tag codes, units) from
swfplayer/main/common. Inside the player, its own layers, lowest first (see
swfplayer/main/CMakeLists.txt):
  swfplayer/base <- common <- {geometry, script, render} <- display <- loading <- shapes <- text
  <- swfplayer_as_classes <- as3 <- player
No product code includes tests, benchmarks or fuzz targets; they may include anything.
"""
import os
import re
import sys

PLAYER_LAYERS = [
    ("swfplayer/base", set()),
    ("swfplayer/main/common", {"swfplayer/base"}),
    ("swfplayer/main/geometry", {"swfplayer/main/common"}),
    ("swfplayer/main/script", {"swfplayer/main/common"}),
    ("swfplayer/main/render", {"swfplayer/main/common"}),
    ("swfplayer/main/display", {"swfplayer/main/geometry", "swfplayer/main/script", "swfplayer/main/render"}),
    ("swfplayer/main/loading", {"swfplayer/main/display"}),
    ("swfplayer/main/shapes", {"swfplayer/main/loading"}),
    ("swfplayer/main/text", {"swfplayer/main/shapes"}),
    ("swfplayer/main/swfplayer_as_classes", {"swfplayer/main/text"}),
    ("swfplayer/main/as3", {"swfplayer/main/swfplayer_as_classes"}),
    ("swfplayer/main/player", {"swfplayer/main/as3"}),
]

# The folders outside the player's inner layers, lowest first.
FOLDER_ORDER = ["platform", "serializeme", "swfplayer", "flash", "app", "game", "gui", "tools", "program"]
# The folders above the player that may use its code.
PLAYER_USERS = {"flash", "game"}
FREE_FOLDERS = ("tests", "bench", "fuzz")

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def player_reach():
    """Each player folder with every player folder it may include, itself included."""
    reach = {}
    for folder, below in PLAYER_LAYERS:
        allowed = {folder}
        for lower in below:
            allowed |= reach[lower]
        reach[folder] = allowed
    return reach


def player_folder(path):
    best = None
    for folder, _ in PLAYER_LAYERS:
        if path == folder or path.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def check_include(source, header, reach):
    """The reason source must not include header, or None when it may."""
    top = source.split("/", 1)[0]
    if top in FREE_FOLDERS:
        return None
    target_top = header.split("/", 1)[0]
    if target_top in FREE_FOLDERS:
        return "product code includes " + target_top + "/"
    if top == "swfplayer":
        own = player_folder(source)
        target = player_folder(header)
        if own is None:
            return None
        if target_top == "swfplayer":
            return own + " is below " + target if target is not None and target not in reach[own] else None
    if top not in FOLDER_ORDER or target_top not in FOLDER_ORDER or target_top == top:
        return None
    if FOLDER_ORDER.index(target_top) > FOLDER_ORDER.index(top):
        return top + "/ is below " + target_top + "/"
    if target_top == "swfplayer" and top not in PLAYER_USERS:
        if top == "tools":
            # The kit shares the player's constants (tag codes, units), never its code.
            return None if header.startswith("swfplayer/main/common/") else "the kit uses the player's code"
        return top + "/ draws through flash/, never the player itself"
    return None


def tracked_sources(root):
    for folder, subfolders, files in os.walk(root):
        relative_folder = os.path.relpath(folder, root)
        if relative_folder == ".":
            subfolders[:] = [name for name in subfolders if not name.startswith(("build", "."))]
        for name in files:
            if name.endswith((".cpp", ".h")):
                yield os.path.normpath(os.path.join(relative_folder, name))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    reach = player_reach()
    faults = 0
    for source in sorted(tracked_sources(root)):
        with open(os.path.join(root, source), encoding="utf-8", errors="replace") as text:
            for number, line in enumerate(text, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                reason = check_include(source, match.group(1), reach)
                if reason:
                    print("%s:%d: includes %s: %s" % (source, number, match.group(1), reason))
                    faults += 1
    if faults:
        print("check-layers: %d include(s) against the layering" % faults)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
