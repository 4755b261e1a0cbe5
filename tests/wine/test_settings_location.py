"""Where QUILX.EXE keeps its settings under Wine: the Windows folder's
QUILX.INI while it can be written, as every copy expects; a user who may not
write it gets "Quillon 98\\QUILX.INI" in their application data, begun as a
copy of the Windows folder's file, and the program reads and writes that
one from then on. An immutable QUILX.INI (chattr +i: the tests run as
root, whom a read-only file does not stop) stands for a Windows folder a
standard user may not write."""

from __future__ import annotations

import subprocess
import unittest
from pathlib import Path

import harness
from harness import WineSession, read_ini, write_ini
from macrofile import Macro, macro_file_bytes

MAIN_TITLE = "Quillon 98 (QUILX)"


class SettingsLocation(unittest.TestCase):
    def setUp(self):
        harness.require_build("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "testprogs/wintool.exe",
                              "testprogs/keepwarm.exe")
        self.s = WineSession(name="settings")
        self.addCleanup(self.s.close)
        prog = self.s.program_dir()
        (prog / "QUILX.QLX").write_bytes(macro_file_bytes([Macro("Greeting", 144, "Hello")]))
        self.windows_ini = self.s.windows_dir() / "QUILX.INI"
        roaming = [p for p in (self.s.prefix / "drive_c" / "users").glob("*/AppData/Roaming")
                   if p.parts[-3] != "Public"]
        self.assertEqual(len(roaming), 1, roaming)
        self.user_ini = roaming[0] / "Quillon 98" / "QUILX.INI"

    def run_once(self) -> None:
        """Starts the program, lets it settle, and ends it as a user does, so
        that it writes its settings."""
        proc, _ = self.s.start_quilx()
        self.s.post_close(MAIN_TITLE)
        self.assertEqual(self.s.wait_exit(proc, 30), 0)

    def make_unwritable(self, path: Path) -> None:
        r = subprocess.run(["chattr", "+i", str(path)], capture_output=True)
        if r.returncode != 0:
            raise unittest.SkipTest(f"chattr +i refused here: {r.stderr.decode(errors='replace')}")
        # Before the session goes, or its folder could not be removed.
        self.addCleanup(subprocess.run, ["chattr", "-i", str(path)], check=True)
        with self.assertRaises(OSError, msg="the file must refuse writes"):
            path.open("ab").close()

    def misc(self, path: Path) -> dict[str, str]:
        return dict(read_ini(path)["Misc"])

    def test_a_writable_windows_folder_keeps_the_settings(self):
        write_ini(self.windows_ini, {"Misc": {"Primary Sort": "213"}})
        self.run_once()
        self.assertEqual(self.misc(self.windows_ini)["Primary Sort"], "213")
        self.assertIn("Main Window", read_ini(self.windows_ini), "the shutdown wrote its settings here")
        self.assertFalse(self.user_ini.exists())

    def test_a_read_only_settings_file_moves_the_settings_to_the_users_folder(self):
        write_ini(self.windows_ini, {"Misc": {"Primary Sort": "213"}})
        self.make_unwritable(self.windows_ini)
        before = self.windows_ini.read_bytes()

        self.run_once()
        self.assertEqual(self.windows_ini.read_bytes(), before, "the Windows folder's file is left alone")
        self.assertEqual(self.misc(self.user_ini)["Primary Sort"], "213", "begun as a copy")
        self.assertIn("Main Window", read_ini(self.user_ini), "the shutdown wrote its settings here")

        # From now on the user's file is the one: a change there is read.
        sections = {name: dict(pairs) for name, pairs in read_ini(self.user_ini).items()}
        sections["Misc"]["Primary Sort"] = "321"
        write_ini(self.user_ini, sections)
        self.run_once()
        self.assertEqual(self.misc(self.user_ini)["Primary Sort"], "321")
        self.assertEqual(self.windows_ini.read_bytes(), before)


if __name__ == "__main__":
    harness.main()
