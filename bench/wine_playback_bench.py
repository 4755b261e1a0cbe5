#!/usr/bin/env python3
"""End-to-end playback benchmark under Wine: the real QUILX.EXE types a
5000-character macro (key delay 0) into target.exe, compared in the same run
with one batched SendInput of the same key events and with `xdotool type`;
then hot-key press to first character, compared with a bare xdotool key.

Figures are ratios to baselines measured in the same session, never absolute
limits. Typing rate counts from the first to the last character arriving, so
process start-up of either side is left out. Run from anywhere:

    QLX_WIN_BUILD=build/win python3 bench/wine_playback_bench.py [--trials N]
"""

from __future__ import annotations

import argparse
import os
import random
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "wine"))

import harness  # noqa: E402
from harness import WineSession  # noqa: E402
from macrofile import Macro, write_macro_file  # noqa: E402

TEXT_LENGTH = 5000
TYPE_CODE, TYPE_KEYS = 145, "ctrl+alt+b"        # Ctrl+Alt+B
PING_CODE, PING_KEYS = 154, "ctrl+alt+k"        # Ctrl+Alt+K
PING_CHAR = "z"
AB_PLAYBACK_STARTED = 777
POLL = 0.001
QUIET = 3.0            # no change for this long: whatever is missing is lost


def bench_text(length: int) -> str:
    """Printable ASCII (no '<', so no token) with a CR LF about every 60
    characters; exactly `length` characters, all typable on a US layout."""
    rng = random.Random(1998)
    alphabet = [chr(c) for c in range(32, 127) if chr(c) != "<"]
    out, line = [], 0
    while len(out) < length:
        if line >= 55 and rng.random() < 0.2 and len(out) + 2 <= length:
            out += ["\r", "\n"]
            line = 0
        else:
            out.append(rng.choice(alphabet))
            line += 1
    return "".join(out)


class Arrival:
    """Watches a target's output file: when the text first changed and when
    it reached its final length."""

    def __init__(self, target: harness.Target):
        self.path = target.out
        self.start_size = self.size()

    def size(self) -> int:
        try:
            return os.stat(self.path).st_size
        except FileNotFoundError:
            return 0

    def first_change(self, timeout: float) -> float:
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.size() != self.start_size:
                return time.monotonic()
            time.sleep(POLL)
        raise AssertionError(f"nothing arrived in {self.path.name} within {timeout}s")

    def last_change(self, expected_size: int) -> tuple[float, int]:
        """(time of the last change, final size): returns at the expected
        size, or once the size has been still for QUIET seconds."""
        last_size, last_time = self.size(), time.monotonic()
        while last_size < expected_size:
            time.sleep(POLL)
            now = self.size()
            if now != last_size:
                last_size, last_time = now, time.monotonic()
            elif time.monotonic() - last_time > QUIET:
                break
        return last_time, last_size


def typing_run(s: WineSession, title: str, expected: str, start) -> dict:
    t = s.start_target(title)
    watch = Arrival(t)
    t0 = time.monotonic()
    proc = start()
    first = watch.first_change(60)
    last, size = watch.last_change(len(expected))
    if proc is not None:
        proc.wait(60)
    received = t.text()
    lost = len(expected) - len(received)
    exact = received == expected
    s.post_close(title)
    s.wait_exit(t.proc)
    return {"rate": (len(received) - 1) / (last - first) if last > first else float("nan"),
            "seconds": last - first, "start": first - t0, "lost": lost, "exact": exact}


def latency_trial(s: WineSession, watch: Arrival, keys: str) -> float:
    watch.start_size = watch.size()
    t0 = time.monotonic()
    proc = subprocess.Popen(["xdotool", "key", keys], env={**os.environ, "DISPLAY": s.display},
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        return watch.first_change(10) - t0
    finally:
        proc.wait(10)


def playback_done(s: WineSession) -> None:
    s.wait_until(lambda: s.peek("QLBA1KGR", AB_PLAYBACK_STARTED, 1) == b"\0", 30,
                 what="the end of the playback")


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--trials", type=int, default=10, help="latency trials per method")
    args = ap.parse_args()
    for rel in ("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "testprogs/target.exe",
                "testprogs/wintool.exe", "testprogs/keepwarm.exe",
                "testprogs/sendinput_bench.exe"):
        if not (harness.win_build() / rel).exists():
            print(f"{harness.win_build() / rel} is not built", file=sys.stderr)
            return 2

    text = bench_text(TEXT_LENGTH)
    began = time.monotonic()
    with WineSession(name="bench") as s:
        write_macro_file(s.program_dir() / "QUILX.QLX", [
            Macro("Bench typing", TYPE_CODE, text),
            Macro("Bench ping", PING_CODE, PING_CHAR),
        ])
        s.start_quilx()
        text_file = s.temp_path("bench.txt")
        text_file.write_bytes(text.encode("ascii"))
        x_env = {**os.environ, "DISPLAY": s.display}

        def quillon():
            s.key(TYPE_KEYS)

        def sendinput():
            return s.start(s.testprog("sendinput_bench"), ["--text", s.win_path(text_file)])

        def xdotool():
            return subprocess.Popen(["xdotool", "type", "--delay", "0", "--file", "-"],
                                    env=x_env, stdin=subprocess.PIPE,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        runs = {}
        runs["quillon"] = typing_run(s, "Bench Quillon", text, quillon)
        playback_done(s)
        runs["sendinput"] = typing_run(s, "Bench SendInput", text, sendinput)

        def xdotool_fed():
            p = xdotool()
            p.stdin.write(text.replace("\r\n", "\n").encode("ascii"))
            p.stdin.close()
            return p

        runs["xdotool"] = typing_run(s, "Bench Xdotool", text, xdotool_fed)

        t = s.start_target("Bench Latency")
        watch = Arrival(t)
        hot, bare = [], []
        for _ in range(args.trials):
            hot.append(latency_trial(s, watch, PING_KEYS))
            playback_done(s)
            bare.append(latency_trial(s, watch, PING_CHAR))
        expected_ping = PING_CHAR * (2 * args.trials)
        ping_text = t.text()

    q, si, xd = runs["quillon"], runs["sendinput"], runs["xdotool"]
    hot_ms, bare_ms = statistics.median(hot) * 1000, statistics.median(bare) * 1000

    def verdict(ok: bool) -> str:
        return "met" if ok else "MISSED"

    rows = [
        ("typing rate, chars/s", f"{q['rate']:.0f}", "one SendInput batch", f"{si['rate']:.0f}",
         q["rate"] / si["rate"], ">= 0.95", verdict(q["rate"] / si["rate"] >= 0.95)),
        ("typing rate, chars/s", f"{q['rate']:.0f}", "xdotool type", f"{xd['rate']:.0f}",
         q["rate"] / xd["rate"], ">= 1", verdict(q["rate"] / xd["rate"] >= 1)),
        (f"hot key to 1st char, ms (median of {args.trials})", f"{hot_ms:.1f}",
         "bare xdotool key", f"{bare_ms:.1f}", hot_ms / bare_ms, "<= 1.5",
         verdict(hot_ms / bare_ms <= 1.5)),
    ]
    print(f"\n{len(text)}-character macro, key delay 0; Wine {wine_version()}\n")
    header = ("measure", "Quillon", "baseline", "baseline value", "ratio", "goal", "")
    widths = [max(len(str(r[i])) if i != 4 else 5 for r in rows + [header]) for i in range(7)]
    fmt = lambda r: "  ".join(  # noqa: E731
        (f"{r[i]:.2f}" if i == 4 and not isinstance(r[i], str) else str(r[i])).ljust(widths[i])
        for i in range(7))
    print(fmt(header))
    for r in rows:
        print(fmt(r))
    print()
    for name, r in (("Quillon", q), ("one SendInput", si), ("xdotool type", xd)):
        print(f"{name:14} {r['seconds']:6.2f} s first to last character, "
              f"characters lost {r['lost']} (must be 0), text exact: {r['exact']}")
    print(f"latency samples, ms: hot key {[round(h * 1000) for h in hot]}")
    print(f"                     bare key {[round(b * 1000) for b in bare]}")
    print(f"latency target text exact: {ping_text == expected_ping}")
    print(f"run time {time.monotonic() - began:.0f} s")
    return 0


def wine_version() -> str:
    try:
        return subprocess.run(["wine", "--version"], capture_output=True, text=True,
                              timeout=20).stdout.strip()
    except (OSError, subprocess.TimeoutExpired):
        return "?"


if __name__ == "__main__":
    sys.exit(main())
