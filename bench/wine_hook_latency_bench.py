#!/usr/bin/env python3
"""Added input latency of QLXHOOK.DLL's hooks under Wine, and where the
stall at the start of an `xdotool type` burst comes from.

1. Keystroke latency: `xdotool key z` to the light receiver's first change
   (sendinput_bench.exe --receive), with no hook installed, with a minimal
   low-level hook that only calls CallNextHookEx (minhook.exe), and with all
   four hooks of QLXHOOK.DLL (hookhost.exe standing in for the program, so
   Snapword characters are reported and the remap tables are active), and
   with QUILX.EXE itself running. All in one session, interleaved, as ratios
   to the no-hook baseline.
2. Burst start: `xdotool type` of a 200-character text, seconds from
   starting xdotool to the receiver's first character and to its last one,
   in the same three configurations.

    QLX_WIN_BUILD=build/win python3 bench/wine_hook_latency_bench.py [--trials N]
"""

from __future__ import annotations

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "wine"))
sys.path.insert(0, str(Path(__file__).resolve().parent))

import harness  # noqa: E402
from harness import WineSession  # noqa: E402
from wine_playback_bench import Receiver, latency_trial  # noqa: E402

BURST = "the quick brown fox jumps over the lazy dog " * 5  # 220 characters
BURST = BURST[:200]


class Hooks:
    """One configuration's hooks, started and stopped around its trials."""

    def __init__(self, s: WineSession, kind: str):
        self.s, self.kind, self.proc, self.host = s, kind, None, None

    def __enter__(self):
        s = self.s
        if self.kind == "minimal":
            self.proc = s.start(s.testprog("minhook"))
            log = next(p for p in s.dir.iterdir() if p.name.endswith("-minhook.log"))
            s.wait_until(lambda: "ready" in log.read_text(), 30, what="minhook ready")
        elif self.kind == "QLXHOOK":
            from test_hook import HookHost
            self.host = HookHost(s)
            self.host.command("remapid")
        elif self.kind == "QUILX":
            self.proc, _ = s.start_quilx()
        return self

    def __exit__(self, *exc):
        if self.kind == "QUILX":
            self.s.post_close("Quillon 98")
            self.s.wait_exit(self.proc, 15)
        elif self.proc is not None:
            self.s.stop(self.proc)
        if self.host is not None:
            self.host.command("quit")
            self.s.wait_exit(self.host.proc, 15)


def burst(s: WineSession, rx: Receiver) -> tuple[float, float]:
    before = rx.report()[0]
    t0 = time.monotonic()
    p = subprocess.Popen(["xdotool", "type", "--delay", "0", BURST], env={**os.environ, "DISPLAY": s.display},
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    first = rx.first_change(rx.size(), 30) - t0
    deadline = time.monotonic() + 60
    while rx.report()[0] < before + len(BURST) and time.monotonic() < deadline:
        time.sleep(0.01)
    p.wait(30)
    return first, time.monotonic() - t0


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--trials", type=int, default=15, help="keystrokes per configuration and round")
    ap.add_argument("--rounds", type=int, default=2)
    args = ap.parse_args()
    for rel in ("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "testprogs/hookhost.exe", "testprogs/minhook.exe",
                "testprogs/sendinput_bench.exe", "testprogs/wintool.exe", "testprogs/keepwarm.exe"):
        if not (harness.win_build() / rel).exists():
            print(f"{harness.win_build() / rel} is not built", file=sys.stderr)
            return 2
    kinds = ["none", "minimal", "QLXHOOK", "QUILX"]
    latency = {k: [] for k in kinds}
    bursts = {k: [] for k in kinds}
    with WineSession(name="hooklat") as s:
        for _ in range(args.rounds):
            for kind in kinds:
                with Hooks(s, kind):
                    rx = Receiver(s, f"Latency {kind}")
                    latency_trial(s, rx, "z")  # warm-up, not counted
                    latency[kind] += [latency_trial(s, rx, "z") for _ in range(args.trials)]
                    bursts[kind].append(burst(s, rx))
                    rx.close()
    base = statistics.median(latency["none"])
    print(f"keystroke X -> receiver WM_CHAR, median of {len(latency['none'])} (ratio to no hook):")
    for kind in kinds:
        m = statistics.median(latency[kind])
        print(f"  {kind:8s} {m * 1000:7.1f} ms  x{m / base:.2f}")
    print(f"xdotool type of {len(BURST)} characters: first character / all arrived (seconds, each round):")
    for kind in kinds:
        print(f"  {kind:8s} " + "  ".join(f"{f:.2f}/{t:.2f}" for f, t in bursts[kind]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
