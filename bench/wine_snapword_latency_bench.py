#!/usr/bin/env python3
"""Snapword latency under Wine: from the X key press of a Snapword's last
character to the first character of its replacement in the window in front,
as a ratio to a bare keystroke's arrival, in the same session with QUILX.EXE
running (the hooks installed, Snapwords active).

Per trial: the Snapword's first character is typed and seen to arrive; then
the clock starts with `xdotool key` of its last character and stops when the
light receiver (sendinput_bench.exe --receive) holds the replacement. The
time to the first Backspace (the program has heard the word) is reported
beside it; the rest is the fixed settle time before the playback and the
playback itself. Bare keystrokes of a character that starts nothing are
interleaved with the Snapword trials.

    QLX_WIN_BUILD=build/win python3 bench/wine_snapword_latency_bench.py [--trials N]
"""

from __future__ import annotations

import argparse
import os
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "wine"))
sys.path.insert(0, str(Path(__file__).resolve().parent))

import harness  # noqa: E402
from harness import WineSession  # noqa: E402
from macrofile import Macro, macro_file_bytes  # noqa: E402
from wine_playback_bench import POLL, Receiver, latency_trial, playback_done  # noqa: E402

WORD, REPLACEMENT = "qz", "Y"


def press(s: WineSession, key: str) -> subprocess.Popen:
    return subprocess.Popen(["xdotool", "key", "--delay", "0", key], env={**os.environ, "DISPLAY": s.display},
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def wait_text(rx: Receiver, predicate, timeout: float = 10) -> float:
    """The time at which the receiver's text first satisfies `predicate`."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if predicate(rx.report()[3]):
            return time.monotonic()
        time.sleep(POLL)
    raise AssertionError(f"receiver text {rx.report()[3]!r} did not arrive")


def snapword_trial(s: WineSession, rx: Receiver) -> tuple[float, float]:
    """(seconds until the word is erased, seconds until the replacement)."""
    press(s, "space").wait(10)       # a separator: the word starts afresh
    wait_text(rx, lambda t: t.endswith(" "))
    press(s, WORD[0]).wait(10)
    wait_text(rx, lambda t: t.endswith(" " + WORD[0]))
    before = rx.report()[3]
    t0 = time.monotonic()
    p = press(s, WORD[-1])
    try:
        # The word's last character arrives, then the Backspaces take the
        # word away: the text is shorter than before it.
        erased = wait_text(rx, lambda t: len(t) < len(before))
        replaced = wait_text(rx, lambda t: t == before[:-len(WORD[:-1])] + REPLACEMENT)
    finally:
        p.wait(10)
    playback_done(s)
    return erased - t0, replaced - t0


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--trials", type=int, default=15, help="trials of each kind")
    args = ap.parse_args()
    for rel in ("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "testprogs/wintool.exe", "testprogs/keepwarm.exe",
                "testprogs/sendinput_bench.exe"):
        if not (harness.win_build() / rel).exists():
            print(f"{harness.win_build() / rel} is not built", file=sys.stderr)
            return 2
    bare, erased, replaced = [], [], []
    with WineSession(name="snaplat") as s:
        (s.program_dir() / "QUILX.QLX").write_bytes(
            macro_file_bytes([Macro("Bench word", 20000, REPLACEMENT, snapword=WORD)]))
        proc, _ = s.start_quilx()
        rx = Receiver(s, "Snapword latency")
        latency_trial(s, rx, "x")  # warm-up, not counted
        snapword_trial(s, rx)
        for _ in range(args.trials):
            bare.append(latency_trial(s, rx, "x"))
            e, r = snapword_trial(s, rx)
            erased.append(e)
            replaced.append(r)
        rx.close()
        s.post_close("Quillon 98")
        s.wait_exit(proc, 15)
    base = statistics.median(bare)
    print(f"QUILX.EXE running, Snapword {WORD!r} -> {REPLACEMENT!r}, median of {args.trials}:")
    print(f"  bare keystroke          {base * 1000:7.1f} ms  x1.00")
    for name, values in (("to the word erased", erased), ("to the replacement", replaced)):
        m = statistics.median(values)
        print(f"  {name:23s} {m * 1000:7.1f} ms  x{m / base:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
