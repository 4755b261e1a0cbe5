"""Mouse, clipboard, file, sound, web, date and time commands and the three
playback dialogs end to end: the real QUILX.EXE and QLXHOOK.DLL under Wine,
hot keys pressed with xdotool, what target.exe and clicktarget.exe receive,
what the files hold and what the dialogs show.

One QUILX.EXE session serves every case; the macro file is written once the
mouse target's place on the screen is known. Screenshots of the dialogs are
kept in build/wine/screens for a look by eye."""

import datetime
import struct
import time
import unittest
import wave

import harness
from harness import WineSession
from macrofile import Macro, write_macro_file

ACTIVATION_BLOCK = "QLBA1KGR"
AB_PLAYBACK_STARTED = 777
SCREENS = harness.WINE_ROOT / "screens"
SCREEN_W, SCREEN_H = 1280, 1024          # the harness's Xvfb screen
MAIN_TITLE = "Quillon 98 (QUILX)"
CTRL_ALT = 144                            # Ctrl+Alt+A; the letters follow
RESUME_PAUSE_KEYS = "ctrl+alt+shift+y"    # code 264, the default of "Resume Pause"
PAUSE_BUSY = ("A current playback macro is in the middle of a PAUSE. Another macro cannot "
              "be executed until the PAUSE is either cancelled or resumed.")
INVALID_NUMBER = "Invalid numeric value entered.  Please Correct"
ABORT_TEXT = "Quillon 98 macro has been aborted."
WS_EX_TOPMOST, WS_EX_NOACTIVATE = 0x8, 0x08000000
VK_SHIFT = 0x10
LONG_NICKNAME = "Weekly report for the regional sales office, North"   # 50 characters
CLICK_ROUNDS = 8


def key_of(letter: str) -> tuple[int, str]:
    """(hot-key code, xdotool keys) of Ctrl+Alt+letter."""
    return CTRL_ALT + ord(letter) - ord("a"), f"ctrl+alt+{letter}"


def field(n: float) -> str:
    """A five-character fixed-width number of "<MMS:" and "<MMW:"."""
    return f"{int(n):05d}"


class Commands(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        harness.require_build("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "testprogs/target.exe",
                              "testprogs/clicktarget.exe", "testprogs/dlgprobe.exe",
                              "testprogs/wintool.exe", "testprogs/keepwarm.exe")
        SCREENS.mkdir(parents=True, exist_ok=True)
        cls.s = WineSession(name="commands")
        try:
            cls.prepare_files()
            cls.start_click_target()
            write_macro_file(cls.s.program_dir() / "QUILX.QLX", cls.macros())
            write_macro_file(cls.other_file, [
                Macro("Back home", key_of("j")[0],
                      f"other<SWAP:{cls.s.win_path(cls.s.program_dir() / 'QUILX.QLX')}>home"),
            ])
            cls.proc, cls.main_wid = cls.s.start_quilx()
        except BaseException:
            cls.s.close()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.s.close()

    # --- the world the macros work on ------------------------------------------

    @classmethod
    def prepare_files(cls):
        s = cls.s
        cls.files = s.temp_path("files")
        cls.files.mkdir()
        (cls.files / "clip.txt").write_bytes(b"from file\r\n\x1a")
        (cls.files / "play.txt").write_bytes(
            b"from <SHIFT>file<ENTER><REPEAT:0002>r<I><ENDREP>\x1a")
        (cls.files / "original.txt").write_bytes(b"original bytes")
        (cls.files / "stale.txt").write_bytes(b"stale")
        sub = cls.files / "sub"
        sub.mkdir()
        (sub / "relative.txt").write_bytes(b"relative bytes")
        # .ini files open in Notepad in a fresh prefix (.txt has no association).
        (cls.files / "page.ini").write_bytes(b"[a page]\r\n")
        with wave.open(str(cls.files / "tone.wav"), "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(2)
            w.setframerate(8000)
            w.writeframes(b"".join(struct.pack("<h", 8000 if (i // 10) % 2 else -8000)
                                   for i in range(2400)))       # 0.3 s of a square wave
        cls.other_file = cls.files / "OTHER.QLX"

    @classmethod
    def start_click_target(cls):
        s = cls.s
        cls.click_log = s.temp_path("clicks.txt")
        cls.click_proc = s.start(s.testprog("clicktarget"),
                                 ["--out", s.win_path(cls.click_log),
                                  "--title", "Quillon Click Target"])
        cls.click_wid = s.wait_for_window("Quillon Click Target", 20)
        s.focus(cls.click_wid)
        # The window manager may still place it: take the geometry once it holds.
        last = [None, 0.0]

        def settled():
            g = cls.geometry()
            if g != last[0]:
                last[:] = [g, time.monotonic()]
                return None
            return g if time.monotonic() - last[1] > 1.0 else None

        g = s.wait_until(settled, 20, what="the click target's place")
        cls.window_rect, cls.button_rect, cls.client_origin = g[0:4], g[4:8], g[8:10]

    @classmethod
    def click_lines(cls) -> list[str]:
        try:
            data = cls.click_log.read_text()
        except FileNotFoundError:
            return []
        return data.split("\n")[:-1]

    @classmethod
    def geometry(cls):
        lines = [l for l in cls.click_lines() if l.startswith("geometry ")]
        return tuple(map(int, lines[-1].split()[1:])) if lines else None

    @classmethod
    def macros(cls) -> list[Macro]:
        wl, wt = cls.window_rect[0], cls.window_rect[1]
        bl, bt, br, bb = cls.button_rect
        cx, cy = cls.client_origin
        button = ((bl + br) // 2, (bt + bb) // 2)
        # Client points away from the button, as offsets from the window frame.
        cls.right_at, cls.double_at, cls.middle_at = (300, 150), (320, 220), (360, 180)

        def frame(p):
            return field(cx + p[0] - wl) + "," + field(cy + p[1] - wt)

        f = cls.files
        win = cls.s.win_path
        long_text = "<SPKEY:0030>" + "abcdefghij" * 100
        return [
            Macro("Click on screen", key_of("m")[0],
                  f"<MMS:{field(button[0])},{field(button[1])}><LCLK>"),
            Macro("Click in window", key_of("n")[0],
                  f"<MMW:{field(button[0] - wl)},{field(button[1] - wt)}><LCLK>"
                  f"<MMW:{frame(cls.right_at)}><RCLK><WFW:002><WBW:003>"
                  f"<MMW:{frame(cls.double_at)}><LDCLK><MMW:{frame(cls.middle_at)}><MCLK>"),
            # The button takes the mouse on the press and lets go of it on
            # the release; under Wine letting go sends the pointer's place
            # again, which undid a move sent before the button had done so.
            Macro("Click rounds", key_of("y")[0],
                  (f"<MMW:{field(button[0] - wl)},{field(button[1] - wt)}><LCLK>"
                   f"<MMW:{frame(cls.right_at)}><RCLK>") * CLICK_ROUNDS),
            Macro("Clipboard", key_of("v")[0],
                  "<BEGCLIP>Pasted text<ENDCLIP><CLIPP><ENTER>"
                  f"<CLIPF:{win(f / 'clip.txt')}><CLIPP><CLIPF:{win(f / 'missing.txt')}>"
                  "copy me<SHFD><HOME><SHFU><CLIPC><END> <CLIPP>"),
            Macro("Text file", key_of("f")[0],
                  f"<TFILE:{win(f / 'play.txt')}>|<TFILE:{win(f / 'missing.txt')}>after"),
            Macro("Files", key_of("g")[0],
                  f"<COPYFILE:{win(f / 'original.txt')};{win(f / 'stale.txt')}>"
                  f"<RENFILE:{win(f / 'stale.txt')};{win(f / 'renamed.txt')}>"
                  f"<COPYFILE:{win(f / 'original.txt')};{win(f / 'doomed.txt')}>"
                  f"<DELFILE:{win(f / 'doomed.txt')}><DELFILE:{win(f / 'never.txt')}>"
                  f"<CHDIR:{win(f / 'sub')}><COPYFILE:relative.txt;copied.txt>files done"),
            Macro("Sounds", key_of("s")[0],
                  f"<WAV1:{win(f / 'tone.wav')}><BEEP><WAV2:{win(f / 'tone.wav')}>"
                  f"<WAV1:{win(f / 'missing.wav')}>sound done"),
            Macro("Web", key_of("w")[0], f"<FTP:{win(f / 'page.ini')}>"),
            Macro("Date and time", key_of("d")[0],
                  "<MM/DD/YYYY{YF000}>|<DD Mmmmm YYYY{NP001}>|<Day of Week 3{N}>|"
                  "<hh:mm AM{Y}>"),
            Macro("Swap", key_of("k")[0], f"<SWAP:{win(cls.other_file)}>swapped"),
            Macro("Pauser", key_of("p")[0],
                  "abc<PAUSE:100,200Insert the disk in drive A and press resume now>def"),
            Macro("Other", key_of("o")[0], "other"),
            Macro("Centred pause", key_of("q")[0], "abc<PAUSE>def"),
            Macro("Prompted", key_of("r")[0], "<PROMPTREP>x<ENDREP>"),
            Macro("Long", key_of("l")[0], long_text),
            Macro("Second long", key_of("b")[0],
                  "<ACTIVATE:Quillon Abort Pad><SPKEY:0030>" + "q" * 300),
            Macro(LONG_NICKNAME, key_of("h")[0], "ab<PAUSE:100,300Short note>cd"),
            # Holds Shift across a wait; another macro runs meanwhile.
            Macro("Nest outer", key_of("u")[0], "x<SHFD><DELAY:00003>a<SHFU>y"),
            Macro("Nest inner", key_of("z")[0], "b"),
        ]

    # --- helpers -----------------------------------------------------------------

    def setUp(self):
        self.assertIsNone(self.proc.poll(), "QUILX.EXE is no longer running")

    def target(self, title):
        t = self.s.start_target(title)
        self.addCleanup(self.close_target, t)
        return t

    def close_target(self, t):
        if t.proc.poll() is None:
            self.s.post_close(t.title)
            self.s.wait_exit(t.proc)

    def wait_playback_done(self, timeout=30):
        self.s.wait_until(lambda: self.s.peek(ACTIVATION_BLOCK, AB_PLAYBACK_STARTED, 1) == b"\0",
                          timeout, what="the end of the playback")

    def wait_stable(self, read, quiet=0.7, timeout=20, what="text"):
        last = [read(), time.monotonic()]

        def settled():
            now = read()
            if now != last[0]:
                last[:] = [now, time.monotonic()]
                return False
            return time.monotonic() - last[1] >= quiet

        self.s.wait_until(settled, timeout, what=f"{what} to stop changing")
        return last[0]

    def foreground(self) -> str:
        return self.s.wintool("foreground").stdout.rstrip("\r\n")

    def quilx_windows(self, title):
        return self.s.find_windows(exe="QUILX.EXE", title=title)

    def probe(self, window):
        """(window fields, [control fields]) of dlgprobe."""
        r = self.s.run(self.s.testprog("dlgprobe"), [window])
        self.assertEqual(r.returncode, 0, f"dlgprobe {window!r}: {r.stdout} {r.stderr}")
        win, controls = None, []
        for line in r.stdout.splitlines():
            parts = [harness._unescape(p) for p in line.split("\t")]
            if parts[0] == "window":
                win = {"left": int(parts[2]), "top": int(parts[3]),
                       "width": int(parts[4]) - int(parts[2]),
                       "height": int(parts[5]) - int(parts[3]),
                       "client": (int(parts[6]), int(parts[7])),
                       "topmost": parts[8] == "1", "caption": parts[11]}
            elif parts[0] == "control":
                controls.append({"class": parts[1], "id": int(parts[2]),
                                 "box": tuple(map(int, parts[3:7])),
                                 "visible": parts[7] == "1", "text": parts[11]})
        self.assertIsNotNone(win, r.stdout)
        return win, controls

    def control(self, controls, text):
        found = [c for c in controls if c["text"] == text]
        self.assertEqual(len(found), 1, f"{text!r} in {controls}")
        return found[0]

    def template(self, dialog_id):
        r = self.s.run(self.s.testprog("dlgprobe"),
                       ["--template", self.s.win_path(self.s.program_dir() / "QUILX.EXE"),
                        str(dialog_id)])
        self.assertEqual(r.returncode, 0, r.stderr)
        _, points, _, face, style, ex_style, caption = r.stdout.rstrip("\r\n").split("\t")
        return int(points), face, int(style, 16), int(ex_style, 16), caption

    def shot(self, name):
        self.s.screenshot(SCREENS / f"commands-{name}.png")

    # --- cases, in order -----------------------------------------------------------

    def test_01_mouse_clicks_at_screen_and_window_positions(self):
        s = self.s
        s.focus(self.click_wid)
        before = len(self.click_lines())
        s.key(key_of("m")[1])
        s.wait_until(lambda: "button" in self.click_lines()[before:], 15,
                     what="the button clicked at a screen position")
        self.wait_playback_done()

        s.focus(self.click_wid)
        before = len(self.click_lines())
        s.key(key_of("n")[1])
        # The byte that marks a playback may still read 0 before the hot key
        # is handled: wait for the macro's last event, then for quiet.
        s.wait_until(lambda: any(l.startswith("mup ") for l in self.click_lines()[before:]), 20,
                     what="the middle click that ends the macro")
        self.wait_playback_done()
        lines = self.wait_stable(lambda: self.click_lines()[before:], what="mouse log")
        events = [l for l in lines if not l.startswith("geometry")]
        self.assertIn("button", events)
        self.assertIn("wheel 240", events)
        self.assertIn("wheel -360", events)
        self.assertLess(events.index("wheel 240"), events.index("wheel -360"))

        def at(kind, point):
            found = [tuple(map(int, l.split()[1:])) for l in events if l.startswith(kind + " ")]
            self.assertTrue(found, f"no {kind} in {events}")
            # Normalized coordinates lose at most a pixel on the way back.
            for x, y in found:
                self.assertLessEqual(abs(x - point[0]), 1, (kind, found, point))
                self.assertLessEqual(abs(y - point[1]), 1, (kind, found, point))
            return found

        at("rdown", self.right_at)
        at("rup", self.right_at)
        at("ldbl", self.double_at)
        at("mdown", self.middle_at)
        at("mup", self.middle_at)

    def test_01b_every_click_lands_where_its_move_put_the_pointer(self):
        s = self.s
        s.focus(self.click_wid)
        before = len(self.click_lines())
        s.key(key_of("y")[1])
        s.wait_until(lambda: sum(l.startswith(("rup ", "button-rup ")) for l in self.click_lines()[before:])
                     >= CLICK_ROUNDS, 30, what="the right clicks of every round")
        self.wait_playback_done()
        lines = self.wait_stable(lambda: self.click_lines()[before:], what="mouse log")
        self.assertEqual(lines.count("button"), CLICK_ROUNDS, lines)
        rights = [tuple(map(int, l.split()[1:])) for l in lines if l.startswith(("rdown ", "button-rdown "))]
        self.assertEqual(len(rights), CLICK_ROUNDS, lines)
        wrong = [l for l in lines if l.startswith("button-r")]
        self.assertEqual(wrong, [], "right clicks that went to the button")
        for x, y in rights:
            self.assertLessEqual(abs(x - self.right_at[0]), 1, lines)
            self.assertLessEqual(abs(y - self.right_at[1]), 1, lines)

    def test_02_clipboard_text_is_pasted_copied_and_read_from_a_file(self):
        t = self.target("Quillon Clip Pad")
        self.s.key(key_of("v")[1])
        expected = "Pasted text\r\nfrom file\r\ncopy me copy me"
        t.wait_text(expected, 20)
        self.wait_playback_done()
        self.assertEqual(self.wait_stable(t.text), expected)

    def test_03_text_file_plays_its_tokens(self):
        t = self.target("Quillon File Pad")
        self.s.key(key_of("f")[1])
        t.wait_text("from File\r\nr1r2|after")
        self.wait_playback_done()

    def test_04_file_tokens_copy_rename_delete_and_change_directory(self):
        f = self.files
        t = self.target("Quillon Files Pad")
        self.s.key(key_of("g")[1])
        t.wait_text("files done")
        self.wait_playback_done()
        self.assertEqual((f / "renamed.txt").read_bytes(), b"original bytes")
        self.assertFalse((f / "stale.txt").exists())
        self.assertFalse((f / "doomed.txt").exists())
        self.assertEqual((f / "original.txt").read_bytes(), b"original bytes")
        self.assertEqual((f / "sub" / "copied.txt").read_bytes(), b"relative bytes")

    def test_05_sounds_neither_hang_nor_crash_without_an_audio_device(self):
        t = self.target("Quillon Sound Pad")
        self.s.key(key_of("s")[1])
        t.wait_text("sound done", 20)
        self.wait_playback_done()
        self.assertIsNone(self.proc.poll())

    def test_06_address_opens_with_the_program_the_system_associates(self):
        before = {w.hwnd for w in self.s.list_windows()}
        s = self.s
        s.focus(self.main_wid)
        s.key(key_of("w")[1])
        opened = s.wait_until(
            lambda: [w for w in s.list_windows()
                     if w.hwnd not in before and w.visible and "page" in w.title.lower()],
            30, what="a window showing page.ini")
        self.wait_playback_done()
        for w in opened:
            s.post_close(w.hwnd)

    def test_07_date_and_time_are_typed(self):
        t = self.target("Quillon Date Pad")
        before = datetime.datetime.now()
        self.s.key(key_of("d")[1])

        def expected(now):
            yesterday = now - datetime.timedelta(days=1)
            return (f"{now:%m/%d/%Y}|{yesterday.day} {yesterday:%B %Y}|{now:%A}|"
                    f"{now:%I:%M %p}")
        # Typing ends with the marker of the time; wait for it before comparing.
        self.s.wait_until(lambda: t.text().endswith(("AM", "PM")), 20, what="the time typed")
        self.wait_playback_done()
        typed = self.wait_stable(t.text)
        after = datetime.datetime.now()
        self.assertIn(typed, {expected(before), expected(after)})

    def test_08_swap_makes_another_file_current_and_back(self):
        s = self.s
        t = self.target("Quillon Swap Pad")
        s.key(key_of("k")[1])
        t.wait_text("swapped")
        self.wait_playback_done()
        s.wait_until(lambda: self.quilx_windows("Quillon 98 (OTHER)"), 10,
                     what="the caption of the other file")
        # Its hot keys are the ones that count now; the old ones do nothing.
        t.focus()
        s.key(key_of("o")[1])
        s.key(key_of("j")[1])
        t.wait_text("swappedotherhome")
        self.wait_playback_done()
        s.wait_until(lambda: self.quilx_windows(MAIN_TITLE), 10, what="the caption of QUILX")
        t.focus()
        s.key(key_of("o")[1])
        t.wait_text("swappedotherhomeother")
        self.wait_playback_done()

    def test_09_pause_floats_over_the_target_and_its_hot_key_resumes(self):
        s = self.s
        t = self.target("Quillon Pause Pad")
        s.key(key_of("p")[1])
        t.wait_text("abc")
        pause = s.wait_for_window("Pause (Ctrl+Alt+P)", 10)
        time.sleep(0.3)
        self.shot("pause")
        win, controls = self.probe("Pause (Ctrl+Alt+P)")
        message = "Insert the disk in drive A and press resume now"   # 47 characters
        self.assertEqual(win["caption"], "Pause (Ctrl+Alt+P)")
        self.assertEqual((win["left"], win["top"]), (200, 100))
        self.assertEqual((win["width"], win["height"]), (224, 94 + 38))
        self.assertTrue(win["topmost"])
        self.assertTrue(self.control(controls, "Quillon Pause")["visible"])
        self.assertTrue(self.control(controls, "Pauser")["visible"])
        label = self.control(controls, message)
        self.assertTrue(label["visible"])
        self.assertEqual(label["box"][2:], (201, 38))
        for text in ("&Resume", "&Abort"):
            b = self.control(controls, text)
            self.assertEqual(b["box"][2:], (89, 21))
            self.assertEqual(b["box"][1], win["height"] - 52)
        self.assertLess(self.control(controls, "&Resume")["box"][0],
                        self.control(controls, "&Abort")["box"][0])

        # The target keeps the keyboard.
        self.assertEqual(self.foreground(), t.title)
        s.type_text("xyz")
        t.wait_text("abcxyz")

        # Another macro is refused with the fixed warning, and does not play.
        s.key(key_of("o")[1])
        s.wait_until(lambda: self.quilx_windows("Warning"), 10, what="the pause warning")
        self.shot("warning")
        texts = [text for _, text in s.window_texts("Warning")]
        self.assertIn(PAUSE_BUSY, texts)
        s.click_button("Warning", "Ok")
        s.window_gone("Warning")
        self.assertTrue(self.quilx_windows("Pause (Ctrl+Alt+P)"))

        # The paused macro's own hot key resumes it.
        t.focus()
        s.key(key_of("p")[1])
        t.wait_text("abcxyzdef")
        s.window_gone(pause)
        self.wait_playback_done()
        self.assertEqual(self.wait_stable(t.text), "abcxyzdef")
        # The program hands the foreground back to the target at the end.
        s.wait_until(lambda: self.foreground() == t.title, 10, what="the target in front")

    def test_09b_a_long_macro_name_wraps_in_the_pause_dialog(self):
        s = self.s
        t = self.target("Quillon Long Name Pad")
        s.key(key_of("h")[1])
        t.wait_text("ab")
        pause = s.wait_for_window("Pause (Ctrl+Alt+H)", 10)
        time.sleep(0.3)
        self.shot("pause-long-name")
        win, controls = self.probe("Pause (Ctrl+Alt+H)")
        title = self.control(controls, LONG_NICKNAME)
        message = self.control(controls, "Short note")
        # Two lines of 16 pixels for the name; the message, the buttons and
        # the form's bottom move down by one line.
        self.assertEqual(title["box"][3], 32)
        self.assertLessEqual(title["box"][1] + title["box"][3], message["box"][1])
        self.assertEqual((win["width"], win["height"]), (224, 94 + 19 + 16))
        self.assertEqual(self.control(controls, "&Resume")["box"][1], win["height"] - 52)
        s.click_button("Pause (Ctrl+Alt+H)", "Resume")
        s.window_gone(pause)
        t.wait_text("abcd")
        self.wait_playback_done()

    def test_10_resume_pause_system_hot_key_resumes_too(self):
        s = self.s
        t = self.target("Quillon Resume Pad")
        s.key(key_of("p")[1])
        pause = s.wait_for_window("Pause (Ctrl+Alt+P)", 10)
        s.key(RESUME_PAUSE_KEYS)
        t.wait_text("abcdef")
        s.window_gone(pause)
        self.wait_playback_done()

    def test_11_abort_ends_the_macro_without_a_message(self):
        s = self.s
        t = self.target("Quillon Abort Pause Pad")
        s.key(key_of("q")[1])
        t.wait_text("abc")
        s.wait_for_window("Pause (Ctrl+Alt+Q)", 10)
        win, controls = self.probe("Pause (Ctrl+Alt+Q)")
        # No message: in the middle of the screen, 94 high, message hidden.
        self.assertEqual((win["left"], win["top"]),
                         ((SCREEN_W - 224) // 2, (SCREEN_H - 94) // 2))
        self.assertEqual((win["width"], win["height"]), (224, 94))
        self.assertFalse([c for c in controls if c["id"] == 3103][0]["visible"])
        self.shot("pause-centred")
        s.click_button("Pause (Ctrl+Alt+Q)", "Abort")
        s.window_gone("Pause (Ctrl+Alt+Q)")
        self.wait_playback_done()
        self.assertEqual(self.wait_stable(t.text), "abc")
        self.assertFalse(self.quilx_windows("Macro Abort"))
        # The main window that the pause hid is back.
        s.wait_until(lambda: self.quilx_windows(MAIN_TITLE), 10, what="the main window")

    def test_12_repeat_prompt_refuses_text_and_accepts_a_trimmed_number(self):
        s = self.s
        t = self.target("Quillon Repeat Pad")
        s.key(key_of("r")[1])
        prompt = s.wait_for_window("Macro Repeat", 10)
        win, controls = self.probe("Macro Repeat")
        self.assertEqual(win["client"], (167, 56))
        self.assertEqual((win["left"], win["top"]),
                         ((SCREEN_W - win["width"]) // 2, (SCREEN_H - win["height"]) // 2))
        self.assertTrue(win["topmost"])
        self.assertTrue(self.control(controls, "Times To Repeat")["visible"])
        self.assertTrue(self.control(controls, "&Ok")["visible"])
        self.assertEqual(len([c for c in controls if c["class"] == "Edit"]), 1)

        s.focus(prompt)
        s.type_text("abcde")     # the field takes four characters
        self.shot("prompt")
        s.click_button("Macro Repeat", "Ok")
        error = s.wait_until(lambda: self.quilx_windows("Error"), 10, what="the refusal")
        self.shot("prompt-error")
        self.assertIn(INVALID_NUMBER, [text for _, text in s.window_texts(error[0].hwnd)])
        s.click_button(error[0].hwnd, "OK")
        s.window_gone(error[0].hwnd)
        self.assertTrue(self.quilx_windows("Macro Repeat"), "the prompt closed after a refusal")
        edit = [c for c in self.probe("Macro Repeat")[1] if c["class"] == "Edit"][0]
        self.assertEqual(edit["text"], "abcd")

        s.focus(prompt)
        s.key(*["BackSpace"] * 4)
        s.type_text(" 12 ")
        s.click_button("Macro Repeat", "Ok")
        s.window_gone(prompt)
        t.wait_text("x" * 12)
        self.wait_playback_done()
        self.assertEqual(self.wait_stable(t.text), "x" * 12)

    def test_13_a_second_abort_message_is_not_shown_while_one_is_open(self):
        s = self.s
        second = self.target("Quillon Abort Pad")
        first = self.target("Quillon Long Pad")
        s.key(key_of("l")[1])
        s.wait_until(lambda: len(first.text()) >= 20, 20, what="the long macro typing")
        s.key("Pause")
        message = s.wait_until(lambda: self.quilx_windows("Macro Abort"), 20,
                               what="the abort message")
        self.shot("abort-message")
        win, controls = self.probe("Macro Abort")
        self.assertEqual(win["client"], (235, 130))
        self.assertTrue(win["topmost"])
        self.assertEqual(self.control(controls, ABORT_TEXT)["box"][2:], (229, 97))
        self.assertTrue(self.control(controls, "&Ok")["visible"])

        # Another macro started while the message is open, then aborted too.
        s.key(key_of("b")[1])
        s.wait_until(lambda: len(second.text()) >= 20, 20, what="the second macro typing")
        s.key("Pause")
        typed = self.wait_stable(second.text)
        self.assertLess(len(typed), 300)
        self.assertEqual(len(self.quilx_windows("Macro Abort")), 1)
        s.click_button(message[0].hwnd, "Ok")
        s.window_gone(message[0].hwnd)
        self.wait_playback_done()
        # The dropped message does not come later either.
        time.sleep(1.0)
        self.assertFalse(self.quilx_windows("Macro Abort"))

    def test_13b_a_macro_started_inside_another_leaves_the_outer_ones_keys_down(self):
        # The outer macro holds Shift and waits; a real hot key starts the
        # inner one meanwhile. (Wine itself lets go of injected modifiers
        # when the X focus moves, so the wait, not a dialog, hosts it.)
        s = self.s
        outer = self.target("Quillon Outer Pad")
        s.key(key_of("u")[1])
        outer.wait_text("x")
        s.key(key_of("z")[1])
        outer.wait_text("xB")        # typed under the outer macro's Shift
        # The inner end let go of its own keys only: "a" comes shifted.
        outer.wait_text("xBAy")
        self.wait_playback_done()
        self.assertEqual(self.wait_stable(outer.text), "xBAy")
        state = int(s.wintool("keystate", hex(VK_SHIFT)).stdout.strip(), 16)
        self.assertFalse(state & 0x8000, f"Shift after both macros: {state:#x}")

    def test_14_dialog_templates_ask_for_arial_9_and_stay_on_top(self):
        for dialog_id, caption in ((3001, "Pause"), (3002, "Macro Repeat"), (3003, "")):
            with self.subTest(dialog=dialog_id):
                points, face, _, ex_style, got_caption = self.template(dialog_id)
                self.assertEqual((points, face), (9, "Arial"))
                self.assertTrue(ex_style & WS_EX_TOPMOST)
                self.assertEqual(got_caption, caption)
        # The pause dialog never takes the keyboard from the target.
        self.assertTrue(self.template(3001)[3] & WS_EX_NOACTIVATE)


if __name__ == "__main__":
    harness.main()
