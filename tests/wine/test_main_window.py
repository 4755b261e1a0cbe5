"""The main window as a user drives it: the sorted macro list, Quick Info,
the sort order and appearance dialogs, copy, rename, remove, activate and
the System Hot Keys, with keys pressed and clicks made on the real window
and QUILX.QLX read back afterwards. Every case gets a session of its own.

Left clicks stay out: the harness's window manager keeps plain left clicks
for itself. The list is read from outside with macrolistprobe.exe."""

from __future__ import annotations

import struct
import unittest
from dataclasses import dataclass
from pathlib import Path

import harness
from harness import REPO, WineSession, read_ini, write_ini
from macrofile import (RECORD_SIZE, SCOPE_GLOBAL, SCOPE_POPUP, SCOPE_PROGRAM, SCOPE_SYSTEM,
                       SCOPE_WINDOW, Macro, macro_file_bytes)

MAIN_TITLE = "Quillon 98 (QUILX)"
ACTIVATION_BLOCK, AB_HOTKEY_TABLE, AB_KEYBOARD_HOOK, AB_PICKING = "QLBA1KGR", 17, 748, 756
SHOTS = REPO / "build" / "wine" / "shots"

CTRL_ALT = 144  # Ctrl+Alt+A; the block runs A..Z


def ctrl_alt(letter: str) -> int:
    return CTRL_ALT + ord(letter) - ord("a")


def ctrl_alt_shift(letter: str) -> int:
    return 240 + ord(letter) - ord("a")


def popup_menu(nickname: str, code: int, entries: list[int]) -> Macro:
    """A popup-menu macro listing `entries` (macro numbers)."""
    return Macro(nickname, code, scope=SCOPE_POPUP, snapword="N11")


def with_menu(data: bytearray, index: int, entries: list[int]) -> None:
    """Writes a popup menu into record `index` (0-based) of file bytes."""
    base = index * RECORD_SIZE + 100
    struct.pack_into("<H", data, base, len(entries))
    for i, e in enumerate(entries):
        struct.pack_into("<H", data, base + 2 + 2 * i, e)


@dataclass
class Record:
    nickname: str
    scope_text: str
    snapword: str
    code: int
    scope: int
    active: bool
    text: bytes

    def menu(self) -> list[int]:
        count = struct.unpack_from("<H", self.text, 0)[0]
        return [struct.unpack_from("<H", self.text, 2 + 2 * i)[0] for i in range(count)]


def read_records(path: Path) -> list[Record]:
    data = path.read_bytes()
    out = []
    for n in range(len(data) // RECORD_SIZE):
        r = data[n * RECORD_SIZE:(n + 1) * RECORD_SIZE]

        def pstr(off, cap):
            return r[off + 1:off + 1 + min(r[off], cap)].decode("cp1252")
        code, scope = struct.unpack_from("<Hh", r, 93)
        out.append(Record(pstr(0, 50), pstr(51, 30), pstr(82, 10), code, scope, r[97] == 1,
                          r[100:5101]))
    return out


@dataclass
class Row:
    selected: bool
    cells: list[str]


class MainWindowCase(unittest.TestCase):
    def setUp(self):
        harness.require_build("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "testprogs/wintool.exe",
                              "testprogs/keepwarm.exe", "testprogs/macrolistprobe.exe",
                              "testprogs/target.exe")
        self.s = WineSession(name="mainwin")
        self.addCleanup(self.s.close)
        self.prog = self.s.program_dir()
        self.qlx = self.prog / "QUILX.QLX"
        self.ini = self.s.windows_dir() / "QUILX.INI"

    # --- starting ------------------------------------------------------------

    def start(self, macros: list[Macro], menus: dict[int, list[int]] | None = None,
              settings: dict | None = None, args=(), title=MAIN_TITLE):
        data = bytearray(macro_file_bytes(macros))
        for index, entries in (menus or {}).items():
            with_menu(data, index, entries)
        self.qlx.write_bytes(bytes(data))
        if settings:
            write_ini(self.ini, settings)
        self.proc, self.wid = self.s.start_quilx(args, title)
        self.title = title
        return self.proc, self.wid

    # --- the list --------------------------------------------------------------

    def probe(self, *args) -> str:
        r = self.s.run(self.s.testprog("macrolistprobe"), args)
        self.assertEqual(r.returncode, 0, f"macrolistprobe {args}: {r.stderr}")
        return r.stdout

    def rows(self) -> list[Row]:
        lines = self.probe("rows", self.title).splitlines()
        out = []
        for line in lines[2:]:
            parts = line.split("\t")
            out.append(Row(parts[1] == "1", parts[2:6]))
        return out

    def widths(self) -> list[int]:
        return [int(w) for w in self.probe("rows", self.title).splitlines()[0].split()[1:]]

    def nicknames(self) -> list[str]:
        return [r.cells[2] for r in self.rows()]

    def select(self, nickname: str) -> int:
        """Selects the row of a macro with the keyboard; returns the row."""
        row = self.nicknames().index(nickname)
        self.s.focus(self.wid)
        self.s.key("Home", *(["Down"] * row))
        self.s.wait_until(lambda: self.rows()[row].selected, 10, what=f"row {row} selected")
        return row

    # --- message boxes and dialogs ------------------------------------------

    def box(self, caption: str) -> int:
        rows = self.s.wait_until(
            lambda: [w for w in self.s.find_windows(exe="QUILX.EXE", cls="#32770")
                     if w.title == caption], 10, what=f"box {caption!r}")
        return rows[0].hwnd

    def box_text(self, hwnd: int) -> str:
        return "\n".join(t for c, t in self.s.window_texts(hwnd) if c == "Static" and t)

    def answer(self, caption: str, button: str) -> str:
        """Answers the box with this caption; returns its text."""
        hwnd = self.box(caption)
        text = self.box_text(hwnd)
        self.s.click_button(hwnd, button)
        self.s.window_gone(hwnd)
        return text

    def refocus(self, title: str) -> None:
        """Waits until a dialog is back in front after its message box:
        keys typed before that would be lost."""
        self.s.focus(self.s.wait_for_window(title))

    def edit_texts(self, window) -> list[str]:
        return [t for c, t in self.s.window_texts(window) if c == "Edit"]

    def records(self) -> list[Record]:
        return read_records(self.qlx)

    def wait_records(self, predicate, what: str) -> list[Record]:
        def check():
            try:
                recs = self.records()
            except OSError:
                return None
            return recs if predicate(recs) else None
        return self.s.wait_until(check, 10, what=what)

    def wait_armed(self) -> None:
        """Waits until a hot-key field has the focus and takes the keys."""
        self.s.wait_until(lambda: self.s.peek(ACTIVATION_BLOCK, AB_PICKING, 1) == b"\x01", 10,
                          what="hot-key picking armed")

    def block_u32(self, offset: int) -> int:
        data = self.s.peek(ACTIVATION_BLOCK, offset, 4)
        return struct.unpack("<I", data)[0] if data else 0

    def hotkey_byte(self, code: int) -> int:
        return self.s.peek(ACTIVATION_BLOCK, AB_HOTKEY_TABLE + code, 1)[0]


class ListAndLayouts(MainWindowCase):
    MACROS = [
        Macro("Letter heading", ctrl_alt("b"), "Dear Sir,"),
        Macro("Signature", 20000, "Regards", snapword="sig"),
        Macro("Nightly backup", 10000, "x"),
        Macro("Notes date", ctrl_alt("a"), "d", scope=SCOPE_WINDOW,
              scope_text="Untitled - Notepad", top_most=True),
        Macro("Calculator paste", ctrl_alt("c"), "c", scope=SCOPE_PROGRAM,
              scope_text="calc.exe", active=False),
        Macro("A long nickname that will not fit its column", ctrl_alt("d"), "long"),
    ]

    def test_rows_in_sort_order_with_their_texts_in_both_layouts(self):
        for speed in ("No", "Yes"):
            with self.subTest(speed=speed):
                if speed == "Yes":
                    self.s.post_close(MAIN_TITLE)
                    self.s.wait_exit(self.proc, 30)
                self.start(self.MACROS, settings={"Main Window": {
                    "Use Speed": speed, "Left": "40", "Top": "30", "Col 1 Width": "120"}})
                rows = self.rows()
                self.assertEqual([r.cells for r in rows], [
                    ["1", "Ctrl+Alt+A", "Notes date", "Window: Untitled - Notepad"],
                    ["2", "Ctrl+Alt+B", "Letter heading", "GLOBAL"],
                    ["3", "Ctrl+Alt+C", "Calculator paste", "Program: calc.exe"],
                    ["4", "Ctrl+Alt+D", "A long nickname that will not fit its column", "GLOBAL"],
                    ["5", "Ctrl+Alt+Shift+W", "Activate Quillon", "SYSTEM"],
                    ["6", "Ctrl+Alt+Shift+X", "Start / Stop Capture", "SYSTEM"],
                    ["7", "Ctrl+Alt+Shift+Y", "Resume Pause", "SYSTEM"],
                    ["8", "Ctrl+Alt+Shift+Z", "Menu of Macros for Top Most Window", "SYSTEM"],
                    ["9", "sig", "Signature", "GLOBAL"],
                    ["10", "Timed Macro", "Nightly backup", "GLOBAL"],
                ])
                self.assertEqual([r.selected for r in rows], [True] + [False] * 9)
                self.assertEqual(self.widths()[1:], [120, 168, 132])
                layout = dict(line.split(" ", 1) for line in
                              self.probe("layout", MAIN_TITLE).splitlines())
                self.assertEqual(layout["bar"], "1" if speed == "Yes" else "0")
                self.assertEqual(layout["panel"], "0" if speed == "Yes" else "1")
                self.assertEqual(layout["list"].split()[1], "35" if speed == "Yes" else "4")
                # Row 3 is inactive: grey italics in the picture.
                self.select("Calculator paste")
                self.select("Letter heading")
                SHOTS.mkdir(parents=True, exist_ok=True)
                name = "main-window-speed.png" if speed == "Yes" else "main-window-lettered.png"
                self.s.screenshot(SHOTS / name)


class ColumnWidths(MainWindowCase):
    def setUp(self):
        # A session whose window manager leaves left clicks to the windows.
        harness.require_build("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "testprogs/wintool.exe",
                              "testprogs/keepwarm.exe", "testprogs/macrolistprobe.exe")
        self.s = WineSession(name="mainwin", wm_takes_client_clicks=False)
        self.addCleanup(self.s.close)
        self.prog = self.s.program_dir()
        self.qlx = self.prog / "QUILX.QLX"
        self.ini = self.s.windows_dir() / "QUILX.INI"

    def test_a_dragged_column_border_is_kept_in_the_settings(self):
        self.start([Macro("A", ctrl_alt("a"), "a")])
        self.s.focus(self.wid)
        x, y = (int(v) for v in self.probe("divider", MAIN_TITLE, "1").split())
        self.s._x("xdotool", "mousemove", str(x), str(y), "mousedown", "1")
        for step in range(1, 5):
            self.s._x("xdotool", "mousemove", str(x + 10 * step), str(y))
        self.s._x("xdotool", "mouseup", "1")
        self.s.wait_until(lambda: self.widths()[1] == 112 + 40, 10, what="the dragged width")
        self.s.post_close(MAIN_TITLE)
        self.s.wait_exit(self.proc, 30)
        window = dict(read_ini(self.ini)["Main Window"])
        self.assertEqual([window[k] for k in ("Col 1 Width", "Col 2 Width", "Col 3 Width")], ["152", "168", "132"])


class Remove(MainWindowCase):
    def test_removing_a_macro_that_menus_list_renumbers_them_after_both_questions(self):
        # Macro 3 ("doomed") is listed by menu 1 (5, 3, 7); menu 2 lists 9.
        macros = [popup_menu("Menu one", ctrl_alt("m"), []), popup_menu("Menu two", ctrl_alt("n"), []),
                  Macro("doomed", ctrl_alt("a"), "x")]
        macros += [Macro(f"macro {n}", ctrl_alt(chr(ord("b") + n)), "t") for n in range(4, 10)]
        self.start(macros, menus={0: [5, 3, 7], 1: [9]})
        before = self.records()
        self.select("doomed")
        self.s.key("Delete")
        self.assertEqual(self.answer("Delete", "Yes"), 'Are you sure you want to remove "Ctrl+Alt+A"?')
        self.assertEqual(self.answer("Delete", "Yes"),
                         'This macro is contained in a "Popup Menu".  It will be removed from the '
                         '"Popup Menu".  Are you sure you want to remove "Ctrl+Alt+A"?')
        after = self.wait_records(lambda r: len(r) == len(before) - 1, "the macro gone from the file")
        self.assertEqual(after[0].menu(), [4, 6])
        self.assertEqual(after[1].menu(), [8])
        self.assertEqual([r.nickname for r in after[2:8]], [f"macro {n}" for n in range(4, 10)])
        self.assertNotIn("doomed", self.nicknames())
        self.assertEqual(len(self.rows()), len(after))
        self.assertFalse((self.prog / "QUILX.QLX.~qx").exists())

    def test_answering_no_leaves_the_file_alone(self):
        self.start([popup_menu("Menu", ctrl_alt("m"), []), Macro("kept", ctrl_alt("a"), "x")],
                   menus={0: [2]})
        before = self.qlx.read_bytes()
        self.select("kept")
        self.s.key("alt+r")  # the underlined letter of "&Remove Macro"
        self.answer("Delete", "Yes")
        self.answer("Delete", "No")
        self.select("kept")  # the window answers again
        self.assertEqual(self.qlx.read_bytes(), before)


class CopyAndRename(MainWindowCase):
    def dialog(self, title: str) -> int:
        return self.s.wait_for_window(title)

    def test_copying_a_hot_key_macro_to_a_snapword(self):
        self.start([Macro("Greeting", ctrl_alt("g"), "Hello<ENTER>")])
        source = self.records()[0]
        self.select("Greeting")
        self.s.key("alt+m", "y")  # Macro menu, "Cop&y Macro"
        self.dialog("Copy Hot Key")
        self.assertIn(("Static", "COPY Ctrl+Alt+G TO"), self.s.window_texts("Copy Hot Key"))
        # Away from the hot-key field (which takes every hot key) to the choice.
        self.s.key("Tab", "alt+s")
        self.s.type_text("  ab  ")
        self.s.key("Return")
        after = self.wait_records(lambda r: len(r) == 6, "the copy appended")
        self.assertEqual(after[0], source)
        copy = after[5]
        self.assertEqual((copy.code, copy.snapword, copy.nickname, copy.scope),
                         (20000, "ab", "Greeting", SCOPE_GLOBAL))
        self.assertEqual(copy.text, source.text)
        # The copy is listed and selected.
        selected = [r.cells for r in self.rows() if r.selected]
        self.assertEqual(selected, [[selected[0][0], "ab", "Greeting", "GLOBAL"]])

    def move_to(self, nickname: str, keys: str, name: str) -> None:
        """Renames a macro onto the hot key pressed in the Move Hot Key dialog."""
        self.select(nickname)
        self.s.key("F2")
        self.dialog("Move Hot Key")
        # The field has the focus: the key pressed is picked, not played.
        self.wait_armed()
        self.s.key(keys)
        self.s.wait_until(lambda: name in self.edit_texts("Move Hot Key"), 10,
                          what="the picked key in the field")
        self.s.key("Return")

    def test_rename_onto_a_global_key_is_refused_for_a_global_macro_and_allowed_for_a_window_macro(self):
        self.start([Macro("Global A", ctrl_alt("a"), "a"), Macro("Global B", ctrl_alt("b"), "b"),
                    Macro("Window W", ctrl_alt("w"), "w", scope=SCOPE_WINDOW, scope_text="Pad")])
        before = self.qlx.read_bytes()

        self.move_to("Global B", "ctrl+alt+a", "Ctrl+Alt+A")
        self.assertEqual(self.answer("Error", "OK"),
                         'A "GLOBAL" or "POPUP MENU" hot key already exists for this selection. '
                         'The "MOVE" did not take place.')
        self.s.post_close("Move Hot Key")
        self.s.window_gone("Move Hot Key")
        self.assertEqual(self.qlx.read_bytes(), before)

        self.move_to("Window W", "ctrl+alt+a", "Ctrl+Alt+A")
        after = self.wait_records(lambda r: r[2].code == ctrl_alt("a"), "the window macro moved")
        self.assertEqual([r.code for r in after[:2]], [ctrl_alt("a"), ctrl_alt("b")])
        self.s.window_gone("Move Hot Key")


class Activate(MainWindowCase):
    def test_a_deactivated_macro_no_longer_plays_on_its_hot_key(self):
        self.start([Macro("Hello", ctrl_alt("h"), "hello"), Macro("Done", ctrl_alt("u"), "done")])
        target = self.s.start_target("Quillon Target")
        self.s.key("ctrl+alt+h")
        target.wait_text("hello")

        self.select("Hello")
        self.s.key("alt+m", "v")  # "Deacti&vate Macro"
        self.wait_records(lambda r: not r[0].active, "the macro inactive in the file")
        self.assertEqual(self.hotkey_byte(ctrl_alt("h")), 0)
        # Its key now passes like any other; the next macro's text is all
        # that arrives.
        target.focus()
        self.s.key("ctrl+alt+h", "ctrl+alt+u")
        target.wait_text("hellodone")
        # The command now offers the opposite.
        self.assertIn(("Button", "Acti&vate Macro"), self.s.window_texts(MAIN_TITLE))


class FullFile(MainWindowCase):
    def test_a_file_of_500_macros_refuses_copy_and_add_at_once_and_still_imports(self):
        # Ctrl+Shift to Ctrl+Alt+Shift: a macro on a plain Alt+letter would
        # take the menu keys themselves.
        codes = [c for c in range(96, 288) if c not in range(262, 266)]
        self.start([Macro(f"Macro {n}", codes[n % len(codes)], "x") for n in range(496)])
        self.assertEqual(len(self.rows()), 500)
        for keys in (("alt+m", "y"), ("alt+m", "a")):  # "Cop&y Macro", "&Add Macro"
            with self.subTest(keys=keys):
                self.s.focus(self.wid)
                self.s.key(*keys)
                self.assertEqual(self.answer("Error", "OK"),
                                 "Maximum number of hot keys has been reached.  Add not allowed.")
        self.s.focus(self.wid)
        self.s.key("alt+f", "i")  # "&Import Macros"
        self.s.wait_for_window("Import Macros")
        self.assertEqual(len(self.records()), 500)


class SystemHotKeys(MainWindowCase):
    def test_a_changed_system_hot_key_is_written_and_works_at_once(self):
        self.start([Macro("Global A", ctrl_alt("a"), "a")])
        # Reached the way a user renames the system macro's row.
        self.select("Activate Quillon")
        self.s.key("alt+m", "m")  # "Rena&me Macro"
        self.s.wait_for_window("System Hot Keys")
        # A key a global macro has is refused.
        self.wait_armed()
        self.s.key("ctrl+alt+a")
        self.assertEqual(self.answer("Error", "OK"),
                         'The hot key "Ctrl+Alt+A" is already in use by a macro.  If you wish to use '
                         'this hot key combination, you will first need to either remove or move the '
                         'macro which is assigned to it.')
        self.refocus("System Hot Keys")
        self.wait_armed()  # the field has the focus again
        self.s.key("ctrl+alt+shift+q")
        self.s.wait_until(lambda: self.edit_texts("System Hot Keys")[0] == "Ctrl+Alt+Shift+Q", 10,
                          what="the picked key in the first field")
        self.s.key("Return")
        self.s.window_gone("System Hot Keys")
        after = self.wait_records(lambda r: r[1].code == ctrl_alt_shift("q"), "the system macro rewritten")
        self.assertEqual([(r.scope, r.scope_text, r.code) for r in after[1:]],
                         [(SCOPE_SYSTEM, "1", ctrl_alt_shift("q")), (SCOPE_SYSTEM, "2", 263),
                          (SCOPE_SYSTEM, "3", 264), (SCOPE_SYSTEM, "4", 265)])
        self.assertEqual(self.hotkey_byte(ctrl_alt_shift("q")), 1)
        self.assertEqual(self.hotkey_byte(ctrl_alt_shift("w")), 0)

        # The new key brings the program forward from another window.
        target = self.s.start_target("Quillon Target")
        self.s.key("ctrl+alt+shift+q")
        self.s.wait_until(lambda: self.s.wintool("foreground").stdout.strip() == MAIN_TITLE, 10,
                          what="the program in front")
        # The old key no longer does: a macro's text after it still reaches
        # the target, not the main window.
        target.focus()
        self.s.key("ctrl+alt+shift+w", "ctrl+alt+a")
        target.wait_text("a")


class Dialogs(MainWindowCase):
    MACROS = [Macro("Zulu", ctrl_alt("a"), "z"), Macro("alpha", ctrl_alt("b"), "a"),
              Macro("Mike", ctrl_alt("c"), "m")]

    def test_sort_order_moves_nickname_first_and_the_selection_follows_its_macro(self):
        self.start(self.MACROS)
        self.select("Mike")
        self.s.key("alt+o", "o")
        self.s.wait_for_window("Sort Order")
        # "Nickname" up to the top of the primary list, then Ok.
        self.s.key("Home", "Down", "Tab", "space", "Return")
        self.s.window_gone("Sort Order")
        self.s.wait_until(lambda: self.nicknames() == [
            "Activate Quillon", "alpha", "Menu of Macros for Top Most Window", "Mike", "Resume Pause",
            "Start / Stop Capture", "Zulu"], 10, what="the list by nickname")
        self.assertEqual([r.cells[2] for r in self.rows() if r.selected], ["Mike"])
        self.assertEqual(dict(read_ini(self.ini)["Misc"])["Primary Sort"], "213")

    def test_appearance_refuses_a_zero_width_and_applies_widths_and_the_speed_bar(self):
        self.start(self.MACROS)
        self.s.focus(self.wid)
        self.s.key("alt+o", "a")
        self.s.wait_for_window("Appearance")
        self.s.key("Tab", "Tab")  # to the Activation width
        self.s.type_text("0")
        self.s.key("Return")
        self.assertEqual(self.answer("Error", "OK"), "Invalid width specified.")
        self.refocus("Appearance")
        self.s.type_text("150")  # the refused box has the focus, its text selected
        self.s.key("Tab")
        self.s.type_text("120")
        self.s.key("Tab")
        self.s.type_text("90")
        self.s.key("alt+s", "Return")
        self.s.window_gone("Appearance")
        self.s.wait_until(lambda: self.widths()[1:] == [150, 120, 90], 10, what="the new widths")
        layout = self.probe("layout", MAIN_TITLE)
        self.assertIn("bar 1", layout)
        self.assertIn("panel 0", layout)
        window = dict(read_ini(self.ini)["Main Window"])
        self.assertEqual([window[k] for k in ("Col 1 Width", "Col 2 Width", "Col 3 Width", "Use Speed")],
                         ["150", "120", "90", "Yes"])

    def test_quick_info_opens_on_a_right_click_on_a_row(self):
        self.start([Macro("Notes date", ctrl_alt("d"), "Today is <DATE:01>", scope=SCOPE_WINDOW,
                          scope_text="Untitled - Notepad", top_most=False)])
        self.s.focus(self.wid)
        x, y = self.probe("point", MAIN_TITLE, "0").split()
        self.s._x("xdotool", "mousemove", x, y)
        self.s._x("xdotool", "click", "3")
        hwnd = self.s.wait_for_window("Quick Info")
        texts = [t for c, t in self.s.window_texts("Quick Info") if t]
        for expected in ("Hot Key:", "Ctrl+Alt+D", "Notes date",
                         'Untitled - Notepad "Window" (If Running)', "Yes", "Macro Text:",
                         "Today is <DATE:01>"):
            self.assertIn(expected, texts)
        self.assertTrue(any(t.startswith("Last Modified On ") for t in texts), texts)
        self.s.key("Return")
        self.s.window_gone(hwnd)


class StartupFixes(MainWindowCase):
    """Faults of the start-up and switch paths that show in the main window."""

    def caption(self) -> str:
        return self.s.window_title(self.wid)

    def test_after_a_swap_in_browse_all_mode_the_recent_files_stay_greyed(self):
        second = self.prog / "SECOND.QLX"
        second.write_bytes(macro_file_bytes([Macro("In second", ctrl_alt("b"), "x")]))
        swap = Macro("Swap", ctrl_alt("s"), f"<SWAP:{self.s.win_path(second)}>")
        # Without a browse mode the same keys open the file again: they do
        # reach the menu.
        for args, browse in (((), ""), (("/BA",), "    (Browse All Mode)")):
            with self.subTest(args=args):
                self.ini.unlink(missing_ok=True)
                proc, wid = self.start([swap], args=args, title=MAIN_TITLE + browse)
                target = self.s.start_target("Quillon Target " + (args[0] if args else "plain"))
                self.s.key("ctrl+alt+s")
                self.s.wait_until(lambda: self.s.window_title(wid) == "Quillon 98 (SECOND)" + browse, 10,
                                  what="the swapped file")
                # "&1" is now the file swapped away from. Then a question
                # from the Tools menu: once it shows, the keys before it
                # have been handled.
                self.s.focus(wid)
                self.s.key("alt+f", "1", "Escape", "Escape", "Escape", "alt+t", "m")
                self.answer("Mouse Hooks", "No")
                expected = "Quillon 98 (SECOND)" + browse if browse else MAIN_TITLE
                self.assertEqual(self.s.window_title(wid), expected)
                self.s.post_close(self.s.find_windows(exe="QUILX.EXE", cls="TMainWin")[0].hwnd)
                self.s.wait_exit(proc, 30)
                self.s.stop(target.proc)

    def test_showing_the_hidden_window_restores_the_column_widths_of_the_settings(self):
        self.qlx.write_bytes(macro_file_bytes([Macro("A", ctrl_alt("a"), "a")]))
        write_ini(self.ini, {"Main Window": {"Col 1 Width": "150", "Col 2 Width": "100",
                                             "Col 3 Width": "90"}})
        proc = self.s.start(self.prog / "QUILX.EXE", ["/HIDE"])
        # Started (its hooks are in), then hidden at its first paint.
        self.s.wait_until(lambda: self.block_u32(AB_KEYBOARD_HOOK), 30, what="the program started")
        handle = hex(self.block_u32(0))
        self.s.wait_until(lambda: [w for w in self.s.find_windows(exe="QUILX.EXE", cls="TMainWin", visible=False)
                                   if not w.visible], 10, what="the hidden main window")
        # Something narrows the columns while the window is hidden.
        self.probe("widths", handle, "40", "40", "40")
        self.assertEqual(self.probe("rows", handle).splitlines()[0], "widths 32 40 40 40")
        self.s.start_target("Quillon Target")
        self.s.key("ctrl+alt+shift+w")  # "Activate Quillon"
        self.s.wait_for_window(MAIN_TITLE)
        self.assertEqual(self.probe("rows", handle).splitlines()[0].split()[2:], ["150", "100", "90"])
        self.s.post_close(MAIN_TITLE)
        self.s.wait_exit(proc, 30)


if __name__ == "__main__":
    harness.main()
