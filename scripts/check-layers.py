#!/usr/bin/env python3
"""Fails when a source file includes a header from a layer it must not depend on, or lies in a
folder that has no place in the layering.

Usage: check-layers.py [root]   (root defaults to the repository this script is in)

The folders form one order, lowest first:
  platform < serializeme < swfplayer < flash < app < game < gui < tools < program
A folder may include its own headers and those of the folders below it, never those above. Two
narrower rules hold besides: of the folders above the player, only flash/ and game/ use the
player's code, and the content tools only share the player's constants (tag codes, units) from
swfplayer/main/common. Inside the player, its own layers, lowest first (see
swfplayer/main/CMakeLists.txt):
  swfplayer/base <- common <- {geometry, script, render, sound} <- display <- loading <- shapes
  <- text <- swfplayer_as_classes <- as3 <- player
No product code includes tests, benchmarks or fuzz targets; they may include anything.

Every C or C++ file is checked, in every folder but hidden ones and build folders: those the
scripts make (build, build-asan, build-cov, build-game) and any top-level folder that holds a
CMakeCache.txt. A file in
a folder that is in neither order fails, so a new folder is given its place before code lands in
it. An include is taken as the compiler finds it: a quoted name is looked up next to the file
first (so "../gui/GUIDirector.h" names gui/GUIDirector.h), then from the root; a name in angle
brackets is a project header when its first folder is one of the project's.
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
    ("swfplayer/main/sound", {"swfplayer/main/common"}),
    ("swfplayer/main/display",
     {"swfplayer/main/geometry", "swfplayer/main/script", "swfplayer/main/render", "swfplayer/main/sound"}),
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
SOURCE_SUFFIXES = (".c", ".cc", ".cpp", ".cxx", ".c++", ".cppm", ".ixx", ".mpp", ".h", ".hh", ".hpp", ".hxx", ".h++",
                   ".inc", ".inl", ".ipp", ".tcc", ".tpp", ".txx")
# The build folders that the scripts make under the root.
SCRIPT_BUILD_FOLDERS = {"build", "build-asan", "build-cov", "build-game"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')


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


def top_folder(path):
    """The first folder of a project path; None for a file at the root."""
    return path.split("/", 1)[0] if "/" in path else None


def unplaced_folder(source):
    """The folder of source when it has no place in the layering, or None when it has one."""
    top = top_folder(source)
    if top in FREE_FOLDERS:
        return None
    if top not in FOLDER_ORDER:
        return os.path.dirname(source) or "."
    if top == "swfplayer" and player_folder(source) is None:
        return os.path.dirname(source)
    return None


def project_path(root, source, delimiter, name):
    """The project path an include names, or None when it names no file of the project."""
    path = None
    if delimiter == '"':
        beside = os.path.normpath(os.path.join(os.path.dirname(source), name))
        if name.startswith(("./", "../")) or os.path.isfile(os.path.join(root, beside)):
            path = beside
    if path is None:
        path = os.path.normpath(name)
    top = top_folder(path)
    return path if top in FOLDER_ORDER or top in FREE_FOLDERS else None


def check_include(source, header, reach):
    """The reason source must not include the project header, or None when it may."""
    top = top_folder(source)
    if top in FREE_FOLDERS:
        return None
    target_top = top_folder(header)
    if target_top in FREE_FOLDERS:
        return "product code includes " + target_top + "/"
    if target_top == "swfplayer" and player_folder(header) is None:
        return "the player has no layer " + os.path.dirname(header)
    if top == "swfplayer" and target_top == "swfplayer":
        own = player_folder(source)
        target = player_folder(header)
        return own + " is below " + target if target not in reach[own] else None
    if target_top == top:
        return None
    if FOLDER_ORDER.index(target_top) > FOLDER_ORDER.index(top):
        return top + "/ is below " + target_top + "/"
    if target_top == "swfplayer" and top not in PLAYER_USERS:
        if top == "tools":
            # The kit shares the player's constants (tag codes, units), never its code.
            return None if header.startswith("swfplayer/main/common/") else "the kit uses the player's code"
        return top + "/ draws through flash/, never the player itself"
    return None


def is_skipped(root, name):
    """Whether the top-level folder holds no sources of the project: a hidden or a build folder."""
    return (name.startswith(".") or name in SCRIPT_BUILD_FOLDERS
            or os.path.isfile(os.path.join(root, name, "CMakeCache.txt")))


def tracked_sources(root):
    for folder, subfolders, files in os.walk(root):
        relative_folder = os.path.relpath(folder, root)
        if relative_folder == ".":
            subfolders[:] = [name for name in subfolders if not is_skipped(root, name)]
        for name in files:
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.normpath(os.path.join(relative_folder, name))


def check_source(root, source, reach):
    """The faults of one source file, one line each."""
    unplaced = unplaced_folder(source)
    if unplaced is not None:
        return ["%s: %s/ has no place in the layering" % (source, unplaced)]
    faults = []
    with open(os.path.join(root, source), encoding="utf-8", errors="replace") as text:
        for number, line in enumerate(text, 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            header = project_path(root, source, match.group(1), match.group(2))
            reason = check_include(source, header, reach) if header is not None else None
            if reason:
                faults.append("%s:%d: includes %s: %s" % (source, number, match.group(2), reason))
    return faults


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    reach = player_reach()
    faults = 0
    for source in sorted(tracked_sources(root)):
        for fault in check_source(root, source, reach):
            print(fault)
            faults += 1
    if faults:
        print("check-layers: %d fault(s) against the layering" % faults)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
