#!/usr/bin/env python3
"""End-to-end playback benchmark under Wine: the real QUILX.EXE types a
5000-character macro (key delay 0) into a window, compared in the same run
with one batched SendInput of the same key events and with `xdotool type`;
then hot-key press to first character, compared with the same chord pressed
into the receiver while the program is not running (the receiver counts a
Ctrl+Alt+letter press as that letter), with a bare xdotool key and with a
hot key that has no modifiers beside it.

Figures are ratios to baselines measured in the same session, never absolute
limits. The receiving window is the light receiver of sendinput_bench.exe,
not target.exe: target.exe's edit control and its file write per character
hold any typist to a couple of hundred characters a second, which would hide
the typist's own speed. Typing rate counts from the 100th to the last
character in the receiver's clock, so start-up of either side is left out
(and so is the stall of a second or more that xdotool's bursts show at their
start while QLXHOOK.DLL's hooks are installed);
latency is from starting xdotool to the receiver's report changing, for every
key.

The receiver-timed comparison leaves the sender's start out: the receiver
logs every key message with its message time and its performance counter at
handling, and each figure runs from the key-down of the first key it sees to
the key-down of the chord's last key (program not running) or to the
key-down of the macro's first character (program running; the hook passes
the modifiers and swallows the letter). Message times count, as they do not
depend on when the receiver gets to run; the counter at handling is printed
beside them. Real keys carry the X server's time mapped by Wine, the macro's
keys the tick at SendInput, so the hot-key figures mix the two.
F9 has no modifier for the receiver to see, so an unassigned Shift tap goes
just before it, and before the bare key it is compared with. The program is
started and closed for every pair of tries, so the baseline and the hot key
alternate; a hot key that is not timed follows each start. Run from anywhere:

    QLX_WIN_BUILD=build/win python3 bench/wine_playback_bench.py [--rounds N] [--trials N]
        [--tries N] [--receiver-timed-only]
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
# A hot key without modifiers separates the cost of the chord (three X key
# presses, and the modifiers handed back before typing) from the rest.
PLAIN_CODE, PLAIN_KEYS = 296, "F9"
PING_CHAR = "z"
# The Shift tap the receiver times F9 and the bare key from.
MARK_KEYS, VK_SHIFT, VK_CONTROL, VK_F9 = "Shift_L", 0x10, 0x11, 0x78
AB_PLAYBACK_STARTED = 777
POLL = 0.001
QUIET = 8.0            # no change for this long: whatever is missing is lost
MARK = 100             # the rate counts from this character on (the receiver's mark)


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


class Receiver:
    """A running light receiver (sendinput_bench.exe --receive): what it
    collected and when, in its own clock."""

    def __init__(self, s: WineSession, title: str, keylog: bool = False):
        self.s = s
        self.title = title
        self.path = s.temp_path("receiver.txt")
        self.keylog = s.temp_path("receiver-keys.txt") if keylog else None
        args = ["--receive", s.win_path(self.path), title]
        if self.keylog:
            args.append(s.win_path(self.keylog))
        self.proc = s.start(s.testprog("sendinput_bench"), args)
        s.wait_until(self.path.exists, 30, what=f"receiver {title!r}")
        self.wid = s.wait_for_window(title)
        s.focus(self.wid)

    def keys(self) -> list[tuple[str, int, int, int]]:
        """The key log's complete lines: (D|U|C, key or character, counter,
        message time in ms)."""
        lines = self.keylog.read_bytes().split(b"\n")[:-1]
        return [(k.decode(), int(c), int(q), int(t))
                for k, c, q, t in (line.split() for line in lines)]

    def freq(self) -> int:
        return int(self.path.read_bytes().partition(b"\n")[0].split()[3])

    def report(self) -> tuple[int, float, float, str]:
        """(characters, seconds from the first to the last one, seconds from
        the 100th to the last one, text)."""
        for _ in range(100):
            try:
                data = self.path.read_bytes()
                break
            except FileNotFoundError:     # between the writer's remove and rename
                time.sleep(POLL)
        head, _, body = data.partition(b"\n")
        n, first, last, freq, at_mark = map(int, head.split())
        steady = (last - at_mark) / freq if at_mark else 0.0
        return n, (last - first) / freq, steady, body.decode("cp1252")

    def size(self) -> int:
        try:
            return os.stat(self.path).st_size
        except FileNotFoundError:
            return -1

    def wait_for(self, expected: int, timeout: float) -> tuple[int, float, float, str]:
        """The report once it holds `expected` characters, or once nothing
        has changed for QUIET seconds (the rest is lost)."""
        deadline = time.monotonic() + timeout
        last, since = None, time.monotonic()
        while time.monotonic() < deadline:
            r = self.report()
            if r[0] >= expected:
                return r
            if r != last:
                last, since = r, time.monotonic()
            elif time.monotonic() - since > QUIET:
                return r
            time.sleep(0.05)
        return self.report()

    def first_change(self, before: int, timeout: float) -> float:
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.size() not in (before, -1):
                return time.monotonic()
            time.sleep(POLL)
        raise AssertionError(f"nothing arrived in {self.title!r} within {timeout}s")

    def close(self) -> None:
        self.s.post_close(self.title)
        self.s.wait_exit(self.proc)


def typing_run(s: WineSession, title: str, expected: str, start) -> dict:
    rx = Receiver(s, title)
    proc = start()
    n, seconds, steady, received = rx.wait_for(len(expected), 180)
    if proc is not None:
        proc.wait(60)
    rx.close()
    return {"rate": (n - MARK) / steady if steady > 0 else float("nan"), "seconds": seconds,
            "lost": len(expected) - n, "exact": received == expected}


def latency_trial(s: WineSession, rx: Receiver, keys: str) -> float:
    before = rx.size()
    t0 = time.monotonic()
    # --delay 0: xdotool would otherwise pause between the keys of a chord.
    proc = subprocess.Popen(["xdotool", "key", "--delay", "0", keys],
                            env={**os.environ, "DISPLAY": s.display},
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        return rx.first_change(before, 10) - t0
    finally:
        proc.wait(10)


def timed_try(s: WineSession, rx: Receiver, keys: list[str], end: tuple[str, int]) -> dict:
    """Presses `keys` and waits for the receiver to log `end`. The figure runs
    from the first key-down logged after the press began to the key-down that
    ends it (`end` itself, or for a character the key-down that typed it), in
    message times ("ms"), and in the counter at handling ("handled_ms").
    `seen` is what was logged up to `end`."""
    start = len(rx.keys())
    subprocess.run(["xdotool", "key", "--delay", "0", *keys],
                   env={**os.environ, "DISPLAY": s.display}, check=True, timeout=10,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def ended():
        new = rx.keys()[start:]
        return new if any((k, c) == end for k, c, _, _ in new) else None

    new = s.wait_until(ended, 10, what=f"{end} in {rx.title!r} after {keys}")
    new = new[:next(i for i, e in enumerate(new) if e[:2] == end) + 1]
    first = next(e for e in new if e[0] == "D")
    last = next(e for e in reversed(new) if e[0] == "D")
    return {"ms": float(last[3] - first[3]),
            "handled_ms": (new[-1][2] - first[2]) * 1000 / rx.freq(),
            "seen": [f"{k}{c:02X}" for k, c, _, _ in new]}


def receiver_timed(s: WineSession, tries: int) -> dict[str, list[dict]]:
    """Tries alternating program not running (A) and running (B)."""
    chord = PING_KEYS.split("+")
    chord_letter = ("D", ord(chord[-1].upper()))
    typed = ("C", ord(PING_CHAR))
    rx = Receiver(s, "Bench Receiver Timed", keylog=True)
    out: dict[str, list[dict]] = {k: [] for k in
                                  ("chord alone", "chord hot key", "F9 alone", "F9 hot key",
                                   "bare key")}
    for _ in range(tries):
        out["chord alone"].append(timed_try(s, rx, [PING_KEYS], chord_letter))
        out["F9 alone"].append(timed_try(s, rx, [MARK_KEYS, PLAIN_KEYS], ("D", VK_F9)))
        proc, _ = s.start_quilx()
        s.focus(rx.wid)
        timed_try(s, rx, [PLAIN_KEYS], typed)     # the first hot key after start-up
        playback_done(s)
        out["chord hot key"].append(timed_try(s, rx, [PING_KEYS], typed))
        playback_done(s)
        out["F9 hot key"].append(timed_try(s, rx, [MARK_KEYS, PLAIN_KEYS], typed))
        playback_done(s)
        out["bare key"].append(timed_try(s, rx, [MARK_KEYS, PING_CHAR], typed))
        s.post_close("Quillon 98 (QUILX)")
        s.wait_exit(proc, 30)
        s.focus(rx.wid)
    rx.close()
    return out


def spread(values: list[float]) -> str:
    q1, q2, q3 = statistics.quantiles(values, n=4, method="inclusive")
    return (f"median {q2:6.2f}  min {min(values):6.2f}  q1 {q1:6.2f}  q3 {q3:6.2f}  "
            f"max {max(values):6.2f}")


def print_receiver_timed(out: dict[str, list[dict]]) -> None:
    tries = len(out["chord alone"])
    print(f"\nReceiver-timed, {tries} alternating tries (program not running / running), "
          f"ms between key-down message times (handled: the counter when handled):")
    for name, rs in out.items():
        print(f"  {name:14} {spread([r['ms'] for r in rs])}")
        print(f"  {'':14} handled: {spread([r['handled_ms'] for r in rs])}")
        print(f"  {'':14} logged, first try: {' '.join(rs[0]['seen'])}")

    def med(name: str, key: str = "ms") -> float:
        return statistics.median(r[key] for r in out[name])

    # Message times step by 1 ms; a baseline of 0 gives no ratio, the excess remains.
    for hot, base in (("chord hot key", "chord alone"), ("F9 hot key", "F9 alone"),
                      ("F9 hot key", "bare key"), ("chord hot key", "bare key")):
        ratio = f"{med(hot) / med(base):.2f}" if med(base) > 0 else "n/a (baseline 0)"
        print(f"  {hot} / {base}: ratio {ratio}, excess {med(hot) - med(base):.1f} ms; "
              f"handled: ratio {med(hot, 'handled_ms') / med(base, 'handled_ms'):.2f}")


def playback_done(s: WineSession) -> None:
    s.wait_until(lambda: s.peek("QLBA1KGR", AB_PLAYBACK_STARTED, 1) == b"\0", 30,
                 what="the end of the playback")


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--rounds", type=int, default=3,
                    help="typing runs per method, interleaved; the best counts")
    ap.add_argument("--trials", type=int, default=20, help="latency trials per method")
    ap.add_argument("--tries", type=int, default=30,
                    help="receiver-timed tries per kind, alternating program not running "
                         "and running")
    ap.add_argument("--receiver-timed-only", action="store_true",
                    help="only the receiver-timed comparison")
    args = ap.parse_args()
    for rel in ("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "testprogs/wintool.exe",
                "testprogs/keepwarm.exe", "testprogs/sendinput_bench.exe"):
        if not (harness.win_build() / rel).exists():
            print(f"{harness.win_build() / rel} is not built", file=sys.stderr)
            return 2

    text = bench_text(TEXT_LENGTH)
    began = time.monotonic()
    with WineSession(name="bench") as s:
        write_macro_file(s.program_dir() / "QUILX.QLX", [
            Macro("Bench typing", TYPE_CODE, text),
            Macro("Bench ping", PING_CODE, PING_CHAR),
            Macro("Bench ping plain", PLAIN_CODE, PING_CHAR),
        ])
        timed = receiver_timed(s, args.tries)
        if args.receiver_timed_only:
            print_receiver_timed(timed)
            print(f"run time {time.monotonic() - began:.0f} s")
            return 0
        # The fair baseline first, before the program and its hooks exist:
        # the very chord of the hot key, arriving in the receiver itself.
        rx0 = Receiver(s, "Bench Chord Alone")
        chord = [latency_trial(s, rx0, PING_KEYS) for _ in range(args.trials)]
        chord_exact = rx0.wait_for(args.trials, 10)[3] == PING_KEYS[-1] * args.trials
        rx0.close()

        s.start_quilx()
        text_file = s.temp_path("bench.txt")
        text_file.write_bytes(text.encode("ascii"))

        def quillon():
            s.key(TYPE_KEYS)

        def sendinput():
            return s.start(s.testprog("sendinput_bench"), ["--text", s.win_path(text_file)])

        def xdotool():
            p = subprocess.Popen(["xdotool", "type", "--delay", "0", "--file", "-"],
                                 env={**os.environ, "DISPLAY": s.display},
                                 stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
            p.stdin.write(text.replace("\r\n", "\n").encode("ascii"))
            p.stdin.close()
            return p

        # QUILX.EXE and its hooks run during every method alike.
        methods = {"Quillon": quillon, "one SendInput": sendinput, "xdotool type": xdotool}
        runs: dict[str, list[dict]] = {name: [] for name in methods}
        for r in range(args.rounds):
            for name, start in methods.items():
                runs[name].append(typing_run(s, f"Bench {name} {r + 1}", text, start))
                if name == "Quillon":
                    playback_done(s)

        rx = Receiver(s, "Bench Latency")
        hot, bare, plain = [], [], []
        for _ in range(args.trials):
            hot.append(latency_trial(s, rx, PING_KEYS))
            playback_done(s)
            bare.append(latency_trial(s, rx, PING_CHAR))
            plain.append(latency_trial(s, rx, PLAIN_KEYS))
            playback_done(s)
        ping_exact = rx.wait_for(3 * args.trials, 10)[3] == PING_CHAR * (3 * args.trials)
        rx.close()

    best = {name: max(rs, key=lambda r: r["rate"]) for name, rs in runs.items()}
    q, si, xd = best["Quillon"], best["one SendInput"], best["xdotool type"]
    hot_ms, bare_ms = statistics.median(hot) * 1000, statistics.median(bare) * 1000
    chord_ms = statistics.median(chord) * 1000
    plain_ms = statistics.median(plain) * 1000

    def verdict(ok: bool) -> str:
        return "met" if ok else "MISSED"

    rows = [
        ("typing rate, chars/s", f"{q['rate']:.0f}", "one SendInput batch", f"{si['rate']:.0f}",
         q["rate"] / si["rate"], ">= 0.95", verdict(q["rate"] / si["rate"] >= 0.95)),
        ("typing rate, chars/s", f"{q['rate']:.0f}", "xdotool type", f"{xd['rate']:.0f}",
         q["rate"] / xd["rate"], ">= 1", verdict(q["rate"] / xd["rate"] >= 1)),
        (f"hot key to 1st char, ms (median of {args.trials})", f"{hot_ms:.1f}",
         "same chord, program not running", f"{chord_ms:.1f}", hot_ms / chord_ms, "<= 1.5",
         verdict(hot_ms / chord_ms <= 1.5)),
        (f"hot key to 1st char, ms (median of {args.trials})", f"{hot_ms:.1f}",
         "bare xdotool key", f"{bare_ms:.1f}", hot_ms / bare_ms, "", ""),
        (f"F9 hot key (no modifiers), ms (median of {args.trials})", f"{plain_ms:.1f}",
         "bare xdotool key", f"{bare_ms:.1f}", plain_ms / bare_ms, "", ""),
    ]
    lost = sum(r["lost"] for r in runs["Quillon"])
    rows.append(("characters lost by Quillon", str(lost), "", "", "", "0", verdict(lost == 0)))
    header = ("measure", "Quillon", "baseline", "baseline value", "ratio", "goal", "")
    cells = [[f"{c:.2f}" if isinstance(c, float) else str(c) for c in row]
             for row in [header] + rows]
    widths = [max(len(row[i]) for row in cells) for i in range(len(header))]
    print(f"\n{len(text)}-character macro, key delay 0, {args.rounds} round(s) (best counts); "
          f"{wine_version()}\n")
    for row in cells:
        print("  ".join(c.ljust(w) for c, w in zip(row, widths)).rstrip())
    print()
    for name, rs in runs.items():
        for i, r in enumerate(rs, 1):
            print(f"{name:14} run {i}: {r['rate']:7.0f} chars/s from the {MARK}th, "
                  f"{r['seconds']:6.2f} s first to last, lost {r['lost']}, "
                  f"text exact {r['exact']}")
    print(f"latency, ms: hot key  {[round(h * 1000) for h in hot]}")
    print(f"             chord alone {[round(c * 1000) for c in chord]}")
    print(f"             bare key {[round(b * 1000) for b in bare]}")
    print(f"             F9 hot key (no modifiers) {[round(p * 1000) for p in plain]}")
    print(f"latency text exact: {ping_exact}; chord alone arrived as its letter: {chord_exact}")
    print_receiver_timed(timed)
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
