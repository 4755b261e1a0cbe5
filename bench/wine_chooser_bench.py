#!/usr/bin/env python3
"""Popup-menu chooser latency under Wine, through QUILX.EXE: from pressing a
popup-menu macro's hot key to its chooser "Choose A Macro" shown with
nothing left to paint, against a plain hot-key macro's start (the same
press to its first character arriving in target.exe) in the same run.

The chooser is watched from inside Wine by `wintool painted`, which polls
every millisecond; the target writes its text to a file on every change.
Both clocks start just before xdotool is asked to press the key, so both
figures carry xdotool's own start alike. Interleaved trials, medians.

    QLX_WIN_BUILD=build/win python3 bench/wine_chooser_bench.py [--trials N]
"""

from __future__ import annotations

import argparse
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "wine"))

import harness  # noqa: E402
from harness import WineSession  # noqa: E402
from macrofile import SCOPE_POPUP, Macro  # noqa: E402

CHOOSER = "Choose A Macro"
MENU_KEY, PLAIN_KEY = "ctrl+alt+p", "ctrl+alt+h"
GOAL_MS = 150


def macro_file() -> bytes:
    import struct
    plain = Macro("Plain", 144 + ord("h") - ord("a"), "h")
    entry = Macro("Entry", 240, "e")
    menu = bytearray(Macro("Menu", 144 + ord("p") - ord("a"), scope=SCOPE_POPUP, snapword="N30").to_bytes())
    struct.pack_into("<HH", menu, 100, 1, 2)   # one entry: macro 2
    return plain.to_bytes() + entry.to_bytes() + bytes(menu)


def wait_file(path: Path, timeout: float, what: str) -> float:
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if path.exists() and path.stat().st_size:
            return time.monotonic()
        time.sleep(0.001)
    raise AssertionError(f"no {what} within {timeout}s")


def chooser_trial(s: WineSession) -> float:
    out = s.temp_path("painted.txt")
    watcher = subprocess.Popen(["wine", str(s.testprog("wintool")), "painted", CHOOSER, s.win_path(out), "20"],
                               env=s.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        if watcher.stdout.readline().strip() != "ready":
            raise AssertionError("wintool painted did not start")
        t0 = time.monotonic()
        s.key(MENU_KEY)
        done = wait_file(out, 20, "painted chooser")
    finally:
        watcher.wait(30)
    # Cancelled from outside: the window manager may not have handed the
    # chooser the X focus (Wine's foreground it has), so keys could miss it.
    s.click_button(CHOOSER, "Cancel")
    s.window_gone(CHOOSER)
    return done - t0


def plain_trial(s: WineSession, target: harness.Target) -> float:
    before = len(target.text())
    t0 = time.monotonic()
    s.key(PLAIN_KEY)
    deadline = time.monotonic() + 20
    while len(target.text()) == before:
        if time.monotonic() > deadline:
            s.screenshot("/tmp/chooserbench-fail.png")
            raise AssertionError("the plain macro typed nothing; in front: "
                                 + s.wintool("foreground").stdout.strip())
        time.sleep(0.001)
    done = time.monotonic()
    s.wait_playback_done()
    return done - t0


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--trials", type=int, default=15)
    args = ap.parse_args()
    harness.require_build("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "testprogs/wintool.exe",
                          "testprogs/target.exe", "testprogs/keepwarm.exe")
    chooser, plain = [], []
    with WineSession(name="chooserbench") as s:
        (s.program_dir() / "QUILX.QLX").write_bytes(macro_file())
        proc, _ = s.start_quilx()
        target = s.start_target("Chooser Bench Target")
        # One of each first, not counted: the first chooser loads its fonts.
        chooser_trial(s)
        target.focus()
        plain_trial(s, target)
        for _ in range(args.trials):
            target.focus()
            chooser.append(chooser_trial(s))
            target.focus()
            plain.append(plain_trial(s, target))
        s.post_close("Quillon 98")
        s.wait_exit(proc, 15)
    c, p = statistics.median(chooser), statistics.median(plain)
    print(f"popup hot key -> chooser painted, median of {len(chooser)}: {c * 1000:.0f} ms "
          f"(min {min(chooser) * 1000:.0f}, max {max(chooser) * 1000:.0f}); goal {GOAL_MS} ms")
    print(f"plain hot key -> first character, median of {len(plain)}: {p * 1000:.0f} ms "
          f"(min {min(plain) * 1000:.0f}, max {max(plain) * 1000:.0f})")
    print(f"ratio chooser / plain macro start: {c / p:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
