"""Help as a user opens it: Help > Contents of the main window, the Help
buttons of the main window's dialogs and of an editor, each handing the
shell the page of its dialog from the Help folder beside the program. In
the session's prefix, .htm files open with openlog.exe, which writes down
the document it was given, in place of a browser."""

from __future__ import annotations

import shutil
import subprocess
import unittest
from pathlib import Path

import harness
from harness import WineSession
from macrofile import Macro, macro_file_bytes

MAIN_TITLE = "Quillon 98 (QUILX)"
DIRECT_TITLE = "Modify Hot Key"
SCRIPT_TITLE = "Macro Scripting Editor"
WIZARD_TITLE = "Scripting Wizard"


class Help(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        harness.require_build("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "dist/Help/contents.htm",
                              "testprogs/openlog.exe", "testprogs/editorhost.exe",
                              "testprogs/capturedialogs.exe",
                              "testprogs/wintool.exe", "testprogs/keepwarm.exe")
        cls.s = WineSession(name="help")
        try:
            cls.log = cls.s.temp_path("opened.txt")
            cls._open_htm_with_openlog()
            cls.prog = cls.s.program_dir()
            shutil.copytree(harness.win_build() / "dist" / "Help", cls.prog / "Help")
            (cls.prog / "QUILX.QLX").write_bytes(macro_file_bytes([Macro("Greeting", 144, "Hello")]))
            cls.proc, cls.wid = cls.s.start_quilx()
        except BaseException:
            cls.s.close()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.s.close()

    @classmethod
    def _open_htm_with_openlog(cls) -> None:
        s = cls.s
        command = f'"{s.win_path(s.testprog("openlog"))}" "{s.win_path(cls.log)}" "%1"'
        for args in (["HKLM\\Software\\Classes\\.htm", "/ve", "/d", "QlxTestPage"],
                     ["HKLM\\Software\\Classes\\QlxTestPage\\shell\\open\\command", "/ve", "/d", command]):
            r = subprocess.run(["wine", "reg", "add", *args, "/f"], env=s.env, capture_output=True,
                               timeout=60)
            if r.returncode != 0:
                raise AssertionError(f"reg add {args[0]}: {r.stderr.decode(errors='replace')}")

    # --- helpers ---------------------------------------------------------------

    def opened(self) -> list[str]:
        try:
            return [line for line in self.log.read_text(encoding="cp1252").splitlines() if line]
        except OSError:
            return []

    def expect_opened(self, folder: Path, page: str) -> None:
        """Waits until a document beyond the first `self._seen` was opened; it
        must be `page` of the Help folder in `folder`, and the page must be
        there."""
        before = self._seen
        got = self.s.wait_until(lambda: self.opened()[before:] or None, 15,
                                what=f"{page} opened")
        self._seen = before + len(got)
        self.assertEqual(len(got), 1, got)
        expected = self.s.win_path(folder / "Help" / page)
        self.assertEqual(got[0].lower(), expected.lower())
        self.assertTrue((folder / "Help" / page).is_file())

    def main_window_dialog(self, menu_keys, title: str) -> int:
        self.s.focus(self.wid)
        self.s.key(*menu_keys)
        wid = self.s.wait_for_window(title)
        self.s.focus(wid)
        return wid

    def program_with_help(self, program: str) -> Path:
        """A folder with a copy of a test program and the Help folder."""
        folder = self.s.temp_path(program)
        folder.mkdir()
        shutil.copy2(self.s.testprog(program), folder / f"{program}.exe")
        shutil.copytree(harness.win_build() / "dist" / "Help", folder / "Help")
        return folder

    def close_dialog(self, title: str, wid: int) -> None:
        self.s.click_button(title, "Cancel")
        self.s.window_gone(wid)

    # --- cases -----------------------------------------------------------------

    def test_help_contents_opens_the_contents_page(self):
        self._seen = len(self.opened())
        self.s.focus(self.wid)
        self.s.key("alt+h", "c")
        self.expect_opened(self.prog, "contents.htm")

    def test_help_buttons_of_the_main_window_dialogs_open_their_pages(self):
        self._seen = len(self.opened())
        # Pressed by their underlined letter: the buttons are enabled.
        for keys, title, page in ((("alt+o", "o"), "Sort Order", "sort-order.htm"),
                                  (("alt+o", "a"), "Appearance", "appearance.htm")):
            with self.subTest(title=title):
                wid = self.main_window_dialog(keys, title)
                self.s.key("alt+h")
                self.expect_opened(self.prog, page)
                self.close_dialog(title, wid)
        # The first field takes every key as a hot key: clicked instead.
        wid = self.main_window_dialog(("alt+o", "h"), "System Hot Keys")
        self.s.click_button("System Hot Keys", "Help")
        self.expect_opened(self.prog, "system-hot-keys.htm")
        self.close_dialog("System Hot Keys", wid)

    def test_the_scripting_editor_and_its_wizard_open_their_pages(self):
        self._seen = len(self.opened())
        self.s.focus(self.wid)
        self.s.key("Home", "Return")  # the first macro in the scripting editor
        editor = self.s.wait_for_window(SCRIPT_TITLE)
        self.s.focus(editor)
        self.s.key("alt+z")
        wizard = self.s.wait_for_window(WIZARD_TITLE)
        self.s.click_button(WIZARD_TITLE, "Help")
        self.expect_opened(self.prog, "command-wizard.htm")
        self.s.click_button(WIZARD_TITLE, "Exit")
        self.s.window_gone(wizard)
        self.s.click_button(SCRIPT_TITLE, "Help")
        self.expect_opened(self.prog, "scripting-editor.htm")
        self.close_dialog(SCRIPT_TITLE, editor)

    def test_f1_in_a_dialog_opens_its_page(self):
        self._seen = len(self.opened())
        wid = self.main_window_dialog(("alt+o", "o"), "Sort Order")
        self.s.key("F1")
        self.expect_opened(self.prog, "sort-order.htm")
        self.close_dialog("Sort Order", wid)

    def test_an_editor_opens_the_page_of_its_own_keyword(self):
        folder = self.program_with_help("editorhost")
        proc = self.open_direct_editor(folder)
        self._seen = len(self.opened())
        self.s.click_button(DIRECT_TITLE, "Help")
        self.expect_opened(folder, "direct-editor.htm")
        self.s.stop(proc)

    def test_a_capture_dialog_opens_its_page(self):
        folder = self.program_with_help("capturedialogs")
        proc = self.s.start(folder / "capturedialogs.exe", ["snapwords"])
        self.addCleanup(self.s.stop, proc)
        self.s.wait_for_window("Snapword Options", 30)
        self._seen = len(self.opened())
        self.s.click_button("Snapword Options", "Help")
        self.expect_opened(folder, "snapwords.htm")

    def test_a_missing_page_is_reported_and_nothing_is_opened(self):
        folder = self.s.temp_path("nohelp")
        folder.mkdir()
        shutil.copy2(self.s.testprog("editorhost"), folder / "editorhost.exe")
        proc = self.open_direct_editor(folder)
        before = len(self.opened())
        self.s.click_button(DIRECT_TITLE, "Help")
        box = self.s.wait_until(
            lambda: [w for w in self.s.find_windows(exe="editorhost.exe", cls="#32770")
                     if w.title == "Error"], 15, what="the error box")[0].hwnd
        texts = [t for c, t in self.s.window_texts(box) if c == "Static" and t]
        page = self.s.win_path(folder / "Help" / "direct-editor.htm")
        self.assertEqual([t.lower() for t in texts], [f"the help page {page.lower()} could not be opened."])
        self.assertEqual(len(self.opened()), before)
        self.s.stop(proc)

    def open_direct_editor(self, folder: Path):
        path = folder / "EDIT.QLX"
        path.write_bytes(macro_file_bytes([Macro("Greeting", 144, "Hello")]))
        proc = self.s.start(folder / "editorhost.exe", ["direct", self.s.win_path(path), "1"])
        self.addCleanup(self.s.stop, proc)
        self.s.wait_for_window(DIRECT_TITLE, 30)
        return proc


if __name__ == "__main__":
    harness.main()
