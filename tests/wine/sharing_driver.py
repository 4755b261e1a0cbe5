"""Drives QUILX.EXE's sharing commands under Wine for the end-to-end tests:
a printer in the prefix, the File menu commands, the dialogs they open, the
message boxes they show, and records of the sibling import formats.
Standard library only."""

from __future__ import annotations

import struct
import subprocess
from pathlib import Path

from harness import WineSession

MAIN_TITLE = "Quillon 98 (QUILX)"

# Menu commands and dialog controls (res/resource.h, res/sharing_ids.h).
IDM_PRINT_LIST, IDM_OUTPUT_INFO, IDM_IMPORT, IDM_EXPORT, IDM_NETWORK = 1003, 1006, 1007, 1008, 1206
IDM_REMOVE_MACRO = 1107
IDC_OUT = {"Hot Key": 15011, "Name": 15012, "Window": 15013, "Text": 15014, "Schedule": 15015, "Icon": 15016}
IDC_EXPORT_LIST, IDC_EXPORT_SAVE = 15021, 15024
IDC_IMPORT_LIST, IDC_IMPORT_OPEN = 15031, 15032
IDC_MINUTES = 15043
IDOK = 1
PRINT_COPIES_EDIT = 0x482

PRINTER = "Quillon Test Printer"
PPD_DIR = "drive_c/windows/system32/spool/drivers/x64/3"
PPD_WIN = "C:\\windows\\system32\\spool\\drivers\\x64\\3\\GENERIC.PPD"
# A plain PostScript printer on A4 for Wine's PostScript driver.
GENERIC_PPD = """*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "GENERIC.PPD"
*Manufacturer: "Quillon"
*Product: "(Generic PostScript)"
*ModelName: "Generic PostScript Printer"
*ShortNickName: "Generic PostScript"
*NickName: "Generic PostScript Printer"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*TTRasterizer: Type42
*DefaultResolution: 300dpi
*OpenUI *PageSize: PickOne
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "18 18 577 824"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
*DefaultFont: Courier
*Font Courier: Standard "(002.004S)" Standard ROM
"""


class Driver:
    def __init__(self, session: WineSession, main_title: str = MAIN_TITLE):
        self.s = session
        self.main_title = main_title

    def tool(self, *args, timeout: float = 30) -> int:
        return self.s.run(self.s.testprog("sharingtool"), [str(a) for a in args], timeout).returncode

    def until_tool(self, *args, what: str, timeout: float = 20) -> None:
        """Runs a sharingtool command until its window is there and it succeeds."""
        self.s.wait_until(lambda: self.tool(*args) == 0, timeout, what=what)

    def add_printer(self, output: Path) -> None:
        """The default printer: Wine's PostScript driver writing to `output`."""
        d = self.s.prefix / PPD_DIR
        d.mkdir(parents=True, exist_ok=True)
        (d / "GENERIC.PPD").write_text(GENERIC_PPD)
        rc = self.tool("addprinter", PRINTER, PPD_WIN, str(output))
        if rc != 0:
            raise AssertionError(f"addprinter: exit {rc}")

    def menu(self, command_id: int) -> None:
        self.until_tool("command", self.main_title, command_id, what=f"menu command {command_id}")

    def wait_window(self, title: str, timeout: float = 20) -> int:
        def shown():
            found = self.s.find_windows(exe="QUILX.EXE", title=title)
            return found[0].hwnd if found else 0
        return self.s.wait_until(shown, timeout, what=f"window {title!r}")

    def gone(self, title: str, timeout: float = 20) -> None:
        self.s.wait_until(lambda: not self.s.find_windows(exe="QUILX.EXE", title=title), timeout,
                          what=f"{title!r} to close")

    def closed(self, hwnd: int, timeout: float = 20) -> None:
        """Until the window is gone: a click is posted, and a box that is
        still there would be taken for the next one with its caption."""
        self.s.wait_until(lambda: all(w.hwnd != hwnd for w in self.s.find_windows(exe="QUILX.EXE")), timeout,
                          what=f"window {hwnd:#x} to close")

    def message(self, caption: str, timeout: float = 20) -> str:
        """The text of a message box, which is then closed with its first button."""
        hwnd = self.wait_window(caption, timeout)
        texts = [t for cls, t in self.s.window_texts(hwnd) if cls == "Static" and t]
        buttons = [t for cls, t in self.s.window_texts(hwnd) if cls == "Button"]
        self.s.click_button(hwnd, buttons[0].replace("&", ""))
        self.closed(hwnd)
        return "\n".join(texts)

    def answer(self, caption: str, button: str, timeout: float = 20) -> str:
        hwnd = self.wait_window(caption, timeout)
        texts = [t for cls, t in self.s.window_texts(hwnd) if cls == "Static" and t]
        self.s.click_button(hwnd, button)
        self.closed(hwnd)
        return "\n".join(texts)

    def file_dialog(self, title: str, path: Path) -> None:
        self.wait_window(title)
        self.until_tool("filename", title, self.s.win_path(path), what=f"file name into {title!r}")
        self.gone(title)


# --- sibling formats -------------------------------------------------------------

def _pstring(s: str, capacity: int) -> bytes:
    b = s.encode("cp1252")
    return bytes([len(b)]) + b + bytes(capacity - len(b))


def brindle_record(nickname: str, code: int, scope: int, text: str, clip: bool = False,
                   scope_name: str = "", active: bool = True) -> bytes:
    rec = bytearray(5141)
    rec[0:51] = _pstring(nickname, 50)
    rec[51:82] = _pstring(scope_name, 30)
    struct.pack_into("<Hh", rec, 82, code, scope)
    rec[86] = 1 if active else 0
    rec[87] = 1 if clip else 0
    t = text.encode("cp1252")
    rec[90:90 + len(t)] = t
    struct.pack_into("<H", rec, 5091, 3)
    return bytes(rec)


def snapwords_record(abbreviation: str, text: str, clip: bool = False) -> bytes:
    rec = bytearray(3039)
    rec[3:14] = _pstring(abbreviation, 10)
    rec[14] = 1
    t = text.encode("cp1252")
    rec[17:17 + len(t)] = t
    rec[3018] = 1 if clip else 0
    return bytes(rec)


def records(data: bytes) -> list[bytes]:
    return [data[i:i + 5165] for i in range(0, len(data) - len(data) % 5165, 5165)]


def nickname(rec: bytes) -> str:
    return rec[1:1 + rec[0]].decode("cp1252")


def text_of(rec: bytes) -> str:
    body = rec[100:5101]
    return body[:body.index(0)].decode("cp1252")


def pages_of(ps: Path) -> int:
    return sum(1 for line in ps.read_bytes().splitlines() if line.startswith(b"%%Page:"))


def page_text(ps: Path, page: int) -> str:
    """The text Ghostscript reads off one page (from 1)."""
    r = subprocess.run(["gs", "-q", "-dNOPAUSE", "-dBATCH", "-sDEVICE=txtwrite", f"-dFirstPage={page}",
                        f"-dLastPage={page}", "-sOutputFile=-", str(ps)],
                       capture_output=True, timeout=120, check=True)
    return r.stdout.decode("latin-1")


def ps_to_png(ps: Path, pattern: Path, dpi: int = 60, first_page_only: bool = False) -> None:
    pages = ["-dFirstPage=1", "-dLastPage=1"] if first_page_only else []
    subprocess.run(["gs", "-q", "-dNOPAUSE", "-dBATCH", "-sDEVICE=png16m", f"-r{dpi}", *pages,
                    f"-sOutputFile={pattern}", str(ps)], check=True, timeout=120)
