"""Network mode between two machines: two Wine prefixes, each with its own
wineserver and display, run QUILX.EXE on one macro file in a shared
folder. Both make changes at random moments through the user interface
(Import adds macros, Remove Macro takes one of the machine's own away;
both take the network lock); afterwards the file holds exactly the changes
that were reported as made, and each copy's tables match the file after
its next sync. A copy killed while it holds
the lock is taken over by the other after the minute."""

import random
import shutil
import struct
import tempfile
import threading
import time
import unittest
from pathlib import Path

import harness
from harness import WineSession, write_ini
from macrofile import SCOPE_WINDOW, Macro, write_macro_file
from sharing_driver import IDC_IMPORT_LIST, IDC_IMPORT_OPEN, IDM_IMPORT, IDM_REMOVE_MACRO, IDOK, Driver, records

IN_USE = "Macro File in use by another user.  Please try again later."
CHANGED = ('Macro File has changed by another user.  Changed macro file will be reloaded after '
           'clicking "ok".')
BLOCK = "QLBA1KGR"
COUNT_OFFSET, SCOPE_TEXTS = 14292, 1792
ATTEMPTS_PER_MACHINE = 100
MAIN_TITLE = "Quillon 98 (SHARED)"


class Machine:
    """One machine: its own prefix, wineserver and display, running QUILX.EXE
    on the shared file in network mode."""

    def __init__(self, name: str, shared: Path):
        self.name = name
        self.s = WineSession(name=f"net{name}")
        self.d = Driver(self.s, MAIN_TITLE)
        self.shared = shared
        write_ini(self.s.windows_dir() / "QUILX.INI",
                  {"Network": {"Network Mode": "Yes", "Auto Sync": "No", "Sync Minutes": "10"}})
        self.proc, self.wid = self.s.start_quilx(["/N", "/F" + self.s.win_path(shared / "SHARED.QLX")],
                                                 title=MAIN_TITLE)

    def close(self):
        self.s.close()

    def window(self, *titles):
        for w in self.s.find_windows(exe="QUILX.EXE"):
            if w.title in titles:
                return w.title
        return None

    def try_import(self, source: Path) -> str:
        """One change: "made", or the message that refused it."""
        self.d.menu(IDM_IMPORT)
        shown = self.s.wait_until(lambda: self.window("Import Macros", "Error", "Notice"), 30,
                                  what=f"{self.name}: the import dialog or a message")
        if shown != "Import Macros":
            return self.d.message(shown)
        self.d.until_tool("command", "Import Macros", IDC_IMPORT_OPEN, what="Open File")
        self.d.file_dialog("Import Quillon Files", source)
        self.d.until_tool("lbselect", "Import Macros", IDC_IMPORT_LIST, "all", what="all rows")
        self.d.until_tool("command", "Import Macros", IDOK, what="Ok")
        self.d.gone("Import Macros", 30)
        return "made"

    def row_of(self, nickname: str) -> int:
        """The list row showing the macro, as the user sees it."""
        r = self.s.run(self.s.testprog("macrolistprobe"), ["rows", MAIN_TITLE])
        if r.returncode != 0:
            raise AssertionError(f"{self.name}: macrolistprobe rows: {r.returncode} {r.stderr}")
        for line in r.stdout.splitlines()[2:]:
            parts = line.split("\t")
            if parts[4] == nickname:
                return int(parts[0])
        return -1

    def try_remove(self, nickname: str) -> str:
        """One change: the user selects the macro's row and removes it."""
        row = self.row_of(nickname)
        if row < 0:
            raise AssertionError(f"{self.name}: {nickname} is not in the list")
        self.d.until_tool("lvselect", MAIN_TITLE, row, what=f"{self.name}: row {row}")
        self.d.menu(IDM_REMOVE_MACRO)
        shown = self.s.wait_until(lambda: self.window("Delete", "Error", "Notice"), 30,
                                  what=f"{self.name}: the question or a message")
        if shown != "Delete":
            return self.d.message(shown)
        self.d.answer("Delete", "Yes")
        self.s.wait_until(lambda: self.row_of(nickname) < 0, 30, what=f"{self.name}: {nickname} to leave the list")
        return "made"

    def sync(self) -> None:
        """The next sync of this copy: a change started and left at once."""
        self.d.menu(IDM_IMPORT)
        shown = self.s.wait_until(lambda: self.window("Import Macros", "Error", "Notice"), 30,
                                  what=f"{self.name}: sync")
        if shown == "Import Macros":
            self.s.post_close("Import Macros")
            self.d.gone("Import Macros")
        else:
            self.d.message(shown)

    def scope_texts(self) -> list[str]:
        """The scope texts of the copy's macro tables, in macro order."""
        count = struct.unpack("<i", self.s.peek(BLOCK, COUNT_OFFSET, 4))[0]
        raw = self.s.peek(BLOCK, SCOPE_TEXTS, 21 * count)
        return [raw[21 * i + 1:21 * i + 1 + raw[21 * i]].decode("cp1252") for i in range(count)]


def file_scope_texts(path: Path) -> list[str]:
    return [r[52:52 + r[51]].decode("cp1252")[:20] for r in records(path.read_bytes())]


class NetworkMode(unittest.TestCase):
    def setUp(self):
        harness.require_build("dist/QUILX.EXE", "testprogs/sharingtool.exe", "testprogs/wintool.exe",
                              "testprogs/macrolistprobe.exe")
        harness.SESSIONS_DIR.mkdir(parents=True, exist_ok=True)
        self.shared = Path(tempfile.mkdtemp(prefix="shared-", dir=harness.SESSIONS_DIR))
        self.addCleanup(shutil.rmtree, self.shared, True)
        write_macro_file(self.shared / "SHARED.QLX", [])
        self.machines = []
        for name in ("A", "B"):
            m = Machine(name, self.shared)
            self.addCleanup(m.close)
            self.machines.append(m)

    def source(self, name: str) -> Path:
        """A macro file of one macro whose window title is its name."""
        p = self.shared / f"{name}.QLX"
        write_macro_file(p, [Macro(name, code=300, scope=SCOPE_WINDOW, scope_text=name, text=name)],
                         with_system=False)
        return p

    def test_interleaved_changes_from_two_machines_lose_nothing(self):
        made: dict[str, list[str]] = {}  # the machine's macros the file should hold, in order
        removed: dict[str, list[str]] = {}
        refused: dict[str, list[str]] = {}
        errors: list[BaseException] = []

        def drive(m: Machine, seed: int):
            rng = random.Random(seed)
            made[m.name], removed[m.name], refused[m.name] = [], [], []
            try:
                for i in range(ATTEMPTS_PER_MACHINE):
                    name = f"{m.name}{i:03d}"
                    if made[m.name] and rng.random() < 0.3:
                        victim = rng.choice(made[m.name])
                        outcome = m.try_remove(victim)
                        if outcome == "made":
                            made[m.name].remove(victim)
                            removed[m.name].append(victim)
                    else:
                        outcome = m.try_import(self.source(name))
                        if outcome == "made":
                            made[m.name].append(name)
                    if outcome != "made":
                        self.assertIn(outcome, (IN_USE, CHANGED))
                        refused[m.name].append(name)
                    # The moments of the changes are the test's input: after a
                    # change a user goes on with other work for a random while;
                    # after the notice of a reload the user repeats at once,
                    # on the fresh list, as the notice asks.
                    time.sleep(rng.uniform(0, 0.3) if outcome == CHANGED else rng.uniform(0, 2.5))
            except BaseException as e:  # reported by the main thread
                errors.append(e)

        threads = [threading.Thread(target=drive, args=(m, 17 + k)) for k, m in enumerate(self.machines)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        if errors:
            raise errors[0]

        shared_file = self.shared / "SHARED.QLX"
        in_file = file_scope_texts(shared_file)
        all_made = made["A"] + made["B"]
        user = [t for t in in_file if t not in ("1", "2", "3", "4")]
        self.assertEqual(sorted(user), sorted(all_made), "the file holds exactly the changes reported as made")
        self.assertEqual(len(user), len(set(user)))
        # Each machine's own changes stand in the order it made them.
        for name in ("A", "B"):
            self.assertEqual([t for t in user if t.startswith(name)], made[name])
        self.assertGreater(len(made["A"]), 0)
        self.assertGreater(len(made["B"]), 0)
        self.assertGreater(len(removed["A"]) + len(removed["B"]), 0, "no removal went through")
        self.assertGreater(len(refused["A"]) + len(refused["B"]), 0, "the machines never met at the lock")
        for m in self.machines:
            m.sync()
            self.assertEqual(m.scope_texts(), in_file, f"machine {m.name} after its next sync")
        sync = (self.shared / "SHARED.MAS").read_bytes()
        self.assertEqual(struct.unpack_from("<h", sync, 4)[0], 2, "the lock is free at the end")
        print(f"\nin the file {len(made['A'])} + {len(made['B'])}, removed {len(removed['A'])} + "
              f"{len(removed['B'])}, refused {len(refused['A'])} + {len(refused['B'])}")

    def test_a_copy_killed_holding_the_lock_is_taken_over_after_the_minute(self):
        a, b = self.machines
        a.d.menu(IDM_IMPORT)
        a.d.wait_window("Import Macros")
        sync = self.shared / "SHARED.MAS"
        self.assertEqual(struct.unpack_from("<h", sync.read_bytes(), 4)[0], 1)
        a.s.stop(a.proc)  # dies holding the lock

        # B first sees the dead copy's lock during its first try: the minute
        # runs from before that try.
        first_try = time.monotonic()
        self.assertEqual(b.try_import(self.source("B000")), IN_USE)
        outcomes = []

        def taken_over():
            outcome = b.try_import(self.source(f"B{len(outcomes) + 1:03d}"))
            outcomes.append((time.monotonic() - first_try, outcome))
            return outcome != IN_USE

        b.s.wait_until(taken_over, 150, what="the abandoned lock to be taken over")
        elapsed, outcome = outcomes[-1]
        self.assertGreaterEqual(elapsed, 60, outcomes)
        # The dead copy's change is counted for it: this copy reloads first,
        # and its next change goes ahead.
        self.assertEqual(outcome, CHANGED)
        self.assertEqual(b.try_import(self.source("B999")), "made")
        self.assertIn("B999", file_scope_texts(self.shared / "SHARED.QLX"))
        self.assertEqual(struct.unpack_from("<h", sync.read_bytes(), 4)[0], 2)


if __name__ == "__main__":
    unittest.main()
