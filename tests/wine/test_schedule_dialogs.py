"""The dialogs of timed macros and popup-menu macros under Wine, opened by
schedhost.exe on a prepared macro file and driven with real keys: Set
Schedule keeps itself open on a refusal and writes the schedule it
accepts; the chooser takes the entry whose label was pressed, nested menus
open their own chooser; the builder writes the menu in number order.

Screenshots of each dialog go to build/wine/shots (docs/ holds copies)."""

import struct
import unittest
from pathlib import Path

import harness
from harness import WineSession
from macrofile import OFF_SNAPWORD, OFF_TEXT, RECORD_SIZE, SCOPE_POPUP, SCOPE_WINDOW, Macro, write_program_folder

SHOTS = harness.WINE_ROOT / "shots"
TIMED = 10000
OFF_KIND, OFF_HOUR, OFF_MINUTE, OFF_MONTH, OFF_DAY = 5114, 5123, 5124, 5125, 5126
OFF_INTERVAL, OFF_YEAR, OFF_PM = 5128, 5131, 5133


def menu_macro(nickname: str, code: int, entries: list[int], options: str = "N30",
               icon: str = "MENU") -> bytes:
    """A popup-menu record: options in the Snapword field, the menu in the
    text area (count, then the macro numbers)."""
    rec = bytearray(Macro(nickname, code, scope=SCOPE_POPUP, snapword=options, icon=icon).to_bytes())
    struct.pack_into(f"<H{len(entries)}H", rec, OFF_TEXT, len(entries), *entries)
    return bytes(rec)


def timed_macro(nickname: str, kind: int, interval: int = 15) -> bytes:
    rec = bytearray(Macro(nickname, TIMED, text="x").to_bytes())
    struct.pack_into("<H", rec, OFF_KIND, kind)
    rec[OFF_HOUR], rec[OFF_MINUTE], rec[OFF_PM] = 9, 30, 0
    rec[OFF_MONTH], rec[OFF_DAY] = 12, 24
    struct.pack_into("<H", rec, OFF_YEAR, 2030)
    struct.pack_into("<H", rec, OFF_INTERVAL, interval)
    return bytes(rec)


def read_record(path: Path, n: int) -> bytes:
    data = path.read_bytes()
    return data[(n - 1) * RECORD_SIZE:n * RECORD_SIZE]


class ScheduleDialogs(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        harness.require_build("testprogs/schedhost.exe", "testprogs/wintool.exe",
                              "testprogs/keepwarm.exe", "dist/QUILX.EXE", "dist/QLXHOOK.DLL")
        cls.s = WineSession(name="schedule")
        SHOTS.mkdir(parents=True, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        cls.s.close()

    # --- helpers ---------------------------------------------------------------

    def write_file(self, records: list[bytes]) -> Path:
        return write_program_folder(self.s.temp_path("prog"), records)

    def host(self, *args) -> tuple:
        out = self.s.temp_path("result.txt")
        proc = self.s.start(self.s.testprog("schedhost"),
                            [*[self.s.win_path(a) if isinstance(a, Path) else a for a in args],
                             self.s.win_path(out)])
        self.addCleanup(self.s.stop, proc)
        return proc, out

    def result(self, proc, out: Path, timeout: float = 15) -> str:
        self.s.wait_until(out.exists, timeout, what=f"{out.name} to be written")
        self.assertEqual(self.s.wait_exit(proc), 0)
        return out.read_text()

    def shoot(self, wid: int, name: str) -> None:
        self.s._x("import", "-window", str(wid), "-frame", str(SHOTS / name), timeout=30)

    def open_window(self, title: str) -> int:
        wid = self.s.wait_for_window(title, 15)
        self.s.focus(wid)
        return wid

    # --- Set Schedule ----------------------------------------------------------

    def test_refusal_keeps_set_schedule_open_with_its_message(self):
        path = self.write_file([timed_macro("Every so often", 6, interval=0)])
        proc, out = self.host("schedule", path, "1")
        wid = self.open_window("Set Schedule")
        self.shoot(wid, "set-schedule-other.png")
        self.s.key("Return")                       # &Update with 0 minutes
        box = self.s.wait_for_window("Error", 10)
        texts = [t for _, t in self.s.window_texts("Error")]
        self.assertIn("Invalid minutes specified.  Must be between 1 and 720.", texts)
        self.s.focus(box)
        self.s.key("Return")
        self.s.window_gone(box)
        self.assertFalse(out.exists(), "the dialog closed on a refusal")
        self.assertIn(wid, self.s._visible_windows("Set Schedule"))
        # The focus is back on the minutes, their text selected: typing replaces it.
        self.s.focus(wid)
        self.s.type_text("45")
        self.s.key("Return")
        self.assertEqual(self.result(proc, out), "every 45 minutes")
        self.assertEqual(struct.unpack_from("<H", read_record(path, 1), OFF_INTERVAL)[0], 45)

    def test_daily_time_field_is_read_by_its_rules(self):
        path = self.write_file([timed_macro("Morning", 3)])
        proc, out = self.host("schedule", path, "1")
        wid = self.open_window("Set Schedule")
        self.shoot(wid, "set-schedule.png")
        self.s.key("alt+d")                        # &Daily: already chosen
        self.s.key("Tab")                          # to the time field
        self.s.key("ctrl+a")
        self.s.type_text("1545")                   # no ":": the first two are the hour
        self.s.key("Return")
        self.assertEqual(self.result(proc, out), "Daily at 3:45PM")

    def test_cancel_leaves_the_record_alone(self):
        path = self.write_file([timed_macro("Morning", 1)])
        before = path.read_bytes()
        proc, out = self.host("schedule", path, "1")
        wid = self.open_window("Set Schedule")
        self.shoot(wid, "set-schedule-once.png")
        self.s.key("Escape")
        self.assertEqual(self.result(proc, out), "cancel")
        self.assertEqual(path.read_bytes(), before)

    # --- the chooser -------------------------------------------------------------

    def menu_file(self, entries: int, options: str = "N30") -> Path:
        macros = [Macro(f"Macro number {n}", 144 + (n % 40), text=f"text of {n}<ENTER>",
                        scope=SCOPE_WINDOW if n % 3 == 0 else 1,
                        scope_text="Untitled - Notepad" if n % 3 == 0 else "").to_bytes()
                  for n in range(1, entries + 1)]
        return self.write_file(macros + [menu_macro("Main menu", 200, list(range(1, entries + 1)), options)])

    def test_digit_chooses_the_entry_of_its_label(self):
        path = self.menu_file(5)
        proc, out = self.host("choose", path, "6", "-1")
        wid = self.open_window("Choose A Macro")
        self.shoot(wid, "chooser-nickname.png")
        self.s.key("5")                            # a menu of 5 has no "5"
        self.s.key("exclam")
        self.assertFalse(out.exists(), "a key without an entry closed the chooser")
        self.s.key("1")
        self.assertEqual(self.result(proc, out), "2")

    def test_letter_j_chooses_entry_nineteen_from_the_second_list(self):
        path = self.menu_file(20)
        proc, out = self.host("choose", path, "21", "-1")
        wid = self.open_window("Choose A Macro")
        self.shoot(wid, "chooser-two-lists.png")
        # Two lists side by side: a client area 604 wide, within its frame.
        width = int(self.s._x("xwininfo", "-id", str(wid)).split("Width:")[1].split()[0])
        self.assertTrue(604 <= width < 620, width)
        self.s.key("j")
        self.assertEqual(self.result(proc, out), "20")

    def test_text_mode_and_escape(self):
        path = self.menu_file(6, options="N10")
        proc, out = self.host("choose", path, "7", "-1")
        wid = self.open_window("Choose A Macro")
        self.shoot(wid, "chooser-text.png")
        self.s.key("Escape")
        self.assertEqual(self.result(proc, out), "-1")

    def test_icon_mode_takes_a_key(self):
        path = self.menu_file(11, options="N22")
        proc, out = self.host("choose", path, "12", "-1")
        wid = self.open_window("Choose A Macro")
        self.shoot(wid, "chooser-icons.png")
        self.s.key("a")                            # position 10
        self.assertEqual(self.result(proc, out), "11")

    def test_icon_mode_takes_a_button_press(self):
        # Clicks that xdotool makes do not reach the controls of Wine's
        # windows on this display; the button's own click message does.
        path = self.menu_file(5, options="N20")
        proc, out = self.host("choose", path, "6", "-1")
        self.open_window("Choose A Macro")
        self.s.click_button("Choose A Macro", "")   # the first icon button
        self.assertEqual(self.result(proc, out), "1")

    def test_enter_chooses_the_line_selected_in_the_list(self):
        path = self.menu_file(3)
        proc, out = self.host("choose", path, "4", "-1")
        self.open_window("Choose A Macro")
        self.s.key("Down", "Down")                 # lines 0, then 1
        self.s.key("Return")
        self.assertEqual(self.result(proc, out), "2")

    def test_nested_menu_opens_its_own_chooser(self):
        macros = [Macro("First", 150, text="one").to_bytes(), Macro("Second", 151, text="two").to_bytes(),
                  menu_macro("Inner", 152, [2, 1])]
        path = self.write_file(macros + [menu_macro("Outer", 153, [1, 3])])
        proc, out = self.host("choose", path, "4", "-1")
        self.open_window("Choose A Macro")
        self.s.key("1")                            # the inner menu
        # A fresh chooser for the inner menu.
        self.s.wait_until(lambda: not out.exists() and self.s._visible_windows("Choose A Macro"), 10,
                          what="the inner chooser")
        self.open_window("Choose A Macro")
        self.s.key("0")
        self.assertEqual(self.result(proc, out), "3,2")

    def test_chooser_opened_at_the_right_edge_stands_left_of_the_click(self):
        path = self.menu_file(3)
        proc, out = self.host("choose", path, "4", "1270")
        wid = self.open_window("Choose A Macro")
        info = self.s._x("xwininfo", "-id", str(wid))
        left = int(info.split("Absolute upper-left X:")[1].split()[0])
        width = int(info.split("Width:")[1].split()[0])
        bottom = int(info.split("Absolute upper-left Y:")[1].split()[0]) + int(info.split("Height:")[1].split()[0])
        self.assertLessEqual(left + width, 1270)
        self.assertGreater(left + width, 1270 - 20)      # flush with the click, frame aside
        self.assertGreater(bottom, 1024 - 20)            # at the bottom of the screen
        self.s.key("Escape")
        self.assertEqual(self.result(proc, out), "-1")

    # --- the builder -------------------------------------------------------------------

    def test_builder_reopens_in_number_order_and_adds_at_the_end(self):
        macros = [Macro(f"Macro {n}", 150 + n, text=str(n)).to_bytes() for n in range(1, 8)]
        path = self.write_file(macros + [menu_macro("Tools", 160, [7, 3, 5], options="Y20")])
        proc, out = self.host("build", path, "8")
        wid = self.open_window("Build Macro Menu")
        self.shoot(wid, "build-menu.png")
        self.s.key("alt+p")                        # "&Place in System Tray" off
        # Tab from the tray box past the choice of what to show, the size and
        # the icon to the available macros; Home selects the first (1); &Add.
        self.s.key(*["Tab"] * 4)
        self.s.key("Home")
        self.s.key("alt+a")
        self.s.key("Return")
        self.assertEqual(self.result(proc, out), "saved tray=1 entries=3,5,7,1")
        rec = read_record(path, 8)
        self.assertEqual(rec[OFF_SNAPWORD:OFF_SNAPWORD + 4], b"\x03N20")


if __name__ == "__main__":
    harness.main()
