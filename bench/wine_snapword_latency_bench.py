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

Then the whole replacement: from the key-down of a word's last character to
the last character of its 20-character replacement, against xdotool typing
those 20 characters into the same receiver (first key-down to last
character), in the receiver's message times, tries alternating (A B A B),
once with "Snapword Wait" at 0 (a wait on the target taking the Backspaces)
and once at the default 100 ms.

    QLX_WIN_BUILD=build/win python3 bench/wine_snapword_latency_bench.py [--trials N] [--tries N]
        [--replacement-only]
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
from wine_playback_bench import POLL, Receiver, latency_trial, playback_done, spread  # noqa: E402

WORD, REPLACEMENT = "qz", "Y"
# 20 characters that hold no Snapword, and the word that is replaced by them.
SNAP_TEXT, SNAP_WORD = "Best wishes, Quillon", "bwq"


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


def snapword_try(s: WineSession, rx: Receiver, text: str, expected: str, start_vk: int | None) -> dict:
    """Types `text` with xdotool after a space (which ends any word before) and
    waits for the receiver's text to end in " " + `expected`. The figure runs
    from the key-down of `start_vk` (the first key-down when None) to the last
    character, in message times."""
    before = rx.report()[3]
    s.key("space")
    s.wait_until(lambda: rx.report()[3] == before + " ", 10, what="the space before a try")
    start = len(rx.keys())
    subprocess.run(["xdotool", "type", "--delay", "0", text],
                   env={**os.environ, "DISPLAY": s.display}, check=True, timeout=10,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        s.wait_until(lambda: rx.report()[3].endswith(" " + expected), 10,
                     what=f"{expected!r} in {rx.title!r}")
    except AssertionError:
        return {"ms": float("nan"), "exact": False, "got": rx.report()[3][len(before):]}
    # The report may lag the key log by a message or two.
    last_char = ("C", ord(expected[-1]))

    def logged():
        new = rx.keys()[start:]
        return new if any(e[:2] == last_char for e in new) else None

    new = s.wait_until(logged, 10, what="the last character in the key log")
    first = next(e for e in new if e[0] == "D" and (start_vk is None or e[1] == start_vk))
    last = [e for e in new if e[:2] == last_char][-1]
    got = rx.report()[3][len(before):]
    return {"ms": float(last[3] - first[3]), "exact": got == " " + expected, "got": got}


def snapword_timed(s: WineSession, tries: int) -> dict[str, list[dict]]:
    """The whole replacement, last trigger character to the last character of
    the text, against xdotool typing the text itself; A B A B, with the wait
    after the Backspaces at 0 (on the condition) and at the default 100 ms."""
    ini = s.windows_dir() / "QUILX.INI"
    (s.program_dir() / "QUILX.QLX").write_bytes(
        macro_file_bytes([Macro("Bench replacement", 20000, SNAP_TEXT, snapword=SNAP_WORD)]))
    out: dict[str, list[dict]] = {}
    for wait in ("0", "100"):
        sections = {section: dict(keys) for section, keys in harness.read_ini(ini).items()} \
            if ini.exists() else {}
        sections.setdefault("Snapwords", {}).update({"Snapword Wait": wait, "Use Suffix": "No"})
        harness.write_ini(ini, sections)
        proc, _ = s.start_quilx()
        rx = Receiver(s, f"Bench Snapword {wait}", keylog=True)
        typed, replaced = out.setdefault(f"xdotool type, wait {wait}", []), \
            out.setdefault(f"Snapword, wait {wait}", [])
        for _ in range(tries):
            typed.append(snapword_try(s, rx, SNAP_TEXT, SNAP_TEXT, None))
            replaced.append(snapword_try(s, rx, SNAP_WORD, SNAP_TEXT, ord(SNAP_WORD[-1].upper())))
            playback_done(s)
        rx.close()
        s.post_close("Quillon 98 (QUILX)")
        s.wait_exit(proc, 30)
    return out


def print_snapword_timed(out: dict[str, list[dict]]) -> None:
    print(f"\nSnapword {SNAP_WORD!r} replaced by {len(SNAP_TEXT)} characters, "
          f"{len(next(iter(out.values())))} alternating tries, ms between message times:")
    for name, rs in out.items():
        ms = [r["ms"] for r in rs if r["exact"]]
        wrong = [r["got"] for r in rs if not r["exact"]]
        print(f"  {name:22} {spread(ms) if len(ms) >= 2 else ms}  wrong {len(wrong)} {wrong[:3]}")
    for wait in ("0", "100"):
        snap = [r["ms"] for r in out[f"Snapword, wait {wait}"] if r["exact"]]
        base = [r["ms"] for r in out[f"xdotool type, wait {wait}"] if r["exact"]]
        if snap and base:
            ratio = statistics.median(snap) / statistics.median(base)
            goal = f"goal <= 1.5: {'met' if ratio <= 1.5 else 'MISSED'}" if wait == "0" else ""
            print(f"  Snapword / xdotool type, wait {wait}: ratio {ratio:.2f} {goal}")


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--trials", type=int, default=15, help="trials of each kind")
    ap.add_argument("--tries", type=int, default=30, help="whole-replacement tries of each kind")
    ap.add_argument("--replacement-only", action="store_true",
                    help="only the whole replacement against xdotool type")
    args = ap.parse_args()
    for rel in ("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "testprogs/wintool.exe", "testprogs/keepwarm.exe",
                "testprogs/sendinput_bench.exe"):
        if not (harness.win_build() / rel).exists():
            print(f"{harness.win_build() / rel} is not built", file=sys.stderr)
            return 2
    bare, erased, replaced = [], [], []
    with WineSession(name="snaplat") as s:
        whole = snapword_timed(s, args.tries)
        if args.replacement_only:
            print_snapword_timed(whole)
            return 0
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
    print_snapword_timed(whole)
    return 0


if __name__ == "__main__":
    sys.exit(main())
