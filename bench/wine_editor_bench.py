#!/usr/bin/env python3
"""Editor opening under Wine: from the request (the macro's record read from
the macro file) to the editor painted, for the script editor and the direct
editor on a 5000-character macro of mixed commands. The baseline is the same
editor opened on an empty macro in the same session, so the ratio shows what
the macro itself costs. editorhost.exe opens the editors as the main window
does and times each opening itself. Run from anywhere:

    QLX_WIN_BUILD=build/win python3 bench/wine_editor_bench.py [--times N]
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

PIECES = [
    "Dear Sir or Madam,<ENTER>", "<CTLD>c<CTLU>", "<REPEAT:0003>row <I><ENTER><ENDREP>",
    "<DELAY:01.50>", "<MSD:0250>", '<WSIZE:0640,0480"CURRENT">',
    "<LAUNCHYES:05Notepad<LAUNCH:C:\\WINDOWS\\NOTEPAD.EXE<PARAM>readme.txt>",
    "<MM/DD/YY{YF000}>", "<hh:mm:ss AM{N}>", "<PAUSE:010,020Insert the disk>",
    "<REM:a remark about the next line>", "<COPYFILE:C:\\A.TXT;C:\\B.TXT>", "<WBW:003>",
    "<MMW:00010,00020><LCLK>", "<BEGCLIP>clip text<ENDCLIP><CLIPP>", "<SPEED:00.50>",
    "<HTTP:http://www.example.com>", "Price <10 and {braces}; ", "<ACTIVATE:Untitled - Notepad>",
    "<WMAX:Calculator>", "<TFILE:C:\\TEXT\\LETTER.TXT>"]


def mixed_macro(length: int) -> str:
    text, i = "", 0
    while len(text) < length:
        text += PIECES[i % len(PIECES)]
        i += 1
    return text[:length]


def measure(s: WineSession, path: Path, which: str, n: int, times: int) -> list[float]:
    r = s.run(s.testprog("editorhost"), [which, s.win_path(path), str(n), "--measure", str(times)],
              timeout=60 + 5 * times)
    if r.returncode != 0:
        raise SystemExit(f"editorhost {which} {n}: exit {r.returncode}: {r.stderr.strip()}")
    return [float(line.split()[1]) for line in r.stdout.splitlines() if line.startswith("open-ms")]


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--times", type=int, default=20, help="openings per editor and macro")
    args = parser.parse_args()
    harness.require_build("testprogs/editorhost.exe", "testprogs/keepwarm.exe")
    with WineSession(name="editor-bench") as s:
        path = s.temp_path("BENCH.QLX")
        write_macro_file(path, [Macro("Long", 144, mixed_macro(5000)), Macro("Empty", 145, "")])
        print(f"{'editor':<8} {'macro':<6} {'median ms':>10} {'min ms':>8} {'max ms':>8}")
        for which in ("script", "direct"):
            # The first opening of a process pays for loading; it is not counted.
            long_ms = measure(s, path, which, 1, args.times + 1)[1:]
            empty_ms = measure(s, path, which, 2, args.times + 1)[1:]
            for name, ms in (("5000", long_ms), ("empty", empty_ms)):
                print(f"{which:<8} {name:<6} {statistics.median(ms):>10.1f} {min(ms):>8.1f} {max(ms):>8.1f}")
            print(f"{which:<8} ratio 5000/empty: {statistics.median(long_ms) / statistics.median(empty_ms):.2f}")


if __name__ == "__main__":
    main()
