#!/usr/bin/env python3
"""Records the player's own user folder before a test run and fails when the run touched it.

Usage: user_folder.py record STATE_FILE    (before the first test)
       user_folder.py compare STATE_FILE   (after the last; fails naming what changed)

The folder is the one the game would write to in this environment: $XDG_DATA_HOME/Pondorix when
XDG_DATA_HOME is an absolute path, else $HOME/.local/share/Pondorix. Its state is whether it
exists, and the kind, size and modification time of the folder and of everything in it.
"""
import json
import os
import sys


def user_folder():
    base = os.environ.get("XDG_DATA_HOME", "")
    if not base.startswith("/"):
        home = os.environ.get("HOME", "")
        if not home:
            return None
        base = os.path.join(home, ".local", "share")
    return os.path.join(base, "Pondorix")


def entry(path):
    info = os.lstat(path)
    kind = "folder" if os.path.isdir(path) and not os.path.islink(path) else "file"
    return [kind, info.st_size if kind == "file" else 0, info.st_mtime_ns]


def state(folder):
    """Relative path ("." for the folder) to [kind, size, mtime]; empty when there is no folder."""
    if folder is None or not os.path.lexists(folder):
        return {}
    entries = {".": entry(folder)}
    for parent, folders, files in os.walk(folder):
        for name in folders + files:
            path = os.path.join(parent, name)
            entries[os.path.relpath(path, folder)] = entry(path)
    return entries


def differences(before, after):
    lines = []
    for path in sorted(set(before) | set(after)):
        if path not in before:
            lines.append(f"made: {path}")
        elif path not in after:
            lines.append(f"removed: {path}")
        elif before[path] != after[path]:
            lines.append(f"changed: {path}")
    return lines


def main(argv):
    if len(argv) != 3 or argv[1] not in ("record", "compare"):
        print(__doc__)
        return 2
    folder = user_folder()
    if argv[1] == "record":
        with open(argv[2], "w") as out:
            json.dump({"folder": folder, "state": state(folder)}, out)
        print(f"recorded {folder}")
        return 0
    with open(argv[2]) as recorded:
        before = json.load(recorded)
    if before["folder"] != folder:
        print(f"the run was recorded for {before['folder']}, not for {folder}")
        return 1
    changes = differences(before["state"], state(folder))
    if changes:
        print(f"the test run touched the player's own user folder {folder}:")
        print("\n".join(changes))
        return 1
    print(f"{folder} is as it was")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
