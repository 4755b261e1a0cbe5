"""The macro editors end to end: the real editor windows and command dialogs
under Wine, opened on a macro of a macro file by editorhost.exe (as the main
window will open them), driven with real key presses, and the macro file
they leave behind.

Screenshots of the script editor, a command dialog and the direct editor
are kept in build/wine/screens for a look by eye."""

import re
import shutil
import struct
import unittest

import harness
from harness import WineSession
from macrofile import (OFF_ACTIVE, OFF_ICON, OFF_NICKNAME, OFF_SCOPE, OFF_SNAPWORD, OFF_TEXT,
                       OFF_TOP_MOST, RECORD_SIZE, Macro, write_macro_file)

SCREENS = harness.WINE_ROOT / "screens"
SCRIPT_TITLE = "Macro Scripting Editor"
DIRECT_TITLE = "Modify Hot Key"
IDC_OPTION_BOX, IDC_SCRIPT = 11120, 11121
SNAPWORD_CODE = 20000

# A macro with every kind of line, text the reader keeps as text (unknown
# and malformed tokens), characters above 127 and a CR LF.
MIXED_TEXT = (
    "Dear Sir,<ENTER>caf\xe9\r\n<CTLD>a<CTLU><REPEAT:0003>x<I><ENDREP><DELAY:1.500><MSD:0250>"
    "<WSIZE:0640,0480\"CURRENT\"><LAUNCHYES:05Notepad<LAUNCH:NOTEPAD.EXE<PARAM>a.txt>"
    "<MM/DD/YY{Y}><hh:mm{N}><PAUSE:010,020Hello><REM:note><COPYFILE:a;b><WBW:003>"
    "<MMW:00010,00020><BEGCLIP>clip<DD{Y}><ENDCLIP><SPEED:00002><HTTP:www.x.com>"
    "<FOO> a<b <enter> <WFW:0a1> <MMS:100,200> <LAUNCHNO:05Title<ENTER> end")


def unescape(s: str) -> str:
    return re.sub(r"\\(.)", lambda m: {"t": "\t", "r": "\r", "n": "\n"}.get(m.group(1), m.group(1)), s)


def record_bytes(path, n: int) -> bytes:
    data = path.read_bytes()
    return data[(n - 1) * RECORD_SIZE:n * RECORD_SIZE]


def record_text(path, n: int) -> str:
    rec = record_bytes(path, n)
    text = rec[OFF_TEXT:OFF_TEXT + 5001]
    return text[:text.index(b"\0")].decode("cp1252")


def pstring(rec: bytes, offset: int) -> str:
    return rec[offset + 1:offset + 1 + rec[offset]].decode("cp1252")


class Editors(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        harness.require_build("testprogs/editorhost.exe", "testprogs/listprobe.exe",
                              "testprogs/wintool.exe", "testprogs/keepwarm.exe")
        SCREENS.mkdir(parents=True, exist_ok=True)
        cls.s = WineSession(name="editor")

    @classmethod
    def tearDownClass(cls):
        cls.s.close()

    # --- helpers ---------------------------------------------------------------

    def open_editor(self, which: str, macros, n: int = 1, new: bool = False, host=None):
        """Writes the macro file, opens the editor on macro n and waits for
        it to be in front. Returns (process, window, file, result file)."""
        s = self.s
        path = s.temp_path("EDIT.QLX")
        write_macro_file(path, macros)
        out = s.temp_path("result.txt")
        args = [which, s.win_path(path), str(n), "--out", s.win_path(out)] + (["--new"] if new else [])
        proc = s.start(host or s.testprog("editorhost"), args)
        self.addCleanup(s.stop, proc)
        wid = s.wait_for_window(SCRIPT_TITLE if which == "script" else DIRECT_TITLE, 30)
        s.focus(wid)
        self.editor = wid
        return proc, wid, path, out

    def result(self, proc, out) -> str:
        self.s.wait_exit(proc, 20)
        return out.read_text().strip()

    def dialog(self, title: str) -> int:
        wid = self.s.wait_for_window(title, 15)
        self.s.focus(wid)
        return wid

    def probe(self, window: str, control: int) -> tuple[int, list[str]]:
        r = self.s.run(self.s.testprog("listprobe"), [window, str(control)])
        self.assertEqual(r.returncode, 0, r.stderr)
        lines = r.stdout.splitlines()
        selected = int(lines[0].split()[1])
        return selected, [unescape(line.split("\t", 1)[1]) for line in lines[1:]]

    def choose_command(self, name: str) -> None:
        """Picks a command in the command list with the keyboard, once the
        editor is in front again (a dialog may just have closed)."""
        s = self.s
        s.focus(self.editor)
        s.key("alt+m", "Home")
        _, items = self.probe(SCRIPT_TITLE, IDC_OPTION_BOX)
        index = items.index(name)
        if index:
            s.key(*["Down"] * index)
        s.wait_until(lambda: self.probe(SCRIPT_TITLE, IDC_OPTION_BOX)[0] == index, 10,
                     what=f"{name!r} chosen in the command list")

    def add_command(self, name: str) -> None:
        self.choose_command(name)
        self.s.key("alt+a")

    def script_lines(self) -> list[str]:
        return self.probe(SCRIPT_TITLE, IDC_SCRIPT)[1]

    def host_with_icon(self, name: str):
        """A copy of editorhost.exe in a program folder whose Icons folder
        holds one icon file."""
        folder = self.s.temp_path("program")
        (folder / "Icons").mkdir(parents=True)
        shutil.copy2(self.s.testprog("editorhost"), folder / "editorhost.exe")
        shutil.copy2(harness.REPO / "res" / "quilx.ico", folder / "Icons" / name)
        return folder / "editorhost.exe"

    def untitled_question(self) -> int | None:
        """The editor host's message box without a caption, if one is open."""
        for w in self.s.find_windows(exe="editorhost.exe", cls="#32770", title=""):
            return w.hwnd
        return None

    def right_click_icon(self, wid: int) -> None:
        """A right click on the icon button, at its place in the client area:
        (client width - 32, 24)."""
        s = self.s
        geometry = s._x("xdotool", "getwindowgeometry", str(wid))
        width = int(re.search(r"Geometry: (\d+)x", geometry).group(1))
        s._x("xdotool", "mousemove", "--window", str(wid), str(width - 32), "24", "click", "3")

    # --- cases -------------------------------------------------------------------

    def test_open_and_ok_unchanged_keeps_the_text_byte_for_byte(self):
        proc, wid, path, out = self.open_editor(
            "script", [Macro("Mixed", 144, MIXED_TEXT), Macro("Other", 145, "x")])
        before = path.read_bytes()
        lines = self.script_lines()
        self.assertEqual(lines[0], "Text: Dear Sir,<ENTER>caf\xe9\r\n")
        self.assertIn("   Text: clip<DD{Y}>", lines)
        self.s.screenshot(SCREENS / "editor-script-mixed.png")
        self.s.key("alt+o")
        self.assertEqual(self.result(proc, out), "accepted")
        self.assertEqual(record_text(path, 1), MIXED_TEXT)
        after = path.read_bytes()
        # Macro 2 and the system macros are untouched.
        self.assertEqual(after[RECORD_SIZE:], before[RECORD_SIZE:])

    def test_build_a_snapword_macro_through_the_dialogs(self):
        proc, wid, path, out = self.open_editor(
            "script", [Macro("", SNAPWORD_CODE, "", snapword="sig")], new=True)
        s = self.s
        s.type_text("Signature")

        self.add_command("Text")
        self.dialog("Enter Keystrokes")
        s.type_text("Hi")
        s.key("alt+f", "u")  # File, Update
        s.window_gone("Enter Keystrokes")

        self.add_command("Repeat Start")
        self.dialog("Repeat Options")
        s.key("Tab")
        s.type_text("2")
        s.screenshot(SCREENS / "editor-repeat-dialog.png")
        s.key("Return")
        s.window_gone("Repeat Options")

        self.add_command("Delay")
        self.dialog("Set Delay")
        s.type_text("1.5")
        s.key("Return")
        s.window_gone("Set Delay")

        self.add_command("Repeat End")
        self.dialog("Repeat Options")
        s.key("Return")
        s.window_gone("Repeat Options")

        self.assertEqual(self.script_lines(),
                         ["Text: Hi", "Repeat Start: 2", "   Delay 1.50 Seconds", "Repeat End"])
        s.focus(wid)
        s.screenshot(SCREENS / "editor-script-built.png")
        s.key("alt+o")
        self.assertEqual(self.result(proc, out), "accepted")
        self.assertEqual(record_text(path, 1), "Hi<REPEAT:0002><DELAY:01.50><ENDREP>")
        rec = record_bytes(path, 1)
        self.assertEqual(pstring(rec, OFF_NICKNAME), "Signature")
        self.assertEqual(pstring(rec, OFF_SNAPWORD), "sig")
        self.assertEqual(struct.unpack_from("<h", rec, OFF_SCOPE)[0], 1)
        self.assertEqual(rec[OFF_ACTIVE], 1)
        self.assertEqual(rec[OFF_TOP_MOST], 1)
        self.assertEqual(pstring(rec, OFF_ICON), "MAIN")

    def test_a_refused_dialog_stays_open_with_its_message(self):
        proc, wid, path, out = self.open_editor("script", [Macro("Counts", 144, "")])
        s = self.s
        self.add_command("Repeat Start")
        repeat = self.dialog("Repeat Options")
        s.key("Tab")
        s.type_text("0")
        s.key("Return")
        error = self.dialog("Error")
        texts = [t for _, t in s.window_texts("Error")]
        self.assertIn("Value must be greater than zero.", texts)
        s.screenshot(SCREENS / "editor-refusal.png")
        s.key("Return")
        s.window_gone(error)
        # Still open, the count selected in its field: typing replaces it.
        self.assertTrue(s._visible_windows("Repeat Options"))
        s.focus(repeat)
        s.type_text("7")
        s.key("Return")
        s.window_gone("Repeat Options")
        self.assertEqual(self.script_lines(), ["Repeat Start: 7"])
        s.focus(wid)
        s.key("alt+o")
        self.assertEqual(self.result(proc, out), "accepted")
        self.assertEqual(record_text(path, 1), "<REPEAT:0007>")

    def test_direct_editor_inserts_keys_at_the_caret(self):
        proc, wid, path, out = self.open_editor("direct", [Macro("Direct", 144, "")])
        s = self.s
        s.key("Tab", "Tab", "Tab")  # nickname, scope, icon, the text box
        s.type_text("Hi there")
        s.key(*["Left"] * 6)
        s.key("alt+k", "n")  # Keys, Enter: at the caret
        s.key("End")
        s.type_text("z")
        s.click_button(DIRECT_TITLE, "Tab")  # the key button, at the caret left in the box
        s.screenshot(SCREENS / "editor-direct.png")
        s.key("alt+f", "u")  # File, Update
        self.assertEqual(self.result(proc, out), "accepted")
        self.assertEqual(record_text(path, 1), "Hi<ENTER> therez<TAB>")

    def test_icon_button_right_click_asks_before_the_program_icon(self):
        host = self.host_with_icon("SMILE.ICO")
        for answer, icon in (("n", "SMILE.ICO"), ("y", "MAIN")):
            proc, wid, path, out = self.open_editor(
                "script", [Macro("Iconic", 144, "x", icon="SMILE.ICO")], host=host)
            self.right_click_icon(wid)
            self.s.wait_until(lambda: self.untitled_question(), 15, what="the reset question")
            self.assertIn(("Static", "Reset icon to program default?"),
                          self.s.window_texts(self.untitled_question()))
            self.s.key(answer)
            self.s.wait_until(lambda: not self.untitled_question(), 15, what="the question answered")
            self.s.focus(wid)
            self.s.key("alt+o")
            self.assertEqual(self.result(proc, out), "accepted")
            self.assertEqual(pstring(record_bytes(path, 1), OFF_ICON), icon, answer)

    def test_a_missing_icon_file_becomes_the_program_icon(self):
        proc, wid, path, out = self.open_editor("script", [Macro("Lost", 144, "x", icon="GONE.ICO")])
        self.s.key("alt+o")
        self.assertEqual(self.result(proc, out), "accepted")
        self.assertEqual(pstring(record_bytes(path, 1), OFF_ICON), "MAIN")

    def test_escape_leaves_the_macro_unchanged(self):
        proc, wid, path, out = self.open_editor("direct", [Macro("Keep", 144, "kept")])
        before = path.read_bytes()
        s = self.s
        s.key("Tab", "Tab", "Tab")
        s.type_text("more")
        s.key("Escape")
        self.assertEqual(self.result(proc, out), "cancelled")
        self.assertEqual(path.read_bytes(), before)


if __name__ == "__main__":
    harness.main()
