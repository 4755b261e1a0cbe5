"""Timed macros and the top-window menu under Wine: schedhost.exe runs the
real scheduler, its timers and the player on a clock set a few seconds
before a minute (it then runs at the real pace), and the macros type into
target.exe; the top-window menu lists the macros of the window in front."""

import datetime as dt
import struct
import unittest
from pathlib import Path

import harness
from harness import WineSession
from macrofile import SCOPE_GLOBAL, SCOPE_PROGRAM, SCOPE_WINDOW, Macro, write_program_folder

TIMED = 10000
OFF_KIND, OFF_DAYS, OFF_HOUR, OFF_MINUTE = 5114, 5116, 5123, 5124
OFF_MONTH, OFF_DAY, OFF_YEAR, OFF_PM = 5125, 5126, 5131, 5133
AT_STARTUP, ONCE, DAILY = 0, 1, 3
TARGET = "Quillon Target"


def timed(text: str, kind: int, hour12: int = 10, minute: int = 1, pm: bool = False,
          scope: int = SCOPE_WINDOW, scope_text: str = TARGET, day: dt.date | None = None) -> bytes:
    rec = bytearray(Macro(f"timed {text}", TIMED, text=text, scope=scope, scope_text=scope_text).to_bytes())
    struct.pack_into("<H", rec, OFF_KIND, kind)
    rec[OFF_DAYS:OFF_DAYS + 7] = b"\x01" * 7
    rec[OFF_HOUR], rec[OFF_MINUTE], rec[OFF_PM] = hour12, minute, int(pm)
    day = day or dt.date.today()
    rec[OFF_MONTH], rec[OFF_DAY] = day.month, day.day
    struct.pack_into("<H", rec, OFF_YEAR, day.year)
    return bytes(rec)


def parse_log(path: Path) -> tuple[list[int], list[tuple[int, int]]]:
    """(tick times, (macro, time) of each due macro), times in ms of the day."""
    ticks, starts = [], []
    try:
        lines = path.read_text().split("\n")[:-1]
    except FileNotFoundError:
        return ticks, starts
    for line in lines:
        parts = line.split()
        if parts[0] == "tick":
            ticks.append(int(parts[1]))
        elif parts[0] == "due":
            starts.append((int(parts[1]), int(parts[2])))
    return ticks, starts


def ms(h: int, m: int, s: int = 0) -> int:
    return ((h * 60 + m) * 60 + s) * 1000


class Scheduler(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        harness.require_build("testprogs/schedhost.exe", "testprogs/target.exe", "testprogs/wintool.exe",
                              "testprogs/keepwarm.exe", "dist/QUILX.EXE", "dist/QLXHOOK.DLL")
        cls.s = WineSession(name="scheduler")

    @classmethod
    def tearDownClass(cls):
        cls.s.close()

    def write_file(self, records: list[bytes]) -> Path:
        return write_program_folder(self.s.temp_path("prog"), records)

    def target(self, title=TARGET):
        t = self.s.start_target(title)
        self.addCleanup(self.s.stop, t.proc)
        return t

    def run_host(self, path: Path, at: str) -> Path:
        log = self.s.temp_path("schedule.log")
        proc = self.s.start(self.s.testprog("schedhost"), ["run", self.s.win_path(path), at, self.s.win_path(log)])
        self.addCleanup(self.s.stop, proc)
        return log

    def test_timed_macros_play_at_their_minute_once_and_start_up_macros_after_five_seconds(self):
        t = self.target()
        other = self.s.start_target("Quillon Elsewhere")   # in front: the macros bring the target forward
        self.addCleanup(self.s.stop, other.proc)
        path = self.write_file([
            timed("daily ", DAILY),                              # 1: 10:01 every day
            timed("once ", ONCE),                                # 2: 10:01 today
            timed("missing ", DAILY, scope_text="No Such Window"),  # 3: skipped
            timed("later ", DAILY, minute=2),                    # 4: 10:02, not reached
            timed("startup ", AT_STARTUP),                       # 5: 5 s after the start
            timed("tomorrow ", ONCE, day=dt.date.today() + dt.timedelta(days=1)),  # 6
        ])
        log = self.run_host(path, "10:00:57")
        self.s.wait_until(lambda: any(x >= ms(10, 1, 6) for x in parse_log(log)[0]), 30,
                          what="ticks up to 10:01:06")
        _, due = parse_log(log)
        self.assertEqual([n for n, _ in due], [1, 2, 3, 5], due)
        # At their minute, within one tick (Timer Seconds 1).
        for n, at in due[:3]:
            self.assertTrue(ms(10, 1) <= at < ms(10, 1, 2), due)
        self.assertTrue(ms(10, 1, 1) <= due[3][1] < ms(10, 1, 4), due)   # 10:00:57 + 5 s
        # The macro of a window that is not there is skipped.
        t.wait_text("daily once startup ")
        self.assertEqual(other.text(), "")

    def test_top_window_menu_lists_the_macros_of_the_window_in_front(self):
        path = self.write_file([
            Macro("For the target", 150, text="t", scope=SCOPE_WINDOW, scope_text="quillon target").to_bytes(),
            Macro("For another window", 151, text="o", scope=SCOPE_WINDOW, scope_text="Calculator").to_bytes(),
            Macro("For its program", 152, text="p", scope=SCOPE_PROGRAM, scope_text="target").to_bytes(),
            Macro("Global", 153, text="g", scope=SCOPE_GLOBAL).to_bytes(),
        ])
        t = self.target()
        out = self.s.temp_path("menu.txt")
        proc = self.s.start(self.s.testprog("schedhost"), ["topmenu", self.s.win_path(path), "3", self.s.win_path(out)])
        self.addCleanup(self.s.stop, proc)
        wid = self.s.wait_for_window("Choose A Macro", 15)
        self.s.focus(wid)
        self.s.key("1")
        self.s.wait_until(out.exists, 15, what="the menu's outcome")
        self.assertEqual(out.read_text(), "listed=1,3 chosen=3")
        # The target has the keyboard back.
        self.s.wait_until(lambda: self.s.wintool("foreground").stdout.strip() == TARGET, 10,
                          what="the target back in front")
        self.assertEqual(t.text(), "")

    def test_top_window_menu_without_a_match_warns(self):
        path = self.write_file([
            Macro("For another window", 151, text="o", scope=SCOPE_WINDOW, scope_text="Calculator").to_bytes()])
        self.target()
        out = self.s.temp_path("menu.txt")
        proc = self.s.start(self.s.testprog("schedhost"), ["topmenu", self.s.win_path(path), "3", self.s.win_path(out)])
        self.addCleanup(self.s.stop, proc)
        self.s.wait_until(out.exists, 15, what="the menu's outcome")
        self.assertEqual(out.read_text(), "warning")


if __name__ == "__main__":
    harness.main()
