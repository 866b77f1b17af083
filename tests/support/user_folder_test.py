#!/usr/bin/env python3
"""The user folder check passes an untouched folder and names each kind of touch.

Each case runs tests/support/user_folder.py as ctest does, in an environment whose HOME (or
XDG_DATA_HOME) is a fresh folder, touches the game's folder there between record and compare,
and reads the verdict.
"""
import os
import subprocess
import sys
import tempfile
import time
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "user_folder.py")


class UserFolderCheck(unittest.TestCase):
    def setUp(self):
        self.temp = tempfile.TemporaryDirectory()
        self.home = os.path.join(self.temp.name, "home")
        self.folder = os.path.join(self.home, ".local", "share", "Pondorix")
        self.state = os.path.join(self.temp.name, "state.json")
        self.environment = {"PATH": os.environ.get("PATH", ""), "HOME": self.home}

    def tearDown(self):
        self.temp.cleanup()

    def run_check(self, mode):
        result = subprocess.run([sys.executable, SCRIPT, mode, self.state], env=self.environment,
                                capture_output=True, text=True)
        return result.returncode, result.stdout

    def write(self, name, text):
        path = os.path.join(self.folder, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "a") as out:
            out.write(text)

    def assert_touched(self, *changes):
        code, output = self.run_check("compare")
        self.assertEqual(code, 1, output)
        self.assertIn(self.folder, output)
        for change in changes:
            self.assertIn(change, output.splitlines())

    def test_an_untouched_folder_passes_whether_or_not_it_exists(self):
        for make in (False, True):
            with self.subTest(exists=make):
                if make:
                    self.write("Pondorix.log", "an earlier game\n")
                self.assertEqual(self.run_check("record")[0], 0)
                code, output = self.run_check("compare")
                self.assertEqual(code, 0, output)

    def test_a_folder_made_by_the_run_fails(self):
        self.run_check("record")
        self.write("Pondorix.log", "")
        self.assert_touched("made: .", "made: Pondorix.log")

    def test_a_file_written_or_emptied_fails(self):
        self.write("Pondorix.log", "an earlier game\n")
        self.write("data/statistics.xml", "<statistics/>")
        self.run_check("record")
        # A later modification time even on a file system with coarse time stamps.
        time.sleep(0.01)
        with open(os.path.join(self.folder, "Pondorix.log"), "w"):
            pass
        self.assert_touched("changed: Pondorix.log")

    def test_a_file_made_or_removed_below_fails(self):
        self.write("data/statistics.xml", "<statistics/>")
        self.run_check("record")
        os.remove(os.path.join(self.folder, "data", "statistics.xml"))
        self.write("data/shapes.xml", "<shapes/>")
        self.assert_touched("removed: data/statistics.xml", "made: data/shapes.xml")

    def test_an_absolute_data_home_names_the_folder_and_a_relative_one_is_ignored(self):
        data_home = os.path.join(self.temp.name, "data")
        self.environment["XDG_DATA_HOME"] = data_home
        self.run_check("record")
        self.write("Pondorix.log", "")
        self.assertEqual(self.run_check("compare")[0], 0, "the folder under HOME is not the game's")
        os.makedirs(os.path.join(data_home, "Pondorix"))
        self.assertEqual(self.run_check("compare")[0], 1)

        self.environment["XDG_DATA_HOME"] = "relative/data"
        self.run_check("record")
        self.write("preferences.xml", "")
        self.assert_touched("made: preferences.xml")

    def test_a_compare_in_another_environment_fails(self):
        self.run_check("record")
        self.environment["HOME"] = os.path.join(self.temp.name, "other")
        code, output = self.run_check("compare")
        self.assertEqual(code, 1)
        self.assertIn("recorded for", output)


if __name__ == "__main__":
    unittest.main()
