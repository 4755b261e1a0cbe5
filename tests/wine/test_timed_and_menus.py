"""Macros that start themselves or from menus, through QUILX.EXE itself:
a start-up macro types into its window after the program starts, a popup
menu on a hot key shows its chooser and a digit plays the entry, the
top-window menu offers the macros of the window in front, a timed macro
made active from the main window runs at its next minute, and the program
lives in the notification area with its menu icons. One program start
serves every case; they run in the order of their numbers."""

from __future__ import annotations

import struct
import unittest

import harness
from harness import WineSession, read_ini, write_ini
from harness import REPO
from macrofile import SCOPE_GLOBAL, SCOPE_POPUP, SCOPE_SYSTEM, SCOPE_WINDOW, Macro, macro_file_bytes

MAIN_TITLE = "Quillon 98 (QUILX)"
SHOTS = REPO / "build" / "wine" / "shots"
CHOOSER = "Choose A Macro"
TIMED = 10000
OFF_KIND, OFF_INTERVAL = 5114, 5128
AT_STARTUP, EVERY_N_MINUTES = 0, 6
RECORD_SIZE, OFF_TEXT = 5165, 100
ACTIVATION_BLOCK, AB_HOTKEY_TABLE, AB_PICKING = "QLBA1KGR", 17, 756
TRAY_CALLBACK, LEFT_BUTTON_UP, RIGHT_BUTTON_UP = 1024, 514, 517
WM_COMMAND, IDM_TIMER_INTERVAL = 0x111, 1207


def ctrl_alt(letter: str) -> int:
    return 144 + ord(letter) - ord("a")


def ctrl_alt_shift(letter: str) -> int:
    return 240 + ord(letter) - ord("a")


def timed(macro: Macro, kind: int, interval: int = 15) -> bytes:
    rec = bytearray(macro.to_bytes())
    struct.pack_into("<H", rec, OFF_KIND, kind)
    struct.pack_into("<H", rec, OFF_INTERVAL, interval)
    return bytes(rec)


def with_menu(record: bytes, entries: list[int]) -> bytes:
    rec = bytearray(record)
    struct.pack_into("<H", rec, OFF_TEXT, len(entries))
    for i, e in enumerate(entries):
        struct.pack_into("<H", rec, OFF_TEXT + 2 + 2 * i, e)
    return bytes(rec)


# The macro file, numbered from 1 as the program numbers them.
STARTUP, FIRST, SECOND, MENU, WINDOW, ELSEWHERE, TOP_MENU, EVERY_MINUTE, TRAY_MENU = range(1, 10)
STARTUP_TARGET, MENU_TARGET, TIMED_TARGET = "Startup Target", "Menu Target", "Timed Target"


def macro_file() -> bytes:
    records = [
        timed(Macro("Greeting", TIMED, "started", scope=SCOPE_WINDOW, scope_text=STARTUP_TARGET), AT_STARTUP),
        Macro("First entry", ctrl_alt_shift("f"), "first"),
        Macro("Second entry", ctrl_alt_shift("g"), "second"),
        with_menu(Macro("Entries", ctrl_alt("p"), scope=SCOPE_POPUP, snapword="N30").to_bytes(), [FIRST, SECOND]),
        Macro("Menu window note", ctrl_alt_shift("w"), "windowed", scope=SCOPE_WINDOW, scope_text=MENU_TARGET),
        Macro("Calculator note", ctrl_alt_shift("x"), "never", scope=SCOPE_WINDOW, scope_text="Calculator"),
        Macro("", ctrl_alt("t"), scope=SCOPE_SYSTEM, scope_text="4"),
        timed(Macro("Every minute", TIMED, "tick", scope=SCOPE_WINDOW, scope_text=TIMED_TARGET, active=False),
              EVERY_N_MINUTES, interval=1),
        with_menu(Macro("Tray entries", ctrl_alt("q"), scope=SCOPE_POPUP, snapword="Y30").to_bytes(), [SECOND]),
    ]
    # Fifteen more menus for the tray, of which the last finds no room.
    records += [with_menu(Macro(f"Tray menu {n}", 300 + n, scope=SCOPE_POPUP, snapword="Y30").to_bytes(), [FIRST])
                for n in range(2, 17)]
    return b"".join(r if isinstance(r, bytes) else r.to_bytes() for r in records)


class TimedAndMenus(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        harness.require_build("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "testprogs/wintool.exe",
                              "testprogs/keepwarm.exe", "testprogs/target.exe", "testprogs/macrolistprobe.exe")
        SHOTS.mkdir(parents=True, exist_ok=True)
        cls.s = WineSession(name="timedmenus")
        try:
            s = cls.s
            prog = s.program_dir()
            (prog / "QUILX.QLX").write_bytes(macro_file())
            write_ini(s.windows_dir() / "QUILX.INI", {"Scheduler": {"Timer Seconds": "1"},
                                                      "Misc": {"Disable Screen Saver": "No"}})
            # The start-up macro's window is there before the program starts.
            cls.startup_target = s.start_target(STARTUP_TARGET, focus=False)
            cls.proc, cls.wid = s.start_quilx()
        except BaseException:
            cls.s.close()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.s.close()

    def target(self, title: str) -> harness.Target:
        t = self.s.start_target(title)
        self.addCleanup(self.s.close_target, t)
        return t

    def chooser(self) -> int:
        wid = self.s.wait_for_window(CHOOSER, 15)
        self.s.focus(wid)
        return wid

    def chooser_entries(self) -> int:
        """Entries in the chooser's lists."""
        r = self.s.wintool("items", CHOOSER)
        self.assertEqual(r.returncode, 0, r.stderr)
        return sum(int(n) for n in r.stdout.split())

    def rows(self) -> list[list[str]]:
        """(row, selected, number, activation, nickname, scope) of each list row."""
        r = self.s.run(self.s.testprog("macrolistprobe"), ["rows", MAIN_TITLE])
        self.assertEqual(r.returncode, 0, r.stderr)
        return [line.split("\t")[:6] for line in r.stdout.splitlines()[2:]]

    def select(self, nickname: str) -> None:
        """Selects a macro's row with the keyboard."""
        self.s.focus(self.wid)
        row = [r[4] for r in self.rows()].index(nickname)
        self.s.key("Home", *(["Down"] * row))
        self.s.wait_until(lambda: self.rows()[row][1] == "1", 10, what=f"{nickname!r} selected")

    def test_1_a_start_up_macro_types_into_its_window_after_the_start(self):
        self.startup_target.wait_text("started", timeout=20)

    def test_2_a_popup_menu_on_its_hot_key_plays_the_entry_of_the_digit_pressed(self):
        t = self.target(MENU_TARGET)
        self.s.key("ctrl+alt+p")
        self.chooser()
        self.s.key("1")
        t.wait_text("second")
        self.s.window_gone(CHOOSER)
        # The playback is over and the key is free again.
        self.s.wait_playback_done()

    def test_2b_a_chooser_cancelled_with_a_key_leaves_the_next_hot_key_working(self):
        t = self.target(MENU_TARGET)
        self.s.key("ctrl+alt+p")
        self.chooser()
        self.s.key("Escape")
        self.s.window_gone(CHOOSER)
        self.s.wait_playback_done()
        t.focus()
        self.s.key("ctrl+alt+shift+f")    # "First entry", an ordinary global macro
        t.wait_text("first")
        self.s.wait_playback_done()

    def test_3_the_top_window_menu_offers_the_macros_of_the_window_in_front(self):
        t = self.target(MENU_TARGET)
        self.s.key("ctrl+alt+t")
        self.chooser()
        # Only the macro of this window: not the other window's, nor the
        # global and popup-menu macros.
        self.assertEqual(self.chooser_entries(), 1)
        self.s.key("0")
        t.wait_text("windowed")
        self.s.wait_playback_done()

    def test_4_a_timed_macro_made_active_runs_at_its_next_minute(self):
        t = self.target(TIMED_TARGET)
        # Activate it from the list: the schedule is rebuilt and the macro
        # counts its minute from now.
        self.select("Every minute")
        self.s.key("alt+m", "v")
        # It runs in its window, which it brings forward, about a minute on.
        t.wait_text("tick", timeout=90)

    def test_5_a_right_click_on_a_menu_icon_opens_its_chooser(self):
        t = self.target(MENU_TARGET)
        # One icon window per menu placed in the tray, the first 15 in
        # number order (and the program's own, out of the tray while Use
        # Tray is off), each titled with its tip.
        self.assertEqual(self.icon_tips(), {"Quillon 98", "Tray entries", *(f"Tray menu {n}" for n in range(2, 16))})
        # The shell's notification of a right click on the menu's icon.
        self.s.wintool("post", hex(self.tray_icon("Tray entries")), str(TRAY_CALLBACK), str(TRAY_MENU),
                       str(RIGHT_BUTTON_UP))
        self.chooser()
        self.s.key("0")
        t.wait_text("second")
        self.s.wait_playback_done()

    def test_5a_modify_popup_menu_opens_the_builder_and_its_tray_choice_takes_effect(self):
        self.select("Tray entries")
        self.s.key("alt+m", "d")          # "Mo&dify Popup Menu"
        title = "Ctrl+Alt+Q"              # the menu's hot key names the builder
        self.s.wait_for_window(title, 10)
        self.s.click_button(title, "Place in System Tray")      # off
        self.s.click_button(title, "Ok")
        self.s.window_gone(title)
        qlx = self.s.program_dir() / "QUILX.QLX"

        def options() -> bytes:
            rec = qlx.read_bytes()[(TRAY_MENU - 1) * RECORD_SIZE:TRAY_MENU * RECORD_SIZE]
            return rec[83:83 + rec[82]]
        self.s.wait_until(lambda: options() == b"N30", 10, what="the menu written out of the tray")
        # Its icon leaves the tray and makes room for the sixteenth menu;
        # the menu itself is kept.
        self.s.wait_until(lambda: self.icon_tips() == {"Quillon 98", *(f"Tray menu {n}" for n in range(2, 17))}, 10,
                          what="the menu's icon gone, the sixteenth menu's come")
        rec = qlx.read_bytes()[(TRAY_MENU - 1) * RECORD_SIZE:TRAY_MENU * RECORD_SIZE]
        self.assertEqual(struct.unpack_from("<HH", rec, OFF_TEXT), (1, SECOND))

    def test_5a2_enter_on_a_menu_or_a_system_macro_opens_its_editor(self):
        for nickname, title in (("Entries", "Ctrl+Alt+P"), ("Activate Quillon", "System Hot Keys")):
            with self.subTest(nickname=nickname):
                self.select(nickname)
                self.s.key("Return")
                self.s.wait_for_window(title, 10)
                self.s.screenshot(SHOTS / f"enter-on-{nickname.split()[0].lower()}.png")
                self.s.post_close(title)
                self.s.window_gone(title)

    def test_5c_a_timed_macro_added_in_the_direct_editor_gets_its_schedule_there(self):
        s = self.s
        count = len(s.program_dir().joinpath("QUILX.QLX").read_bytes()) // RECORD_SIZE
        s.focus(self.wid)
        s.key("Insert")                       # Add Macro
        add = s.wait_for_window("Add Macro", 15)
        s.focus(add)
        picking = lambda: s.peek(ACTIVATION_BLOCK, AB_PICKING, 1)   # noqa: E731
        s.wait_until(lambda: picking() == b"\x01", 10, what="hot-key picking armed")
        s.key("Tab")                          # out of the hot-key field
        s.wait_until(lambda: picking() == b"\x00", 10, what="hot-key picking off")
        s.key("alt+t", "alt+e")               # "&Timed Macro", "&Enter Directly"
        editor = s.wait_for_window("Modify Hot Key", 15)
        s.click_button("Modify Hot Key", "Set Schedule")
        s.wait_for_window("Set Schedule", 10)
        s.click_button("Set Schedule", "Other")
        s.click_button("Set Schedule", "Update")
        s.window_gone("Set Schedule")
        s.focus(editor)
        s.key("alt+f", "u")                   # File, Update
        s.window_gone("Modify Hot Key")
        qlx = s.program_dir() / "QUILX.QLX"
        s.wait_until(lambda: len(qlx.read_bytes()) // RECORD_SIZE == count + 1, 10, what="the macro appended")
        rec = qlx.read_bytes()[count * RECORD_SIZE:]
        self.assertEqual(struct.unpack_from("<H", rec, 93)[0], TIMED)
        # "O&ther" with the new macro's default of every 15 minutes.
        self.assertEqual(struct.unpack_from("<HH", rec, OFF_KIND)[0], EVERY_N_MINUTES)
        self.assertEqual(struct.unpack_from("<H", rec, OFF_INTERVAL)[0], 15)

    def test_5b_the_timer_interval_changes_the_tick_and_is_saved(self):
        self.s.focus(self.wid)
        self.s.wintool("post", MAIN_TITLE, str(WM_COMMAND), str(IDM_TIMER_INTERVAL), "0")
        title = "Scheduler Frequency"
        self.s.wait_for_window(title, 10)
        self.assertIn(("Edit", "1"), self.s.window_texts(title))   # the current Timer Seconds
        self.s.wintool("settext", title, "3")
        self.s.click_button(title, "Ok")
        self.s.window_gone(title)
        self.s.wait_until(lambda: dict(read_ini(self.s.windows_dir() / "QUILX.INI").get("Scheduler", []))
                          .get("Timer Seconds") == "3", 10, what="Timer Seconds saved")

    # --- the tray (Use Tray is on from here) -----------------------------------

    def icon_tips(self) -> set[str]:
        return {w.title for w in self.s.find_windows(exe="QUILX.EXE", cls="QlxTaskIcon", visible=False)}

    def tray_icon(self, tip: str) -> int:
        icons = {w.title: w.hwnd for w in self.s.find_windows(exe="QUILX.EXE", cls="QlxTaskIcon", visible=False)}
        return icons[tip]

    def shell_notifies(self, tip: str, mouse_message: int) -> None:
        """The shell's notification of a click on the icon with this tip."""
        r = self.s.wintool("post", hex(self.tray_icon(tip)), str(TRAY_CALLBACK), "0", str(mouse_message))
        self.assertEqual(r.returncode, 0, r.stderr)

    def main_window_shown(self) -> bool:
        return bool(self.s.find_windows(exe="QUILX.EXE", title=MAIN_TITLE))

    def test_6_placed_in_the_tray_it_hides_and_comes_back_from_its_icon(self):
        self.s.focus(self.wid)
        self.s.key("alt+o", "t")          # "Place in System &Tray"
        self.s.wait_until(lambda: dict(read_ini(self.s.windows_dir() / "QUILX.INI").get("Misc", [])).get("Use Tray")
                          == "Yes", 10, what="Use Tray saved")
        # The icon is in Wine's tray, whose window comes up with the first
        # icon. When it takes the activation, the program, now in the tray,
        # hides as from any other program; its icon brings it back.
        self.s.wait_until(lambda: [w for w in self.s.find_windows(exe="explorer.exe") if "Tray" in w.title], 10,
                          what="Wine's tray window")
        self.s.screenshot(SHOTS / "tray.png")
        self.shell_notifies("Quillon 98", LEFT_BUTTON_UP)
        self.s.wait_until(self.main_window_shown, 10, what="the main window back")
        self.s.focus(self.wid)
        self.s.key("alt+f", "h")          # "&Hide Quillon 98", enabled with the tray
        self.s.wait_until(lambda: not self.main_window_shown(), 10, what="the main window hidden")
        self.shell_notifies("Quillon 98", LEFT_BUTTON_UP)
        self.s.wait_until(self.main_window_shown, 10, what="the main window back")
        self.s.wait_until(lambda: self.s.wintool("foreground").stdout.strip() == MAIN_TITLE, 10,
                          what="the main window in front")

    def test_7_switching_to_another_program_hides_it(self):
        if not self.main_window_shown():
            self.shell_notifies("Quillon 98", LEFT_BUTTON_UP)
            self.s.wait_until(self.main_window_shown, 10, what="the main window back")
        self.target(MENU_TARGET)
        self.s.wait_until(lambda: not self.main_window_shown(), 10, what="the main window hidden")
        # A popup menu's chooser leaves the hidden window hidden.
        self.s.key("ctrl+alt+p")
        self.chooser()
        self.s.key("Escape")
        self.s.window_gone(CHOOSER)
        self.assertFalse(self.main_window_shown())

    def test_7b_an_open_dialog_keeps_it_in_sight_until_its_icon_closes_the_dialog(self):
        self.shell_notifies("Quillon 98", LEFT_BUTTON_UP)
        self.s.wait_until(self.main_window_shown, 10, what="the main window back")
        self.s.wintool("post", MAIN_TITLE, str(WM_COMMAND), str(IDM_TIMER_INTERVAL), "0")
        self.s.wait_for_window("Scheduler Frequency", 10)
        # Another program activated: with a dialog open the program stays.
        self.target(MENU_TARGET)
        self.assertTrue(self.main_window_shown())
        # The icon cancels the dialog and brings the window forward.
        self.shell_notifies("Quillon 98", LEFT_BUTTON_UP)
        self.s.window_gone("Scheduler Frequency")
        self.s.wait_until(lambda: self.s.wintool("foreground").stdout.strip() == MAIN_TITLE, 10,
                          what="the main window in front")
        self.assertEqual(dict(read_ini(self.s.windows_dir() / "QUILX.INI")["Scheduler"])["Timer Seconds"], "3")

    def test_8_terminate_and_unload_from_the_icons_menu_ends_the_program(self):
        self.shell_notifies("Quillon 98", LEFT_BUTTON_UP)
        self.s.wait_until(self.main_window_shown, 10, what="the main window back")
        self.s.focus(self.wid)
        self.shell_notifies("Quillon 98", RIGHT_BUTTON_UP)
        self.s.wait_until(lambda: self.s.find_windows(exe="QUILX.EXE", cls="#32768"), 10, what="the tray menu")
        self.s.screenshot(SHOTS / "tray-menu.png")
        self.s.key("t")                   # "&Terminate and Unload"
        self.assertEqual(self.s.wait_exit(self.proc, 20), 0)


if __name__ == "__main__":
    harness.main()
