#!/usr/bin/env python3
"""Network mode under Wine: how long after one machine's change a second
machine shows it, (1) by automatic synchronisation with Sync Minutes 1 and
(2) through the hot-key path, whose check of the sync file runs before a
macro is chosen. Two Wine prefixes with their own wineservers share one
macro file; the change is an import on machine A, the time runs from the
end of A's import until machine B's tables hold the new macro. Baseline in
the same run: the time until B's own import shows in its tables.
Run from anywhere:

    QLX_WIN_BUILD=build/win python3 bench/wine_network_bench.py
"""

from __future__ import annotations

import shutil
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "wine"))

import harness  # noqa: E402
from harness import write_ini  # noqa: E402
from test_network import Machine  # noqa: E402
from macrofile import SCOPE_WINDOW, Macro, write_macro_file  # noqa: E402


def shown_after(machine: Machine, count: int, start: float, timeout: float) -> float:
    machine.s.wait_until(lambda: len(machine.scope_texts()) > count, timeout, what="the change on B")
    return time.monotonic() - start


def main() -> int:
    harness.require_build("dist/QUILX.EXE", "testprogs/sharingtool.exe", "testprogs/wintool.exe")
    harness.SESSIONS_DIR.mkdir(parents=True, exist_ok=True)
    shared = Path(tempfile.mkdtemp(prefix="shared-", dir=harness.SESSIONS_DIR))
    machines = []
    try:
        write_macro_file(shared / "SHARED.QLX", [])
        for name in ("A", "B"):
            machines.append(Machine(name, shared))
        a, b = machines
        # B synchronises every minute: restart it with Auto Sync on.
        b.s.stop(b.proc)
        write_ini(b.s.windows_dir() / "QUILX.INI",
                  {"Network": {"Network Mode": "Yes", "Auto Sync": "Yes", "Sync Minutes": "1"}})
        b.proc, b.wid = b.s.start_quilx(["/N", "/F" + b.s.win_path(shared / "SHARED.QLX")], title=b.d.main_title)
        def source(name: str) -> Path:
            p = shared / f"{name}.QLX"
            write_macro_file(p, [Macro(name, code=300, scope=SCOPE_WINDOW, scope_text=name, text=name)],
                             with_system=False)
            return p

        def change(m: Machine, name: str) -> None:
            # A notice of the other machine's change comes first; the user repeats.
            for _ in range(3):
                if m.try_import(source(name)) == "made":
                    return
            raise AssertionError(f"{name} was never made")

        # Baseline: B's own change.
        count = len(b.scope_texts())
        start = time.monotonic()
        change(b, "B001")
        own = shown_after(b, count, start, 30)

        # Automatic synchronisation.
        count = len(b.scope_texts())
        change(a, "A001")
        start = time.monotonic()
        auto = shown_after(b, count, start, 90)

        # The hot-key path: a system hot key pressed on B right after A's change.
        count = len(b.scope_texts())
        change(a, "A002")
        start = time.monotonic()
        b.s.focus(b.wid)
        b.s.key("ctrl+alt+shift+y")  # "Resume Pause": nothing to resume
        hotkey = shown_after(b, count, start, 30)

        print(f"own change shown:           {own * 1000:8.0f} ms (baseline)")
        print(f"auto sync (1 minute):       {auto * 1000:8.0f} ms  ({auto / own:.1f}x baseline)")
        print(f"hot-key path check:         {hotkey * 1000:8.0f} ms  ({hotkey / own:.1f}x baseline)")
        return 0
    finally:
        for m in machines:
            m.close()
        shutil.rmtree(shared, True)


if __name__ == "__main__":
    sys.exit(main())
