"""Making and changing macros from the main window, as a user does it: the
add-macro dialog hands a new hot key to the direct editor, an existing
macro grows a line through the scripting editor's wizard, and an editor
opened by a double click or Modify Directly and closed with Ok and no
change leaves the macro file as it was. Every macro made is then played
with its hot key into the target. Screenshots of the add dialog and the
wizard go to build/wine/shots (docs/ holds cropped copies).

One program start serves the whole suite; the cases run in their order,
each on the macros the file holds by then."""

from __future__ import annotations

import re
import struct
import unittest

import harness
from harness import WineSession
from macrofile import OFF_MODIFIED, RECORD_SIZE, Macro, macro_file_bytes
from test_editor import MIXED_TEXT
from test_main_window import AB_PICKING, ACTIVATION_BLOCK, MAIN_TITLE, SHOTS, MainWindowCase, ctrl_alt

ADD_TITLE = "Add Macro"
DIRECT_TITLE = "Modify Hot Key"
SCRIPT_TITLE = "Macro Scripting Editor"
WIZARD_TITLE = "Scripting Wizard"
KEYS_TITLE = "Enter Keystrokes"
IDC_OPTION_BOX, IDC_SCRIPT = 11120, 11121
# The add dialog's client area is 419 pixels high with the hot-key list,
# 160 with the Snapword field.
SNAPWORD_HEIGHT_BELOW = 300

MACROS = [Macro("Greeting", ctrl_alt("g"), "Hi"),
          # An icon name as the program writes it: an empty one is read as "MAIN".
          Macro("Mixed", ctrl_alt("m"), MIXED_TEXT, icon="MAIN"),
          Macro("Window only", ctrl_alt("w"), "w", scope=2, scope_text="Nowhere")]


def without_stamp(data: bytes, n: int) -> bytes:
    """The file with macro n's last-modified stamp blanked."""
    start = (n - 1) * RECORD_SIZE + OFF_MODIFIED
    return data[:start] + b"\0" * 8 + data[start + 8:]


class Editing(MainWindowCase):
    @classmethod
    def setUpClass(cls):
        harness.require_build("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "testprogs/wintool.exe",
                              "testprogs/keepwarm.exe", "testprogs/macrolistprobe.exe",
                              "testprogs/target.exe", "testprogs/listprobe.exe")
        # The list's double click must reach the window, not the window manager.
        cls.s = WineSession(name="editing", wm_takes_client_clicks=False)
        try:
            cls.prog = cls.s.program_dir()
            cls.qlx = cls.prog / "QUILX.QLX"
            cls.qlx.write_bytes(macro_file_bytes(MACROS))
            cls.title = MAIN_TITLE
            cls.proc, cls.wid = cls.s.start_quilx((), MAIN_TITLE)
        except BaseException:
            cls.s.close()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.s.close()

    def setUp(self):
        # The session is the class's; nothing to start per case.
        pass

    def play(self, keys: str, expected: str) -> None:
        """Presses a hot key in a fresh target and waits for the text."""
        target = self.s.start_target("Quillon Target")
        self.addCleanup(self.s.close_target, target)
        self.s.key(keys)
        target.wait_text(expected)
        self.s.wait_playback_done()

    @staticmethod
    def stamp(data: bytes, n: int) -> float:
        return struct.unpack_from("<d", data, (n - 1) * RECORD_SIZE + OFF_MODIFIED)[0]

    def saved_since(self, stamp: float) -> bytes | None:
        """The file once macro 2 carries a stamp other than `stamp`."""
        data = self.qlx.read_bytes()
        return data if self.stamp(data, 2) != stamp else None

    def open_add_dialog(self) -> int:
        """Add Macro from the main window (Insert); returns once the dialog's
        hot-key field has the focus and takes the keys."""
        self.s.focus(self.wid)
        self.s.key("Insert")
        add = self.dialog(ADD_TITLE)
        self.wait_armed()
        return add

    def leave_hot_key_field(self) -> None:
        """Tabs from the hot-key field, which takes every hot key (Alt and a
        letter included), to the list; the dialog's own keys work again."""
        self.s.key("Tab")
        self.s.wait_until(lambda: self.s.peek(ACTIVATION_BLOCK, AB_PICKING, 1) == b"\x00", 10,
                          what="hot-key picking off")

    def double_click_row(self, row: int) -> None:
        """Double-clicks a row's nickname once the pointer is seen there."""
        x, y = (int(v) for v in self.probe("point", self.title, str(row)).split())
        self.s._x("xdotool", "mousemove", str(x), str(y))
        self.s.wait_until(lambda: self.s._x("xdotool", "getmouselocation").split()[:2] == [f"x:{x}", f"y:{y}"],
                          10, what="the pointer on the row")
        self.s._x("xdotool", "click", "--repeat", "2", "--delay", "80", "1")

    def choose_snapwords(self, add: int) -> None:
        """"S&napwords" in the add dialog: the dialog shrinks to the Snapword
        field, which gets the focus. Keys go on once the window manager has
        seen the new size and the dialog is in front again."""
        self.leave_hot_key_field()
        self.s.key("alt+n")
        self.s.wait_until(lambda: self.height(add) < SNAPWORD_HEIGHT_BELOW, 10, what="the Snapword layout")
        self.s.focus(add)

    def height(self, wid: int) -> int:
        geometry = self.s._x("xdotool", "getwindowgeometry", str(wid))
        return int(re.search(r"Geometry: \d+x(\d+)", geometry).group(1))

    def dialog(self, title: str) -> int:
        wid = self.s.wait_for_window(title, 15)
        self.s.focus(wid)
        return wid

    # --- cases, in order ------------------------------------------------------

    def test_1_a_new_hot_key_macro_typed_in_the_direct_editor_plays(self):
        s = self.s
        count = len(self.records())
        add = self.open_add_dialog()
        # The hot-key field has the focus: the key pressed is picked, not played.
        s.key("ctrl+alt+t")
        s.wait_until(lambda: "Ctrl+Alt+T" in self.edit_texts(ADD_TITLE), 10, what="the picked key in the field")
        SHOTS.mkdir(parents=True, exist_ok=True)
        s.screenshot(SHOTS / "add-macro.png")
        self.leave_hot_key_field()
        s.key("alt+e")  # "&Enter Directly"
        # The add dialog waits behind the editor and closes with it.
        self.dialog(DIRECT_TITLE + "  (GLOBAL)")
        s.type_text("Typed greeting")
        s.key("Tab", "Tab", "Tab")  # nickname, scope, icon, the text box
        s.type_text("Hello")
        s.key("alt+k", "n")  # Keys, Enter
        s.type_text("World")
        s.key("alt+f", "u")  # File, Update
        s.window_gone(DIRECT_TITLE)
        s.window_gone(add)

        after = self.wait_records(lambda r: len(r) == count + 1, "the new macro appended")
        new = after[-1]
        self.assertEqual((new.nickname, new.code, new.scope, new.active),
                         ("Typed greeting", ctrl_alt("t"), 1, True))
        self.assertEqual(new.text[:new.text.index(b"\0")], b"Hello<ENTER>World")
        # The list shows it, selected.
        selected = [r.cells for r in self.rows() if r.selected]
        self.assertEqual([c[1:] for c in selected], [["Ctrl+Alt+T", "Typed greeting", "GLOBAL"]])
        self.assertEqual(self.hotkey_byte(ctrl_alt("t")), 1)
        self.play("ctrl+alt+t", "Hello\r\nWorld")

    def test_2_a_refused_choice_keeps_the_add_dialog_open(self):
        s = self.s
        count = len(self.records())
        add = self.open_add_dialog()
        self.choose_snapwords(add)  # and type no name
        s.key("alt+s")  # "&Scripting Editor"
        self.assertEqual(self.answer("Error", "OK"), "No Snapword name entered.")
        self.assertTrue(s._visible_windows(ADD_TITLE))
        self.refocus(ADD_TITLE)
        s.screenshot(SHOTS / "add-macro-snapword.png")
        s.key("alt+a")  # "&Abort"
        s.window_gone(add)
        self.assertEqual(len(self.records()), count)

    def test_3_a_line_added_through_the_wizard_is_saved_and_plays(self):
        s = self.s
        self.select("Greeting")
        s.key("Return")  # "&Scripting Editor"
        editor = self.dialog(SCRIPT_TITLE)
        s.key("alt+z")
        self.dialog(WIZARD_TITLE)
        s.screenshot(SHOTS / "scripting-wizard.png")
        s.key("alt+e")  # "&Enter Text, Symbols, Keystrokes"
        self.dialog(KEYS_TITLE)
        s.type_text(" there")
        s.key("alt+f", "u")  # File, Update
        s.window_gone(KEYS_TITLE)
        self.assertEqual(self.answer("Added", "No"), "Macro object successfully added.  Continue with wizard?")
        s.window_gone(WIZARD_TITLE)
        s.focus(editor)
        s.key("alt+o")
        s.window_gone(editor)
        after = self.wait_records(lambda r: r[0].text.startswith(b"Hi there\0"), "the longer macro saved")
        self.assertEqual(after[0].nickname, "Greeting")
        self.assertEqual([r.cells[2] for r in self.rows() if r.selected], ["Greeting"])
        self.play("ctrl+alt+g", "Hi there")

    def test_4_ok_without_a_change_leaves_the_file_as_it_was(self):
        s = self.s
        before = self.qlx.read_bytes()
        stamp = self.stamp(before, 2)
        for title in (SCRIPT_TITLE, DIRECT_TITLE):
            with self.subTest(editor=title):
                row = self.select("Mixed")
                if title == SCRIPT_TITLE:
                    self.double_click_row(row)
                else:
                    s.key("alt+m", "d")  # "Modify &Directly"
                editor = self.dialog(title)
                s.key(*(["alt+o"] if title == SCRIPT_TITLE else ["alt+f", "u"]))  # Ok; File, Update
                s.window_gone(editor)
                # The save is seen by its new stamp; every other byte is as it was.
                after = s.wait_until(lambda: self.saved_since(stamp), 10, what="macro 2 saved")
                stamp = self.stamp(after, 2)
                self.assertEqual(without_stamp(after, 2), without_stamp(before, 2))

    def test_5_a_snapword_macro_built_in_the_scripting_editor_from_the_add_dialog(self):
        s = self.s
        count = len(self.records())
        add = self.open_add_dialog()
        self.choose_snapwords(add)
        s.type_text("  sig ")
        s.key("alt+s")  # "&Scripting Editor"
        editor = self.dialog(SCRIPT_TITLE)
        s.type_text("Signature")
        for command, title, keys in (("Repeat Start", "Repeat Options", ["Tab", "2", "Return"]),
                                     ("Text", KEYS_TITLE, ["h", "i", "alt+f", "u"]),
                                     ("Repeat End", "Repeat Options", ["Return"])):
            self.add_command(editor, command)
            self.dialog(title)
            s.key(*keys)
            s.window_gone(title)
        self.assertEqual(self.script_lines(), ["Repeat Start: 2", "   Text: hi", "Repeat End"])
        s.focus(editor)
        s.key("alt+o")
        s.window_gone(editor)
        s.window_gone(add)
        after = self.wait_records(lambda r: len(r) == count + 1, "the Snapword macro appended")
        new = after[-1]
        self.assertEqual((new.nickname, new.code, new.snapword, new.scope, new.active),
                         ("Signature", 20000, "sig", 1, True))
        self.assertEqual(new.text[:new.text.index(b"\0")], b"<REPEAT:0002>hi<ENDREP>")
        self.assertEqual([r.cells[1:] for r in self.rows() if r.selected], [["sig", "Signature", "GLOBAL"]])

    # --- the script editor's lists, read with listprobe.exe --------------------

    def list_items(self, control: int) -> tuple[int, list[str]]:
        r = self.s.run(self.s.testprog("listprobe"), [SCRIPT_TITLE, str(control)])
        self.assertEqual(r.returncode, 0, r.stderr)
        lines = r.stdout.splitlines()
        return int(lines[0].split()[1]), [line.split("\t", 1)[1] for line in lines[1:]]

    def script_lines(self) -> list[str]:
        return self.list_items(IDC_SCRIPT)[1]

    def add_command(self, editor: int, name: str) -> None:
        """Chooses a command in the command list with the keyboard and adds it."""
        s = self.s
        s.focus(editor)
        s.key("alt+m", "Home")
        index = self.list_items(IDC_OPTION_BOX)[1].index(name)
        if index:
            s.key(*["Down"] * index)
        s.wait_until(lambda: self.list_items(IDC_OPTION_BOX)[0] == index, 10, what=f"{name!r} chosen")
        s.key("alt+a")


if __name__ == "__main__":
    harness.main()
