"""Printing, the macro information file, export and import under Wine: the
list printed through Wine's PostScript driver and read back with
Ghostscript, the information file compared line by line, three macros
exported and imported into another file, and Brindle and Snapwords files
imported."""

import shutil
import struct
import unittest

import harness
from harness import WineSession, read_ini, write_ini
from macrofile import Macro, SCOPE_POPUP, SCOPE_PROGRAM, SCOPE_WINDOW, write_macro_file
from sharing_driver import (IDC_EXPORT_LIST, IDC_EXPORT_SAVE, IDC_MINUTES, IDC_IMPORT_LIST, IDC_IMPORT_OPEN, IDC_OUT,
                            IDM_EXPORT, IDM_IMPORT, IDM_NETWORK, IDM_OUTPUT_INFO, IDM_PRINT_LIST, IDOK, PRINT_COPIES_EDIT,
                            Driver, brindle_record, nickname, page_text, pages_of, ps_to_png, records,
                            snapwords_record, text_of)

SHOTS = harness.WINE_ROOT / "shots"
DOCS = harness.REPO / "docs"
SYSTEM_LINES = [
    ("Ctrl+Alt+Shift+W", "Activate Quillon"), ("Ctrl+Alt+Shift+X", "Start / Stop Capture"),
    ("Ctrl+Alt+Shift+Y", "Resume Pause"), ("Ctrl+Alt+Shift+Z", "Menu of Macros for Top Most Window")]


class Sharing(unittest.TestCase):
    def setUp(self):
        harness.require_build("dist/QUILX.EXE", "testprogs/sharingtool.exe", "testprogs/wintool.exe")
        if shutil.which("gs") is None:
            self.skipTest("Ghostscript is not installed")
        self.s = WineSession(name="sharing")
        self.addCleanup(self.s.close)
        self.d = Driver(self.s)
        self.prog = self.s.program_dir()

    def start(self, macros, by_nickname: bool = False):
        write_macro_file(self.prog / "QUILX.QLX", macros)
        if by_nickname:
            # The reports walk the list in the order it shows.
            write_ini(self.s.windows_dir() / "QUILX.INI", {"Misc": {"Primary Sort": "213"}})
        self.proc, self.wid = self.s.start_quilx()

    def print_list(self, copies: int):
        out = self.s.temp_path("list.ps")
        self.d.add_printer(out)
        self.d.menu(IDM_PRINT_LIST)
        self.d.wait_window("Print")
        self.d.until_tool("settext", "Print", PRINT_COPIES_EDIT, copies, what="copies")
        SHOTS.mkdir(parents=True, exist_ok=True)
        self.s.screenshot(SHOTS / f"print-{copies}.png")
        self.s.click_button("Print", "OK")
        self.d.gone("Print")
        self.s.wait_until(lambda: out.exists() and b"%%EOF" in out.read_bytes(), 60, what="the printed file")
        return out

    def test_two_copies_of_a_short_list_give_two_headed_pages(self):
        self.start([Macro("Letter", code=144, text="x"),
                    Macro("Notes only", code=145, scope=SCOPE_WINDOW, scope_text="Notes", top_most=True),
                    Macro("Calc", code=10000, scope=SCOPE_PROGRAM, scope_text="CALC.EXE")])
        ps = self.print_list(2)
        self.assertEqual(pages_of(ps), 2)
        for page in (1, 2):
            text = page_text(ps, page)
            self.assertIn("Macro File: " + self.s.win_path(self.prog / "QUILX.QLX"), text)
            for expected in ("Ctrl+Alt+A", "Letter", "GLOBAL", "Window: Notes (Top Most Only)",
                             "Timed Macro", "Program: CALC.EXE (If Running)", "Activate Quillon", "SYSTEM"):
                self.assertIn(expected, text, f"page {page}")
        SHOTS.mkdir(parents=True, exist_ok=True)
        ps_to_png(ps, SHOTS / "printed-list-%d.png")
        # The README's picture of a printed page.
        if harness.os.environ.get("QLX_UPDATE_DOCS"):
            ps_to_png(ps, DOCS / "printed-list.png", dpi=60, first_page_only=True)

    def test_a_long_list_continues_without_a_heading(self):
        macros = [Macro(f"Macro number {i:03d}", code=i) for i in range(120)]
        self.start(macros, by_nickname=True)
        ps = self.print_list(1)
        pages = pages_of(ps)
        self.assertGreaterEqual(pages, 2)
        first, second = page_text(ps, 1), page_text(ps, 2)
        self.assertIn("Macro File: ", first)
        self.assertNotIn("Macro File: ", second)
        self.assertIn("Macro number 000", first)
        # Every row is printed once, in list order, across the pages.
        printed = "".join(page_text(ps, p) for p in range(1, pages + 1))
        positions = [printed.index(f"Macro number {i:03d}") for i in range(120)]
        self.assertEqual(positions, sorted(positions))
        self.assertIn("Menu of Macros for Top Most Window", printed)
        SHOTS.mkdir(parents=True, exist_ok=True)
        ps_to_png(ps, SHOTS / "long-list-%d.png", dpi=50)

    def test_print_to_file_asks_for_the_file_and_prints_there(self):
        self.start([Macro("Letter", code=144, text="x")])
        port = self.s.temp_path("port.ps")
        self.d.add_printer(port)
        chosen = self.s.temp_path("chosen.ps")
        self.d.menu(IDM_PRINT_LIST)
        hwnd = self.d.wait_window("Print")
        self.s.click_button(hwnd, "Print to file")
        self.s.click_button(hwnd, "OK")
        self.d.closed(hwnd)
        # The file is asked for.
        self.d.wait_window("Print to File")
        self.s.screenshot(SHOTS / "print-to-file.png")
        self.d.file_dialog("Print to File", chosen)
        self.s.wait_until(lambda: chosen.exists() and b"%%EOF" in chosen.read_bytes(), 60, what="the file printed")
        text = page_text(chosen, 1)
        for expected in ("Macro File: ", "Ctrl+Alt+A", "Letter", "Activate Quillon"):
            self.assertIn(expected, text)
        self.assertFalse(port.exists())

    def output_dialog(self, unchecked=()):
        self.d.menu(IDM_OUTPUT_INFO)
        hwnd = self.d.wait_window("Output Macros To File")
        for part in unchecked:
            self.s.click_button(hwnd, part)
        return hwnd

    def test_information_file_line_by_line(self):
        self.start([Macro("Letter", code=144, text="Dear Sir,\r\nYours", icon="SMILE.ICO"),
                    Macro("Notes only", code=145, scope=SCOPE_WINDOW, scope_text="Notes", top_most=True,
                          text="n", icon="MAIN"),
                    Macro("Menu", code=5, scope=SCOPE_POPUP, icon="MENU"),
                    Macro("Sig", code=20000, snapword="sig", scope=SCOPE_PROGRAM, scope_text="EDIT.EXE",
                          text="Regards", icon="MAIN")], by_nickname=True)
        hwnd = self.output_dialog()
        SHOTS.mkdir(parents=True, exist_ok=True)
        self.s.screenshot(SHOTS / "output-macros.png")
        self.s.click_button(hwnd, "Ok")
        out = self.s.temp_path("info.txt")
        self.d.file_dialog("Write Hot Key Definitions to File", out)
        self.s.wait_until(lambda: out.exists() and out.stat().st_size > 0, 20, what="the information file")
        blocks = {
            "Letter": ["Icon: SMILE.ICO", "Hot Key: Ctrl+Alt+A", "Name: Letter", "Scope: GLOBAL", "Text: Dear Sir,",
                       "Yours", ""],
            "Notes only": ["Icon: (Default Icon)", "Hot Key: Ctrl+Alt+B", "Name: Notes only",
                           "Window: Notes, Top Most Only", "Text: n", ""],
            "Menu": ["Icon: (Default Menu Icon)", "Hot Key: Ctrl+F", "Name: Menu", "Scope: Popup Menu", ""],
            "Sig": ["Icon: (Default Icon)", "Snapword: sig", "Name: Sig", "Program: EDIT.EXE, If Active",
                    "Text: Regards", ""],
        }
        for key, name in SYSTEM_LINES:
            blocks[name] = ["Icon: (None)", "Hot Key: " + key, "Name: " + name, "Scope: SYSTEM", ""]
        # The list's order, by nickname.
        order = ["Activate Quillon", "Letter", "Menu", "Menu of Macros for Top Most Window", "Notes only",
                 "Resume Pause", "Sig", "Start / Stop Capture"]
        expected = [line for name in order for line in blocks[name]]
        data = out.read_bytes().decode("cp1252")
        self.assertTrue(data.endswith("\r\n"))
        self.assertEqual(data.split("\r\n")[:-1], expected)

    def test_information_file_refuses_only_schedule_and_icon(self):
        self.start([Macro("Letter", code=144, text="x")])
        hwnd = self.output_dialog(unchecked=("Hot Key", "Name", "Window", "Text"))
        self.s.click_button(hwnd, "Ok")
        self.assertEqual(self.d.message("Error"), "Nothing has been checked for printing.  Please Correct.")
        self.d.wait_window("Output Macros To File")  # still open
        self.s.click_button(hwnd, "Cancel")
        self.d.gone("Output Macros To File")

    def test_export_three_and_import_them_into_another_file(self):
        mine = [Macro("First", code=144, text="one"), Macro("Second", code=145, text="two"),
                Macro("Third", code=20000, snapword="thr", text="three"), Macro("Fourth", code=146)]
        self.start(mine)
        self.d.menu(IDM_EXPORT)
        hwnd = self.d.wait_window("Export Macros")
        self.d.until_tool("lbselect", "Export Macros", IDC_EXPORT_LIST, "0,1,2", what="rows chosen")
        self.s.screenshot(self.s.temp_path("export.png"))
        SHOTS.mkdir(parents=True, exist_ok=True)
        self.s.screenshot(SHOTS / "export-macros.png")
        self.d.until_tool("command", "Export Macros", IDC_EXPORT_SAVE, what="Save File")
        exported = self.s.temp_path("EXPORTED.QLX")
        self.d.file_dialog("Save Macro File", exported)
        self.assertEqual(self.d.message("ok"), "Export Complete")
        self.d.gone("Export Macros")
        source = records((self.prog / "QUILX.QLX").read_bytes())
        self.assertEqual(records(exported.read_bytes()), source[:3])
        self.assertEqual(exported.stat().st_size, 3 * 5165)
        del hwnd

        # Another file, holding a global macro on the first one's hot key.
        self.s.stop(self.proc)
        other = [Macro("Resident", code=144, text="r")]
        self.start(other)
        self.d.menu(IDM_IMPORT)
        self.d.wait_window("Import Macros")
        self.d.until_tool("command", "Import Macros", IDC_IMPORT_OPEN, what="Open File")
        self.d.file_dialog("Import Quillon Files", exported)
        self.d.until_tool("lbselect", "Import Macros", IDC_IMPORT_LIST, "all", what="all rows")
        self.s.screenshot(SHOTS / "import-macros.png")
        self.d.until_tool("command", "Import Macros", IDOK, what="Ok")
        self.assertEqual(self.d.message("Warning"),
                         "A Global Hot Key for Ctrl+Alt+A already exists.  This macro will not be imported.")
        self.assertEqual(self.d.answer("Warning", "Yes"),
                         "One or macro were flagged to be excluded from the import.  Continue import anyway?")
        self.d.gone("Import Macros")
        after = records((self.prog / "QUILX.QLX").read_bytes())
        self.assertEqual([nickname(r) for r in after],
                         ["Resident", "Activate Quillon", "Start / Stop Capture", "Resume Pause",
                          "Menu of Macros for Top Most Window", "Second", "Third"])
        self.assertEqual(after[5:], source[1:3])  # own records come unchanged

    def test_brindle_and_snapwords_files(self):
        self.start([])
        br2 = self.s.temp_path("OLD.BR2")
        br2.write_bytes(brindle_record("Editor", 150, 1, "<LAUNCH> C:\\APPS\\EDIT.EXE<PARAM>C:\\DOCS")
                        + brindle_record("Paste", 151, 2, "Hello", clip=True, scope_name="Notes"))
        snw = self.s.temp_path("ABBREV.SNW")
        snw.write_bytes(snapwords_record("addr", "1 Main Street") + snapwords_record("sig", "Regards", clip=True))
        for source, title in ((br2, "Brindle"), (snw, "Snapwords")):
            with self.subTest(title):
                self.d.menu(IDM_IMPORT)
                self.d.wait_window("Import Macros")
                self.d.until_tool("command", "Import Macros", IDC_IMPORT_OPEN, what="Open File")
                self.d.file_dialog("Import Quillon Files", source)
                self.d.until_tool("lbselect", "Import Macros", IDC_IMPORT_LIST, "all", what="all rows")
                self.d.until_tool("command", "Import Macros", IDOK, what="Ok")
                self.d.gone("Import Macros")
        after = records((self.prog / "QUILX.QLX").read_bytes())
        self.assertEqual(len(after), 8)
        editor, paste, addr, sig = after[4:]
        self.assertEqual(nickname(editor), "Editor")
        self.assertEqual(text_of(editor), "<CHDIR:C:\\DOCS><LAUNCH:C:\\APPS\\EDIT.EXE>")
        self.assertEqual(text_of(paste), "<BEGCLIP>Hello<ENDCLIP><CLIPP>")
        self.assertEqual(struct.unpack_from("<Hh", paste, 93), (151, 2))
        self.assertEqual(paste[52:57], b"Notes")
        self.assertEqual(struct.unpack_from("<Hh", addr, 93), (20000, 1))
        self.assertEqual(addr[83:87], b"addr")
        self.assertEqual(text_of(addr), "1 Main Street")
        self.assertEqual(text_of(sig), "<BEGCLIP>Regards<ENDCLIP><CLIPP>")
        self.assertEqual(struct.unpack_from("<H", sig, 5131)[0], 1998)
        self.assertEqual(sig[5101:5106], b"\x04MAIN")

    def test_unknown_file_type_is_refused(self):
        self.start([])
        wrong = self.s.temp_path("NOTES.TXT")
        wrong.write_bytes(b"hello")
        self.d.menu(IDM_IMPORT)
        self.d.wait_window("Import Macros")
        self.d.until_tool("command", "Import Macros", IDC_IMPORT_OPEN, what="Open File")
        self.d.file_dialog("Import Quillon Files", wrong)
        self.assertEqual(self.d.message("Error"), "Improper file type selected.  Please choose a different file.")
        damaged = self.s.temp_path("SHORT.BR2")
        damaged.write_bytes(brindle_record("x", 1, 1, "y")[:-10])
        self.d.until_tool("command", "Import Macros", IDC_IMPORT_OPEN, what="Open File")
        self.d.file_dialog("Import Quillon Files", damaged)
        self.assertIn("damaged", self.d.message("Error"))
        before = (self.prog / "QUILX.QLX").read_bytes()
        self.d.until_tool("command", "Import Macros", IDOK, what="Ok")
        self.assertEqual(self.d.message("Error"),
                         "No macros are flagged for import.  Click on the macros you wish to import.")
        self.assertEqual((self.prog / "QUILX.QLX").read_bytes(), before)

    def test_network_dialog(self):
        self.start([])
        self.d.menu(IDM_NETWORK)
        hwnd = self.d.wait_window("Network Considerations")
        texts = [t for _, t in self.s.window_texts(hwnd)]
        for t in ("&File Locking of Macro Files", "&Automatic Synchronization Updating", "Synchronize every",
                  "10", "minutes", "&Ok", "&Cancel", "&Help"):
            self.assertIn(t, texts)
        self.s.click_button(hwnd, "File Locking of Macro Files")
        # The click reaches the dialog through its message queue.
        self.s.wait_until(lambda: self.s.run(self.s.testprog("wintool"), ["texts", hex(hwnd)]).returncode == 0, 10,
                          what="the dialog after the click")
        SHOTS.mkdir(parents=True, exist_ok=True)
        self.s.screenshot(SHOTS / "network-considerations.png")
        # Minutes 0 switch automatic synchronisation off.
        self.d.until_tool("settext", "Network Considerations", IDC_MINUTES, " 0 ", what="minutes")
        self.s.click_button(hwnd, "Ok")
        self.d.gone("Network Considerations")
        ini = read_ini(self.s.windows_dir() / "QUILX.INI")
        self.assertEqual(dict(ini["Network"]), {"Network Mode": "Yes", "Auto Sync": "No", "Sync Minutes": "0"})
        # Switching network mode on made the sync file: counter 1, free.
        sync = (self.prog / "QUILX.MAS").read_bytes()
        self.assertEqual(struct.unpack_from("<ih", sync, 0), (1, 2))
        self.assertEqual(len(sync), 14)


if __name__ == "__main__":
    unittest.main()
