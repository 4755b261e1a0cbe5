"""Start-up, single instance and shutdown of QUILX.EXE under Wine: the files
a clean run leaves, the second-instance refusal, the command line, and the
hooks and shared blocks while running. Every case gets a session of its own,
so that one failing case cannot leave a running copy behind for the next."""

import struct
import unittest

import harness
from harness import WineSession, read_ini, write_ini

RECORD_SIZE = 5165
SYSTEM_MACROS = [  # digit, nickname, hot-key code
    ("1", "Activate Quillon", 262),
    ("2", "Start / Stop Capture", 263),
    ("3", "Resume Pause", 264),
    ("4", "Menu of Macros for Top Most Window", 265),
]
ACTIVATION_BLOCK, ACTIVATION_SIZE = "QLBA1KGR", 14298
REMAP_BLOCK, WINDOW_BLOCK = "QLTT1KGR", "QLKR1KGR"
MUTEX = "QL88aveR"
AB_MAIN_WINDOW, AB_MOUSE_HOOK, AB_KEYBOARD_HOOK, AB_HOTKEY_ENTRY_WINDOW = 0, 744, 748, 752
AB_IS_NT = 14297
PLAIN_REFUSAL = "Quillon 98 is already running."
TRAY_REFUSAL = ("Quillon 98 is already running.  Right Click on the Quillon Icon in the "
                "system tray in the bottom right corner to active.")
MAIN_TITLE = "Quillon 98 (QUILX)"

# Every section and key a shutdown writes, in writing order, with the value
# a run without a settings file leaves (None: checked separately).
DEFAULT_SETTINGS = [
    ("Misc", [
        ("System Menu", "1"), ("Primary Sort", "123"), ("Activation Sort", "123"),
        ("Scope Sort", "12345"), ("Last Date Format", "0"), ("Last Time Format", "0"),
        ("Suppress Zeros In Date", "Yes"), ("Suppress Zeros In Time", "Yes"),
        ("Show Date", "No"), ("Use Tray", "No"), ("Disable Screen Saver", "Yes"),
        ("Current File", None),
        ("Last File 1", ""), ("Last File 2", ""), ("Last File 3", ""),
        ("Last File 4", ""), ("Last File 5", "")]),
    ("Capture", [
        ("Double Alt", "Yes"), ("Keys", "Yes"), ("Mouse", "Yes"),
        ("Relative To Screen", "Yes"), ("Time", "Yes"), ("Prompt", "Yes"),
        ("Window Size", "Yes"), ("Global", "Yes"), ("Speed", "1")]),
    ("Snapwords", [
        ("Solitary Usage", "No"), ("Case Sensative", "Yes"), ("Use Suffix", "No"),
        ("Prefix Keys", ""), ("Snapword Wait", "100")]),
    ("Grid Title Font", [
        ("Color", "0"), ("Font Name", "Arial"), ("Size", "12"), ("Bold", "No"),
        ("Italic", "No"), ("Underline", "No"), ("Strikeout", "No")]),
    ("Grid Font", [
        ("Color", "0"), ("Font Name", "Arial"), ("Size", "10"), ("Bold", "No"),
        ("Italic", "No"), ("Underline", "No"), ("Strikeout", "No")]),
    ("Main Window", [
        ("Width", "640"), ("Height", "424"), ("Left", "0"), ("Top", "0"),
        ("Col 1 Width", "112"), ("Col 2 Width", "168"), ("Col 3 Width", "132"),
        ("Use Speed", "No")]),
    ("Script Page", [("Width", "606"), ("Height", "446"), ("Left", "0"), ("Top", "0")]),
    ("Network", [("Network Mode", "No"), ("Auto Sync", "Yes"), ("Sync Minutes", "10")]),
    ("Print List Font", [
        ("Color", "0"), ("Font Name", "Arial"), ("Size", "10"), ("Bold", "No"),
        ("Italic", "No")]),
    ("Scheduler", [
        ("Use Wave File", "No"), ("Wave File Wait", "No"), ("Wave File", ""),
        ("Timer Seconds", "10")]),
]


def u32(data: bytes, offset: int) -> int:
    return struct.unpack_from("<I", data, offset)[0]


def pstring(data: bytes, offset: int, capacity: int) -> str:
    n = min(data[offset], capacity)
    return data[offset + 1:offset + 1 + n].decode("cp1252")


class StartupCase(unittest.TestCase):
    def setUp(self):
        harness.require_build("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "testprogs/wintool.exe",
                              "testprogs/keepwarm.exe")
        self.s = WineSession(name="startup")
        self.addCleanup(self.s.close)
        self.prog = self.s.program_dir()
        self.exe = self.prog / "QUILX.EXE"
        self.ini = self.s.windows_dir() / "QUILX.INI"

    def start_quilx(self, *args, title=MAIN_TITLE):
        return self.s.start_quilx(args, title)

    def main_hwnd(self, title=MAIN_TITLE) -> int:
        rows = self.s.find_windows(exe="QUILX.EXE", title=title)
        self.assertEqual(len(rows), 1, rows)
        return rows[0].hwnd

    def hooks_installed(self) -> bool:
        block = self.s.peek(ACTIVATION_BLOCK, 0, ACTIVATION_SIZE)
        return (block is not None and u32(block, AB_MOUSE_HOOK) != 0
                and u32(block, AB_KEYBOARD_HOOK) != 0)

    def shut_down(self, proc, wid, title=MAIN_TITLE):
        self.s.post_close(title)
        self.assertEqual(self.s.wait_exit(proc, 30), 0)
        self.s.window_gone(wid)

    def settings(self) -> dict[str, dict[str, str]]:
        return {sec: dict(keys) for sec, keys in read_ini(self.ini).items()}


class CleanStartAndShutdown(StartupCase):
    def test_clean_start_creates_macro_file_and_shutdown_writes_every_setting(self):
        self.assertFalse(self.ini.exists())
        qlx = self.prog / "QUILX.QLX"
        proc, wid = self.start_quilx()
        self.s.wait_until(lambda: qlx.exists() and qlx.stat().st_size == 4 * RECORD_SIZE,
                          what="QUILX.QLX with the four system macros")
        self.shut_down(proc, wid)

        data = qlx.read_bytes()
        self.assertEqual(len(data), 4 * RECORD_SIZE)
        for n, (digit, nickname, code) in enumerate(SYSTEM_MACROS):
            rec = data[n * RECORD_SIZE:(n + 1) * RECORD_SIZE]
            with self.subTest(record=n + 1):
                self.assertEqual(pstring(rec, 0, 50), nickname)
                self.assertEqual(pstring(rec, 51, 30), digit)
                self.assertEqual(struct.unpack_from("<Hh", rec, 93), (code, 5))
                self.assertEqual(rec[97], 1)
                self.assertEqual(rec[100], 0)               # empty text
                self.assertNotEqual(rec[5135:5143], bytes(8))  # last modified set

        sections = read_ini(self.ini)
        written = {sec: dict(keys) for sec, keys in sections.items()}
        for section, keys in DEFAULT_SETTINGS:
            for key, default in keys:
                with self.subTest(section=section, key=key):
                    self.assertIn(key, written.get(section, {}))
                    if default is not None:
                        self.assertEqual(written[section][key], default)
        self.assertEqual(written["Misc"]["Current File"].upper(),
                         self.s.win_path(qlx).upper())
        # Written in the fixed order of sections and keys, nothing more.
        self.assertEqual([(sec, [k for k, _ in keys]) for sec, keys in sections.items()],
                         [(sec, [k for k, _ in keys]) for sec, keys in DEFAULT_SETTINGS])


class ReadErrorAtStartUp(StartupCase):
    def test_a_macro_file_that_opens_but_cannot_be_read_is_reported_and_start_up_goes_on(self):
        qlx = self.prog / "QUILX.QLX"
        # Larger than any file offset the store can take (sparse: no disk
        # space used): the open succeeds, finding the size fails.
        with open(qlx, "wb") as f:
            f.truncate(3 << 30)
        proc = self.s.start(self.exe)

        def error_box():
            if proc.poll() is not None:
                raise AssertionError(f"QUILX.EXE ended with {proc.returncode} without a message")
            return [w for w in self.s.find_windows(exe="QUILX.EXE", cls="#32770")
                    if w.title == "Quillon 98"]

        box = self.s.wait_until(error_box, 30, what="the file error message")[0]
        texts = [t for _, t in self.s.window_texts(box.hwnd)]
        self.assertIn("Cannot determine the file size: " + self.s.win_path(qlx), texts)
        self.s.click_button(box.hwnd, "OK")
        # The program carries on, and leaves the file as it found it.
        wid = self.s.wait_for_window(MAIN_TITLE, 30)
        self.shut_down(proc, wid)
        self.assertEqual(qlx.stat().st_size, 3 << 30)


class SingleInstance(StartupCase):
    def refusal_box(self, main_pid: int):
        rows = self.s.wait_until(
            lambda: [w for w in self.s.find_windows(exe="QUILX.EXE", cls="#32770")
                     if w.pid != main_pid],
            20, what="the second instance's message box")
        self.assertEqual(len(rows), 1, rows)
        return rows[0]

    def test_second_instance_is_refused_and_leaves_the_first_untouched(self):
        first, wid = self.start_quilx()
        self.s.wait_until(self.hooks_installed, 20, what="hooks of the first instance")
        main_pid = self.s.find_windows(exe="QUILX.EXE", title=MAIN_TITLE)[0].pid
        before = self.s.peek(ACTIVATION_BLOCK, 0, ACTIVATION_SIZE)

        # Plain wording; then, with "Use Tray=Yes" in the settings file that
        # the second copy reads, the tray wording.
        for use_tray, wording in ((None, PLAIN_REFUSAL), ("Yes", TRAY_REFUSAL)):
            with self.subTest(use_tray=use_tray):
                if use_tray:
                    write_ini(self.ini, {"Misc": {"Use Tray": use_tray}})
                second = self.s.start(self.exe)
                try:
                    box = self.refusal_box(main_pid)
                    self.assertEqual(box.title, "")
                    texts = self.s.window_texts(box.hwnd)
                    self.assertIn(("Static", wording), texts)
                    self.assertEqual([t for c, t in texts if c == "Button"], ["OK"])
                    self.assertEqual(self.s.peek(ACTIVATION_BLOCK, 0, ACTIVATION_SIZE), before)
                    self.s.click_button(box.hwnd, "OK")
                    self.assertEqual(self.s.wait_exit(second, 20), 0)
                finally:
                    # A failed check must not leave its box for the next one.
                    self.s.stop(second)

        self.assertIsNone(first.poll())
        self.assertEqual(self.s.window_title(wid), MAIN_TITLE)
        self.assertEqual(self.s.peek(ACTIVATION_BLOCK, 0, ACTIVATION_SIZE), before)
        self.shut_down(first, wid)


class CommandLine(StartupCase):
    def run_once(self, *args, title=MAIN_TITLE) -> dict[str, dict[str, str]]:
        proc, wid = self.start_quilx(*args, title=title)
        self.assertEqual(self.s.window_title(wid), title)
        self.shut_down(proc, wid, title)
        return self.settings()

    def test_sync_minutes_switch_takes_only_1_to_98(self):
        for arg, minutes in (("/SM98", "98"), ("/SM1", "1"), ("/SM99", "10"),
                             ("/SM0", "10"), ("/SMX", "10"), ("/SM", "10"), ("/sm42", "42")):
            with self.subTest(arg=arg):
                self.ini.unlink(missing_ok=True)
                self.assertEqual(self.run_once(arg)["Network"]["Sync Minutes"], minutes)

    def test_open_file_switch(self):
        missing = self.prog / "MISSING.QLX"
        # A missing file changes nothing: the default file stays current...
        self.assertEqual(self.run_once("/F" + self.s.win_path(missing))["Misc"]["Current File"]
                         .upper(), self.s.win_path(self.prog / "QUILX.QLX").upper())
        # ...and so does a file named in the settings.
        work = self.prog / "WORK.QLX"
        work.write_bytes(b"")
        write_ini(self.ini, {"Misc": {"Current File": self.s.win_path(work)}})
        self.run_once("/F" + self.s.win_path(missing), title="Quillon 98 (WORK)")
        self.assertFalse(missing.exists())

        # An existing file, given with a lower-case switch, is opened under
        # the upper-cased path; loading it adds the system macros.
        mixed = self.prog / "mixed.qlx"
        mixed.write_bytes(b"")
        settings = self.run_once("/f" + self.s.win_path(mixed), title="Quillon 98 (MIXED)")
        self.assertEqual(settings["Misc"]["Current File"], self.s.win_path(mixed).upper())
        self.assertEqual(mixed.stat().st_size, 4 * RECORD_SIZE)


class HooksAndBlocks(StartupCase):
    def test_hooks_and_blocks_while_running_and_gone_after_close(self):
        proc, wid = self.start_quilx()
        self.s.wait_until(self.hooks_installed, 20, what="keyboard and mouse hooks")
        hwnd = self.main_hwnd()
        block = self.s.peek(ACTIVATION_BLOCK, 0, ACTIVATION_SIZE)
        self.assertEqual(u32(block, AB_MAIN_WINDOW), hwnd & 0xFFFFFFFF)
        self.assertEqual(u32(block, AB_HOTKEY_ENTRY_WINDOW), hwnd & 0xFFFFFFFF)
        self.assertEqual(block[AB_IS_NT], 1)
        remap = self.s.peek(REMAP_BLOCK, 0, 104)
        self.assertEqual(u32(remap, 0), hwnd & 0xFFFFFFFF)
        self.assertNotEqual(u32(remap, 4), 0)
        window = self.s.peek(WINDOW_BLOCK, 0, 17)
        self.assertEqual(u32(window, 0), hwnd & 0xFFFFFFFF)
        self.assertNotEqual(u32(window, 4), 0)
        self.assertEqual(window[16], 1)
        self.assertEqual(self.s.wintool("mutex", MUTEX).returncode, 0)

        self.shut_down(proc, wid)
        # Only the program held them: with it gone, so are they.
        for name in (ACTIVATION_BLOCK, REMAP_BLOCK, WINDOW_BLOCK):
            self.assertIsNone(self.s.peek(name, 0, 1), name)
        self.assertEqual(self.s.wintool("mutex", MUTEX).returncode, 2)


if __name__ == "__main__":
    harness.main()
