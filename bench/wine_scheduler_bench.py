#!/usr/bin/env python3
"""Timed-macro start under Wine: how late after its minute a timed macro
starts, over several runs, against the tick interval ("Timer Seconds" = 1 s)
as the baseline the lateness is bounded by.

Each run starts schedhost.exe's scheduler (the real timers and the real
player) on a clock set to read 10:00:58 and a random fraction of a second at
its start (so the ticks fall anywhere within a second of the minute) and going on at the
real pace; a daily macro at 10:01 types into target.exe. The lateness is the
scheduler's own reading of the clock when it starts the macro, minus 10:01.
Run from anywhere:

    QLX_WIN_BUILD=build/win python3 bench/wine_scheduler_bench.py [--runs N]
"""

from __future__ import annotations

import argparse
import random
import statistics
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "wine"))

import harness  # noqa: E402
from harness import WineSession  # noqa: E402
from macrofile import write_program_folder  # noqa: E402
from test_scheduler import DAILY, TARGET, ms, parse_log, timed  # noqa: E402

TICK_MS = 1000
MINUTE = ms(10, 1)


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=10)
    args = parser.parse_args()
    harness.require_build("testprogs/schedhost.exe", "testprogs/target.exe", "testprogs/keepwarm.exe")
    late = []
    with WineSession(name="schedbench") as s:
        target = s.start_target(TARGET)
        for run in range(args.runs):
            path = write_program_folder(s.temp_path("prog"), [timed("x", DAILY)])
            log = s.temp_path("schedule.log")
            at = f"10:00:58.{random.randrange(1000):03d}"
            proc = s.start(s.testprog("schedhost"), ["run", s.win_path(path), at, s.win_path(log)])
            try:
                due = s.wait_until(lambda: parse_log(log)[1], 20, what="the macro's start")
                target.wait_text("x" * (run + 1))
            finally:
                s.stop(proc)
            late.append(due[0][1] - MINUTE)
    print(f"timed macro start after its minute over {len(late)} runs: "
          f"mean {statistics.mean(late):.0f} ms, median {statistics.median(late):.0f} ms, "
          f"max {max(late)} ms")
    print(f"as a share of the tick interval ({TICK_MS} ms): mean {statistics.mean(late) / TICK_MS:.2f}, "
          f"max {max(late) / TICK_MS:.2f} (within one interval: {all(0 <= x < TICK_MS for x in late)})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
