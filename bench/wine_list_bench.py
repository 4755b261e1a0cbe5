#!/usr/bin/env python3
"""Main-window benchmark under Wine: from an operation's confirmation to the
macro list painted again, with a file of 500 macros, beside the same
operations on a file of 10 macros measured in the same run (the ratio shows
whether the list's cost grows with the number of macros).

Two operations: Activate/Deactivate (no question; timed from the command)
and Remove (timed from the click on "Yes" of its question, through the
one-step rewrite of the file, the reload and the repaint). macrolistprobe.exe
runs the rounds inside Wine and reads the list's update region, so the
figures hold no process start-up. Run from anywhere:

    QLX_WIN_BUILD=build/win python3 bench/wine_list_bench.py [--rounds N]
"""

from __future__ import annotations

import argparse
import statistics
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "wine"))

import harness  # noqa: E402
from harness import WineSession  # noqa: E402
from macrofile import Macro, write_macro_file  # noqa: E402

IDM_ACTIVATE_MACRO = 1108
IDM_REMOVE_MACRO = 1107
TITLE = "Quillon 98 (QUILX)"


def macros(count: int) -> list[Macro]:
    """`count` macros with the four system macros: hot keys, Snapwords and
    timed macros. The hot keys are Alt keys, listed before the system
    macros, so the first row is always one that can be removed."""
    out = []
    for n in range(count - 4):
        kind = n % 10
        code = 10000 if kind == 0 else 20000 if kind == 1 else 48 + (n * 13) % 48
        out.append(Macro(f"Macro {(n * 7919) % 1000} of the file", code, "text " * 20,
                         snapword=f"sw{n}" if code == 20000 else "", active=n % 3 != 0))
    return out


def measure(s: WineSession, count: int, rounds: int) -> tuple[list[float], list[float]]:
    prog = s.program_dir(new=True)
    write_macro_file(prog / "QUILX.QLX", macros(count), with_system=True)
    # The settings of a run before would name that run's file.
    (s.windows_dir() / "QUILX.INI").unlink(missing_ok=True)
    proc, _ = s.start_quilx()
    probe = s.testprog("macrolistprobe")
    # The first row stays selected: each round acts on it.
    r = s.run(probe, ["time", TITLE, str(IDM_ACTIVATE_MACRO), str(rounds)], timeout=120)
    if r.returncode != 0:
        raise SystemExit(f"macrolistprobe time: exit {r.returncode} {r.stderr}")
    activate = [float(x) for x in r.stdout.split()]
    r = s.run(probe, ["confirm", TITLE, str(IDM_REMOVE_MACRO), "Delete", str(rounds)], timeout=300)
    if r.returncode != 0:
        raise SystemExit(f"macrolistprobe confirm: exit {r.returncode} {r.stderr}")
    remove = [float(x) for x in r.stdout.split()]
    s.post_close(TITLE)
    s.wait_exit(proc, 30)
    return activate, remove


def main() -> None:
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--rounds", type=int, default=20)
    args = ap.parse_args()
    harness.require_build("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "testprogs/macrolistprobe.exe",
                          "testprogs/keepwarm.exe")
    with WineSession(name="listbench") as s:
        small = measure(s, 10, min(args.rounds, 4))
        full = measure(s, 500, args.rounds)
    print(f"{'operation':<22}{'10 macros ms':>14}{'500 macros ms':>15}{'ratio':>8}")
    for name, a, b in (("activate -> painted", small[0], full[0]), ("remove -> painted", small[1], full[1])):
        ma, mb = statistics.median(a), statistics.median(b)
        print(f"{name:<22}{ma:>14.1f}{mb:>15.1f}{mb / ma:>8.2f}")


if __name__ == "__main__":
    main()
