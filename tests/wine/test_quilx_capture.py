"""Capture, Snapwords and key remapping through the real QUILX.EXE, with
real X input: a quick capture started and ended with the Start/Stop Capture
hot key in the target, named in Capture Complete and played back by its new
hot key; a Snapword typed in the target replaced by its macro, before and
after "Use Suffix" is switched on in Options > Snapwords; a character
remapped in Options > Remap arriving remapped, before and after a restart;
a new macro recorded from Add Macro's "Capture Macro" played by the hot key
picked there; a Snapword replaced exactly with no wait after its Backspaces
set in the settings file.

One QUILX.EXE start serves the cases, which run in order; the remap case
and the last one restart the program."""

import random
import struct
import unittest

import harness
from harness import WineSession, read_ini, write_ini
from macrofile import RECORD_SIZE, Macro, macro_file_bytes

MAIN_TITLE = "Quillon 98 (QUILX)"
TARGET = "Capture Target"
BLOCK = "QLBA1KGR"
AB_CAPTURE_ACTIVE, AB_PICKING = 737, 756
START_STOP = "ctrl+alt+shift+x"        # the Start/Stop Capture system hot key
NEW_KEY, NEW_KEY_CODE, NEW_KEY_NAME = "ctrl+alt+q", 144 + 16, "Ctrl+Alt+Q"
ADDED_KEY, ADDED_KEY_CODE, ADDED_KEY_NAME = "ctrl+alt+w", 144 + 22, "Ctrl+Alt+W"
SNAPWORD, SNAPWORD_TEXT = "sig", "Kind regards"
SHOTS = harness.WINE_ROOT / "shots"
WINE_TRAY = "Wine System Tray"


def record_fields(data: bytes, n: int) -> tuple[str, int, int, bytes]:
    """(nickname, code, scope, text) of macro n (1-based)."""
    r = data[(n - 1) * RECORD_SIZE:n * RECORD_SIZE]
    code, scope = struct.unpack_from("<Hh", r, 93)
    return r[1:1 + r[0]].decode("cp1252"), code, scope, r[100:5101].split(b"\0", 1)[0]


class QuilxCapture(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        harness.require_build("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "testprogs/wintool.exe",
                              "testprogs/keepwarm.exe", "testprogs/target.exe")
        SHOTS.mkdir(parents=True, exist_ok=True)
        cls.s = WineSession(name="qlxcapture")
        try:
            prog = cls.s.program_dir()
            cls.qlx = prog / "QUILX.QLX"
            cls.qls = prog / "QUILX.QLS"
            cls.ini = cls.s.windows_dir() / "QUILX.INI"
            cls.qlx.write_bytes(macro_file_bytes([
                Macro("Signature", 20000, SNAPWORD_TEXT, snapword=SNAPWORD)]))
            # Keys only, no timing and no prompt: the recording is exactly
            # the keys typed.
            write_ini(cls.ini, {"Capture": {"Mouse": "No", "Time": "No", "Prompt": "No"}})
            cls.start_program()
            cls.target = cls.s.start_target(TARGET)
        except BaseException:
            cls.s.close()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.s.close()

    @classmethod
    def start_program(cls):
        cls.proc, cls.main = cls.s.start_quilx()
        # The hooks are in once the keyboard hook's handle is in the block.
        cls.s.wait_until(lambda: cls.s.peek(BLOCK, 748, 4) not in (None, b"\0\0\0\0"), 20,
                         what="keyboard hook installed")

    def setUp(self):
        self.assertIsNone(self.proc.poll(), "QUILX.EXE is no longer running")

    # --- helpers -------------------------------------------------------------

    def clear_target(self):
        """A fresh, empty target in front (its edit reports what it receives,
        not text set from outside)."""
        self.s.close_target(self.target)
        type(self).target = self.s.start_target(TARGET)
        self.assertEqual(self.target.text(), "")

    def block_byte(self, offset) -> int:
        return self.s.peek(BLOCK, offset, 1)[0]

    def records(self) -> bytes:
        return self.qlx.read_bytes()

    def confirm_capture_message(self, key_name):
        """The on-top message that ends a dialog capture names the hot key; Ok."""
        s = self.s
        box = s.wait_until(lambda: s.find_windows(exe="QUILX.EXE", title="Capture"), 10,
                           what="the capture-complete message")[0]
        self.assertIn(("Static", f"Quillon 98 capture is complete for {key_name}."), s.window_texts(box.hwnd))
        s.click_button(box.hwnd, "Ok")
        s.window_gone(box.hwnd)

    def open_menu_item(self, menu_key, item_key, caption) -> int:
        self.s.focus(self.main)
        self.s.key(menu_key, item_key)
        wid = self.s.wait_for_window(caption, 20)
        self.s.focus(wid)
        return wid

    # --- the cases, in order -------------------------------------------------

    def test_1_quick_capture_named_in_capture_complete_replays_by_its_hot_key(self):
        s = self.s
        count = len(self.records()) // RECORD_SIZE
        self.clear_target()
        s.key(START_STOP)
        s.wait_until(lambda: self.block_byte(AB_CAPTURE_ACTIVE) == 1, 10, what="capture started")
        # The recording icon: without a notification area Wine shows it in
        # a window of its own, which the window manager focuses as it
        # appears; the target takes the keys back.
        s.wait_for_window(WINE_TRAY, 10)
        self.target.focus()
        s.type_text("Hello, World!")
        s.key("Return")
        s.type_text("second line")
        s.key("BackSpace", "Left")
        s.type_text("X")
        typed = "Hello, World!\r\nsecond liXn"
        self.target.wait_text(typed)
        s.key(START_STOP)

        # Capture Complete: a hot key picked in its field, a nickname, Ok.
        dialog = s.wait_for_window("Capture Complete", 20)
        self.assertEqual(self.block_byte(AB_CAPTURE_ACTIVE), 0)
        s.focus(dialog)
        for _ in range(12):
            if self.block_byte(AB_PICKING) == 1:
                break
            s.key("Tab")
        s.wait_until(lambda: self.block_byte(AB_PICKING) == 1, 5, what="the hot-key field armed")
        s.key(NEW_KEY)
        s.wait_until(lambda: ("Edit", NEW_KEY_NAME) in s.window_texts("Capture Complete"), 10,
                     what="the picked hot key shown")
        self.assertEqual(s.wintool("settext", "Capture Complete", "Typed note").returncode, 0)
        s.screenshot(SHOTS / "quilx-capture-complete.png")
        s.click_button("Capture Complete", "Ok")
        s.window_gone(dialog)

        # The new macro is the last record, with what was typed as its text.
        def appended():
            data = self.records()
            return data if len(data) // RECORD_SIZE == count + 1 and \
                record_fields(data, count + 1)[1] == NEW_KEY_CODE else None
        data = s.wait_until(appended, 10, what="the captured macro saved")
        nickname, code, scope, text = record_fields(data, count + 1)
        self.assertEqual((nickname, code, scope), ("Typed note", NEW_KEY_CODE, 1))
        self.assertEqual(text, b"Hello, World!<ENTER>second line<BACKSPACE><LEFT ARROW>X")
        self.assertFalse((s.program_dir() / "TempCap.Txt").exists())

        # Its hot key types exactly what was typed.
        self.clear_target()
        s.key(NEW_KEY)
        self.target.wait_text(typed, 20)
        s.wait_playback_done()

    def test_2_recapture_records_the_selected_macro_again_until_its_own_key(self):
        s = self.s
        data = self.records()
        n = len(data) // RECORD_SIZE
        self.assertEqual(record_fields(data, n)[:2], ("Typed note", NEW_KEY_CODE))
        self.clear_target()
        # The macro captured last is still the selected row.
        self.open_menu_item("alt+m", "c", "Capture Macro")
        shown = [t for _, t in s.window_texts("Capture Macro")]
        for text in (NEW_KEY_NAME, "Press Ctrl+Alt+Shift+X to end capture",
                     f"Or Press {NEW_KEY_NAME} to end capture", "Typed note"):
            self.assertIn(text, shown)
        s.screenshot(SHOTS / "quilx-capture-macro.png")
        s.click_button("Capture Macro", "Start Capture")
        s.window_gone("Capture Macro")
        s.wait_until(lambda: self.block_byte(AB_CAPTURE_ACTIVE) == 1, 10, what="capture started")
        s.wait_for_window(WINE_TRAY, 10)
        self.target.focus()
        s.type_text("Once more")
        self.target.wait_text("Once more")
        s.key(NEW_KEY)
        self.confirm_capture_message(NEW_KEY_NAME)
        data = s.wait_until(lambda: (d := self.records()) and record_fields(d, n)[3] == b"Once more" and d,
                            10, what="the macro recaptured")
        self.assertEqual(len(data) // RECORD_SIZE, n)
        self.assertEqual(record_fields(data, n)[:3], ("Typed note", NEW_KEY_CODE, 1))
        # The own key ended the capture and reached neither the text nor the target.
        self.assertEqual(self.target.text(), "Once more")

    def test_3_snapword_is_replaced_then_waits_for_its_suffix(self):
        s = self.s
        self.clear_target()
        s.type_text(f"Dear {SNAPWORD}")
        self.target.wait_text(f"Dear {SNAPWORD_TEXT}", 20)
        s.wait_playback_done()

        # Options > Snapwords: unticking "Use Prefix Keys" switches the suffix on.
        self.open_menu_item("alt+o", "w", "Snapword Options")
        s.click_button("Snapword Options", "Use Prefix Keys")
        s.click_button("Snapword Options", "Ok")
        s.window_gone("Snapword Options")
        s.wait_until(lambda: ("Use Suffix", "Yes") in read_ini(self.ini).get("Snapwords", []), 10,
                     what="Use Suffix saved")

        self.clear_target()
        s.type_text(SNAPWORD)
        self.target.wait_text(SNAPWORD)
        s.type_text(":")          # not a word's end: nothing happens
        self.target.wait_text(SNAPWORD + ":")
        s.type_text(f" {SNAPWORD} ")
        self.target.wait_text(f"{SNAPWORD}: {SNAPWORD_TEXT}", 20)
        s.wait_playback_done()

    def test_4_remapped_character_arrives_remapped_and_survives_a_restart(self):
        s = self.s
        self.assertEqual(self.qls.read_bytes()[26], ord("a"), "identity tables made at start-up")
        self.open_menu_item("alt+o", "r", "Keyboard Remapper")
        # The lower-case grid, its first row (a), Space opens Select
        # Character on it; one step right is b.
        s.key("Tab", "Home", "space")
        select = s.wait_for_window("Select Character", 20)
        s.focus(select)
        s.key("Right", "Return")
        s.window_gone(select)
        s.screenshot(SHOTS / "quilx-remapper.png")
        s.click_button("Keyboard Remapper", "Ok")
        s.window_gone("Keyboard Remapper")
        s.wait_until(lambda: self.qls.read_bytes()[26] == ord("b"), 10, what="the remap file written")
        self.assertEqual(len(self.qls.read_bytes()), 93)

        self.clear_target()
        s.type_text("banana")
        self.target.wait_text("bbnbnb")

        # The remap file is read again at start-up.
        s.post_close(MAIN_TITLE)
        self.assertEqual(s.wait_exit(self.proc, 20), 0)
        type(self).start_program()
        self.clear_target()
        s.type_text("banana")
        self.target.wait_text("bbnbnb")


    def test_5_2000_characters_typed_with_snapwords_and_remapping_arrive_in_order(self):
        s = self.s
        rnd = random.Random(98)
        # No g: the Snapword "sig" must not fire in the middle.
        alphabet = "abcdefhijklmnopqrstuvwxyzABCDEFHIJKLMNOPQRSTUVWXYZ0123456789 .,;:!?-+=/()#@"
        text = "".join(rnd.choice(alphabet) for _ in range(2000))
        self.clear_target()
        s.type_text(text, delay_ms=12)
        self.target.wait_text(text.replace("a", "b"), timeout=60)


    def test_6_a_right_click_on_the_recording_icon_ends_the_capture(self):
        s = self.s
        count = len(self.records()) // RECORD_SIZE
        self.clear_target()
        s.key(START_STOP)
        s.wait_until(lambda: self.block_byte(AB_CAPTURE_ACTIVE) == 1, 10, what="capture started")
        tray = s.wait_for_window(WINE_TRAY, 10)
        self.target.focus()
        s.type_text("xyz")
        self.target.wait_text("xyz")
        # The recording icon is the tray window's only one, at its left.
        s._x("xdotool", "mousemove", "--sync", "--window", str(tray), "10", "10", "click", "3")
        dialog = s.wait_for_window("Capture Complete", 20)
        self.assertEqual(self.block_byte(AB_CAPTURE_ACTIVE), 0)
        s.click_button("Capture Complete", "Cancel")
        s.window_gone(dialog)
        # Cancelled, the capture stays the Snapword macro it started as (the
        # record is appended at the start and takes the text at the end).
        data = s.wait_until(lambda: (d := self.records()) and record_fields(d, count + 1)[3] and d, 10,
                            what="the captured text saved")
        self.assertEqual(len(data) // RECORD_SIZE, count + 1)
        self.assertEqual(record_fields(data, count + 1), ("Capture", 20000, 1, b"xyz"))

    def test_7_a_macro_captured_from_add_macro_is_appended_and_plays_by_its_hot_key(self):
        s = self.s
        count = len(self.records()) // RECORD_SIZE
        self.clear_target()
        # Add Macro: the hot-key field has the focus and takes the key pressed.
        s.focus(self.main)
        s.key("Insert")
        add = s.wait_for_window("Add Macro", 20)
        s.focus(add)
        s.wait_until(lambda: self.block_byte(AB_PICKING) == 1, 10, what="the hot-key field armed")
        s.key(ADDED_KEY)
        s.wait_until(lambda: ("Edit", ADDED_KEY_NAME) in s.window_texts("Add Macro"), 10,
                     what="the picked hot key shown")
        s.key("Tab")
        s.wait_until(lambda: self.block_byte(AB_PICKING) == 0, 10, what="hot-key picking off")
        s.key("alt+c")  # "&Capture Macro"

        dialog = s.wait_for_window("Capture Macro", 20)
        shown = [t for _, t in s.window_texts("Capture Macro")]
        for text in (ADDED_KEY_NAME, "Press Ctrl+Alt+Shift+X to end capture",
                     f"Or Press {ADDED_KEY_NAME} to end capture"):
            self.assertIn(text, shown)
        self.assertEqual(s.wintool("settext", "Capture Macro", "From Add").returncode, 0)
        s.screenshot(SHOTS / "quilx-capture-from-add.png")
        # Nothing is counted while the dialogs are open.
        self.assertEqual(len(self.records()) // RECORD_SIZE, count)
        s.click_button("Capture Macro", "Start Capture")
        s.window_gone(dialog)
        s.window_gone(add)
        s.wait_until(lambda: self.block_byte(AB_CAPTURE_ACTIVE) == 1, 10, what="capture started")
        s.wait_for_window(WINE_TRAY, 10)
        self.target.focus()
        # No "a": the remap case before maps it to "b".
        typed = "Freshly recorded: 42"
        s.type_text(typed)
        self.target.wait_text(typed)
        s.key(ADDED_KEY)  # its own hot key ends the capture
        self.confirm_capture_message(ADDED_KEY_NAME)
        data = s.wait_until(lambda: (d := self.records()) and len(d) // RECORD_SIZE == count + 1 and d, 10,
                            what="the captured macro appended")
        self.assertEqual(record_fields(data, count + 1),
                         ("From Add", ADDED_KEY_CODE, 1, typed.encode()))
        self.assertEqual(self.target.text(), typed, "the own key reached neither the text nor the target")

        self.clear_target()
        s.key(ADDED_KEY)
        self.target.wait_text(typed, 20)
        s.wait_playback_done()

    def test_8_with_no_snapword_wait_the_replacement_follows_its_backspaces_exactly(self):
        s, text = self.s, "Best wishes, Quillon"      # 20 characters and no a: a is remapped
        s.post_close(MAIN_TITLE)
        self.assertEqual(s.wait_exit(self.proc, 20), 0)
        ini = {section: dict(keys) for section, keys in read_ini(self.ini).items()}
        ini.setdefault("Snapwords", {}).update({"Snapword Wait": "0", "Use Suffix": "No"})
        write_ini(self.ini, ini)
        self.qlx.write_bytes(self.records() + Macro("Wishes", 20000, text, snapword="bwq").to_bytes())
        type(self).start_program()
        self.clear_target()
        s.type_text("bwq")
        self.assertEqual(len(self.target.wait_text(text, 20)), 20)
        s.wait_playback_done()
        # The options dialog shows the wait, and its Ok writes it back.
        self.open_menu_item("alt+o", "w", "Snapword Options")
        self.assertIn(("Edit", "0"), s.window_texts("Snapword Options"))
        s.screenshot(SHOTS / "quilx-snapword-options.png")
        s.click_button("Snapword Options", "Ok")
        s.wait_until(lambda: ("Snapword Wait", "0") in read_ini(self.ini).get("Snapwords", []), 10,
                     what="Snapword Wait saved")


if __name__ == "__main__":
    harness.main()
