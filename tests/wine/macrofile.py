"""Writes macro files for the end-to-end tests: fixed 5165-byte records, one
after the other, no header. Everything not set is zero. Standard library only.

    write_macro_file(prog / "QUILX.QLX", [
        Macro("Greeting", code=144, text="Hello<ENTER>"),
        Macro("Only in notes", code=145, scope=SCOPE_WINDOW, scope_text="Notes",
              top_most=True, text="n"),
    ])
"""

from __future__ import annotations

import datetime as _dt
import struct
from dataclasses import dataclass
from pathlib import Path

RECORD_SIZE = 5165
TEXT_CAPACITY = 5000

# Field offsets of one record.
OFF_NICKNAME, NICKNAME_CAP = 0, 50
OFF_SCOPE_TEXT, SCOPE_TEXT_CAP = 51, 30
OFF_SNAPWORD, SNAPWORD_CAP = 82, 10
OFF_CODE = 93
OFF_SCOPE = 95
OFF_ACTIVE = 97
OFF_TEXT = 100
OFF_ICON, ICON_CAP = 5101, 12
OFF_TOP_MOST = 5134
OFF_MODIFIED = 5135

SCOPE_GLOBAL, SCOPE_WINDOW, SCOPE_PROGRAM, SCOPE_POPUP, SCOPE_SYSTEM = 1, 2, 3, 4, 5

# (digit, fixed nickname, hot-key code) of the four records every file carries.
SYSTEM_MACROS = [
    ("1", "Activate Quillon", 262),
    ("2", "Start / Stop Capture", 263),
    ("3", "Resume Pause", 264),
    ("4", "Menu of Macros for Top Most Window", 265),
]

_EPOCH = _dt.datetime(1899, 12, 30)


def day_number(when: _dt.datetime) -> float:
    """Days since 30 December 1899, the fraction being the time of day."""
    delta = when - _EPOCH
    return delta.days + delta.seconds / 86400 + delta.microseconds / 86400e6


@dataclass
class Macro:
    nickname: str
    code: int                      # hot key 0..719, 10000 timed, 20000 Snapword
    text: str = ""
    scope: int = SCOPE_GLOBAL
    scope_text: str = ""
    active: bool = True
    top_most: bool = False
    snapword: str = ""
    icon: str = ""
    modified: _dt.datetime | None = None

    def to_bytes(self) -> bytes:
        rec = bytearray(RECORD_SIZE)
        _put_pstring(rec, OFF_NICKNAME, NICKNAME_CAP, self.nickname)
        _put_pstring(rec, OFF_SCOPE_TEXT, SCOPE_TEXT_CAP, self.scope_text)
        _put_pstring(rec, OFF_SNAPWORD, SNAPWORD_CAP, self.snapword)
        struct.pack_into("<Hh", rec, OFF_CODE, self.code, self.scope)
        rec[OFF_ACTIVE] = 1 if self.active else 0
        text = _ansi(self.text)
        if len(text) > TEXT_CAPACITY:
            raise ValueError(f"macro text of {len(text)} characters (at most {TEXT_CAPACITY})")
        if b"\0" in text:
            raise ValueError("macro text holds a zero byte")
        rec[OFF_TEXT:OFF_TEXT + len(text)] = text   # the terminator is already zero
        _put_pstring(rec, OFF_ICON, ICON_CAP, self.icon)
        rec[OFF_TOP_MOST] = 1 if self.top_most else 0
        struct.pack_into("<d", rec, OFF_MODIFIED,
                         day_number(self.modified or _dt.datetime.now()))
        return bytes(rec)


def system_macros(modified: _dt.datetime | None = None) -> list[Macro]:
    return [Macro(nickname, code, scope=SCOPE_SYSTEM, scope_text=digit, modified=modified)
            for digit, nickname, code in SYSTEM_MACROS]


def macro_file_bytes(macros: list[Macro], with_system: bool = True) -> bytes:
    """The user macros in order (numbers 1..n), then the system macros."""
    records = list(macros) + (system_macros() if with_system else [])
    return b"".join(m.to_bytes() for m in records)


def write_macro_file(path, macros: list[Macro], with_system: bool = True) -> Path:
    path = Path(path)
    path.write_bytes(macro_file_bytes(macros, with_system))
    return path


def _ansi(s: str) -> bytes:
    return s.encode("cp1252")


def _put_pstring(rec: bytearray, offset: int, capacity: int, s: str) -> None:
    data = _ansi(s)
    if len(data) > capacity:
        raise ValueError(f"{s!r} is longer than {capacity} characters")
    rec[offset] = len(data)
    rec[offset + 1:offset + 1 + len(data)] = data


def write_program_folder(folder, records: list[bytes]) -> Path:
    """A fresh program folder with an empty Icons folder and QUILX.QLX
    holding the given records (numbers 1..n), then the system macros."""
    folder = Path(folder)
    (folder / "Icons").mkdir(parents=True)
    return write_macro_records(folder / "QUILX.QLX", records)


def write_macro_records(path, records: list[bytes]) -> Path:
    """Raw records (popup menus, schedules) followed by the system macros."""
    path = Path(path)
    path.write_bytes(b"".join(records) + macro_file_bytes([], with_system=True))
    return path
