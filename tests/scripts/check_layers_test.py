#!/usr/bin/env python3
"""The layering check passes the real tree and fails on each planted include that breaks a rule.

Usage: check_layers_test.py <source root>
Each case copies two real player folders into a fresh folder, plants one file with one include
(and any empty files the case names besides) and runs scripts/check-layers.py over the copy. An
include is written as given when it starts with a quote or an angle bracket, else in quotes.
"""
import os
import shutil
import subprocess
import sys
import tempfile

# (planted file, the header it includes, whether the check must pass[, other files planted empty])
CASES = [
    ("swfplayer/main/script/planted.cpp", "swfplayer/main/swfplayer_as_classes/as_array.h", False),
    ("swfplayer/main/common/planted.cpp", "swfplayer/main/display/character.h", False),
    ("swfplayer/main/geometry/planted.cpp", "swfplayer/main/script/as_value.h", False),
    ("swfplayer/main/render/planted.h", "swfplayer/main/loading/movie_loader.h", False),
    ("swfplayer/base/planted.h", "swfplayer/main/common/rect.h", False),
    ("swfplayer/base/planted.h", "app/Log.h", False),
    ("swfplayer/base/planted.cpp", "platform/ModuleLibrary.h", True),
    ("swfplayer/main/display/planted.cpp", "swfplayer/main/script/as_value.h", True),
    ("swfplayer/main/as3/planted.cpp", "swfplayer/main/swfplayer_as_classes/as_array.h", True),
    ("swfplayer/main/swfplayer_as_classes/planted.cpp", "swfplayer/main/as3/abc.h", False),
    ("app/planted.cpp", "swfplayer/main/common/rect.h", False),
    ("platform/planted.cpp", "app/Log.h", False),
    ("serializeme/planted.cpp", "app/ColorData.h", False),
    ("serializeme/planted.cpp", "platform/ModuleLibrary.h", True),
    ("swfplayer/base/planted.cpp", "serializeme/Serializable.h", True),
    ("flash/planted.cpp", "app/PerformanceCounter.h", False),
    ("app/planted.cpp", "flash/FlashMovie.h", True),
    ("app/planted.cpp", "game/Level.h", False),
    ("app/planted.cpp", "gui/GUIDirector.h", False),
    ("game/planted.cpp", "app/Application.h", True),
    ("game/planted.cpp", "gui/GUIDirector.h", False),
    ("gui/planted.cpp", "game/Level.h", True),
    ("gui/planted.cpp", "swfplayer/main/script/player.h", False),
    ("gui/planted.cpp", "program/main.cpp", False),
    ("tools/levels/planted.cpp", "gui/GUIDirector.h", True),
    ("program/planted.cpp", "gui/GUIDirector.h", True),
    ("game/planted.cpp", "tests/support/TempDir.h", False),
    ("app/planted.cpp", "tools/swfkit/Movie.h", False),
    ("tools/swfkit/planted.cpp", "swfplayer/main/common/swf_tag.h", True),
    ("tools/swfkit/planted.cpp", "swfplayer/main/loading/tag_loaders.h", False),
    ("flash/planted.cpp", "swfplayer/main/loading/movie_loader.h", True),
    ("tests/swfplayer/planted.cpp", "swfplayer/main/script/player.h", True),
    # The player's sound folder sits beside its script and geometry, below the display.
    ("swfplayer/main/sound/adpcm.cpp", "gui/GUIDirector.h", False),
    ("swfplayer/base/log.cpp", "swfplayer/main/sound/sound_handler.h", False),
    ("swfplayer/main/sound/planted.cpp", "swfplayer/main/display/character.h", False),
    ("swfplayer/main/sound/planted.cpp", "swfplayer/main/script/as_value.h", False),
    ("swfplayer/main/sound/adpcm.cpp", "swfplayer/main/common/stream.h", True),
    ("swfplayer/main/display/planted.cpp", "swfplayer/main/sound/sound_handler.h", True),
    ("swfplayer/main/loading/planted.cpp", "swfplayer/main/sound/adpcm.h", True),
    # A folder with no place in the layering fails, whatever its files include.
    ("newfolder/planted.cpp", "<vector>", False),
    ("planted.cpp", "<vector>", False),
    ("swfplayer/main/newlayer/planted.cpp", "<vector>", False),
    ("swfplayer/main/planted.h", "<vector>", False),
    ("swfplayer/planted.cpp", "<vector>", False),
    ("swfplayer/base/planted.cpp", "swfplayer/main/newlayer/thing.h", False),
    # Includes written relative to the file name the project path they lead to.
    ("game/planted.cpp", '"../gui/GUIDirector.h"', False),
    ("swfplayer/base/planted.cpp", '"../../app/Application.h"', False),
    ("swfplayer/main/sound/planted.cpp", '"../display/character.h"', False),
    ("swfplayer/main/script/planted.cpp", '"./../swfplayer_as_classes/as_array.h"', False),
    ("gui/planted.cpp", '"../game/Level.h"', True),
    ("swfplayer/main/display/planted.cpp", '"../sound/sound_handler.h"', True),
    ("swfplayer/main/swfplayer_as_classes/planted.cpp", '"as_array.h"', True),
    ("app/planted.cpp", '"app/../gui/GUIDirector.h"', False),
    # Angle brackets around a project path are checked like quotes; other names are left alone.
    ("game/planted.cpp", "<gui/GUIDirector.h>", False),
    ("gui/planted.cpp", "<swfplayer/main/script/player.h>", False),
    ("app/planted.cpp", "<tests/support/TempDir.h>", False),
    ("game/planted.cpp", "<app/Application.h>", True),
    ("game/planted.cpp", "<box2d/b2_world.h>", True),
    ("tests/gui/planted.cpp", "<gui/GUIDirector.h>", True),
    # Every C and C++ suffix is read.
    ("app/planted.hpp", "gui/GUIDirector.h", False),
    ("platform/planted.c", "app/Log.h", False),
    ("app/planted.tcc", "gui/GUIDirector.h", False),
    ("app/planted.cppm", "gui/GUIDirector.h", False),
    ("app/planted.ixx", "gui/GUIDirector.h", False),
    # Only the build folders are skipped: those the scripts make and those CMake configured.
    ("builder/planted.cpp", "<vector>", False),
    ("build-tools/planted.cpp", "<vector>", False),
    ("build/planted.cpp", "<vector>", True),
    ("build-asan/planted.cpp", "<vector>", True),
    ("build-game/planted.cpp", "<vector>", True),
    ("out/planted.cpp", "<vector>", True, ["out/CMakeCache.txt"]),
    ("builder/planted.cpp", "<vector>", False, ["builder/CMakeLists.txt"]),
]


def run_check(script, root):
    result = subprocess.run([sys.executable, script, root], capture_output=True, text=True)
    return result.returncode, result.stdout


def main():
    source_root = os.path.abspath(sys.argv[1])
    script = os.path.join(source_root, "scripts", "check-layers.py")
    failures = []
    code, output = run_check(script, source_root)
    if code != 0:
        failures.append("the real tree fails:\n" + output)
    for planted, header, should_pass, *others in CASES:
        with tempfile.TemporaryDirectory() as root:
            for folder in ("swfplayer/main/script", "swfplayer/main/swfplayer_as_classes"):
                shutil.copytree(os.path.join(source_root, folder), os.path.join(root, folder))
            for other in (others[0] if others else []):
                os.makedirs(os.path.dirname(os.path.join(root, other)), exist_ok=True)
                open(os.path.join(root, other), "w", encoding="utf-8").close()
            path = os.path.join(root, planted)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "a", encoding="utf-8") as out:
                out.write("#include %s\n" % (header if header.startswith(('"', "<")) else '"%s"' % header))
            code, output = run_check(script, root)
            if (code == 0) != should_pass or (not should_pass and planted not in output):
                failures.append("%s including %s: exit %d, expected %s\n%s" %
                                (planted, header, code, "a pass" if should_pass else "a failure", output))
    for failure in failures:
        print(failure)
    print("%d of %d cases as expected" % (len(CASES) + 1 - len(failures), len(CASES) + 1))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
