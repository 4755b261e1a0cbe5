"""Macro playback end to end: a prepared macro file, the real QUILX.EXE and
QLXHOOK.DLL, hot keys pressed with xdotool, and what target.exe receives.

One QUILX.EXE session serves every case; each case types into fresh target
windows of its own, so a failing case leaves no text behind for the next."""

import time
import unittest

import harness
from harness import WineSession
from macrofile import SCOPE_SYSTEM, SCOPE_WINDOW, SYSTEM_MACROS, Macro, write_macro_file

ACTIVATION_BLOCK = "QLBA1KGR"
AB_HOTKEY_TABLE, AB_PLAYBACK_STARTED = 17, 777
AB_SCOPES, AB_SCOPE_TEXTS, AB_ACTIVE, AB_CODES, AB_TOP_MOST, AB_COUNT = (
    792, 1792, 12292, 12792, 13792, 14292)
VK_SHIFT, VK_CONTROL, VK_MENU = 0x10, 0x11, 0x12
VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU = range(0xA0, 0xA6)
MODIFIER_VKS = (VK_SHIFT, VK_CONTROL, VK_MENU, VK_LSHIFT, VK_RSHIFT, VK_LCONTROL,
                VK_RCONTROL, VK_LMENU, VK_RMENU)
KEY_DOWN = 0x8000
MENU_MASK_VK = 0xE8     # the neutral key sent so that Alt's release opens no menu
CTRL_ALT = 144          # first code of the Ctrl+Alt block: Ctrl+Alt+A


def ctrl_alt(letter: str) -> tuple[int, str]:
    """(hot-key code, xdotool keys) of Ctrl+Alt+letter."""
    return CTRL_ALT + ord(letter) - ord("a"), f"ctrl+alt+{letter}"


# --- the macros of the session ----------------------------------------------

TYPING_KEY = ctrl_alt("a")
TYPING_TEXT = ('Hello, World! <ENTER>'
               'Shifted: ~!@#$%^&*()_+{}|:"<>? ABC xyz<TAB>tab<ENTER>'
               'Keys: abcX<BACKSPACE>d<SPACE><SHIFT>e\r\n'
               'Not tokens: <enter> a<b <DELAY:1.5> ac<LEFT ARROW>b')
TYPING_EXPECTED = ('Hello, World! \r\n'
                   'Shifted: ~!@#$%^&*()_+{}|:"<>? ABC xyz\ttab\r\n'
                   'Keys: abcd E\r\n'
                   'Not tokens: <enter> a<b <DELAY:1.5> abc')

REPEAT_KEY = ctrl_alt("r")
REPEAT_TEXT = ("<REPEAT:0003>x<I>-<ENDREP>|<REPEAT:0012>[<II>]<ENDREP>|"
               "<REPEAT:0002><I><I><ENDREP>|<I>")
REPEAT_EXPECTED = ("x1-x2-x3-|" + "".join(f"[{n:02}]" for n in range(1, 13)) + "|112|")

ACTIVATE_KEY = ctrl_alt("t")
SECOND_TITLE = "Quillon Second Pad"
ACTIVATE_TEXT = "first<ACTIVATE:second pad>second<ENTER>"

# Brought up under the pointer, the window hears the pointer enter and Wine
# copies the physical keyboard over its key state: a capital typed before
# that lost its Shift, and the hot key's Ctrl still held at that moment came
# back after the user let go of it.
CAPITAL_KEY = ctrl_alt("q")
CAPITAL_TITLE = "Quillon Capital Pad"
CAPITAL_TEXT = f"<ACTIVATE:{CAPITAL_TITLE}>Quillon QUILLON<DELAY:00.30> Quillon"
CAPITAL_EXPECTED = "Quillon QUILLON Quillon"

SCOPE_KEY = ctrl_alt("w")
RUNNING_KEY = ctrl_alt("x")
SCOPED_TITLE, PLAIN_TITLE = "Quillon Scoped Pad", "Quillon Plain Pad"

LONG_KEY = ctrl_alt("l")
LONG_BODY = ("Ab!1 cD@2 eF#3 ~G$4\r\n" * 200)[:4000]
LONG_TEXT = "<SPKEY:0003>" + LONG_BODY

HELD_KEY = ctrl_alt("h")
# Under a leaked Ctrl these letters select all, copy, paste, cut and so on.
HELD_BODY = "acvxzs-ACVXZS-" * 3
HELD_TEXT = "<SPKEY:0030>" + HELD_BODY

CAPS_KEY = ctrl_alt("c")
CAPS_TEXT = "MiXeD Case, abc XYZ!"

# Characters above 127 that the US layout has no key for.
HIGH_KEY = ctrl_alt("e")
HIGH_TEXT = "caf\xe9 na\xefve \xf1\xfc\xe7"
HIGH_CODES = sorted({ord(c) for c in HIGH_TEXT if ord(c) > 127})

# Typed as fast as the player goes: the target falls behind by thousands of
# keys, and an abort must not wait for it to catch up.
FAST_KEY = ctrl_alt("f")
FAST_TEXT = ("Ab!1 cD@2 eF#3 ~G$4\r\n" * 200)[:4000]
# A show-state change makes the window active: typing after it must wait
# until that window takes keys.
SHOW_KEY = ctrl_alt("m")
SHOW_TITLE = "Quillon Show Pad"
SHOW_TEXT = f"<WMAX:{SHOW_TITLE}>x<WRES:{SHOW_TITLE}>r"

NEXT_KEY = ctrl_alt("n")
NEXT_TEXT = "next"
# The program answers a round trip at once when it is idle; a wait for the
# target's backlog took over a second.
RESPONSIVE_MS = 500

MACROS = [
    Macro("Typing", TYPING_KEY[0], TYPING_TEXT),
    Macro("Repeats", REPEAT_KEY[0], REPEAT_TEXT),
    Macro("Activate", ACTIVATE_KEY[0], ACTIVATE_TEXT),
    Macro("Capitals after activation", CAPITAL_KEY[0], CAPITAL_TEXT),
    Macro("Global on W", SCOPE_KEY[0], "global"),
    Macro("Scoped on W", SCOPE_KEY[0], "scoped", scope=SCOPE_WINDOW,
          scope_text="Scoped Pad", top_most=True),
    Macro("Global on X", RUNNING_KEY[0], "global"),
    Macro("If running on X", RUNNING_KEY[0], "running", scope=SCOPE_WINDOW,
          scope_text="scoped pad", top_most=False),
    Macro("Long", LONG_KEY[0], LONG_TEXT),
    Macro("Held modifiers", HELD_KEY[0], HELD_TEXT),
    Macro("Caps", CAPS_KEY[0], CAPS_TEXT),
    Macro("High characters", HIGH_KEY[0], HIGH_TEXT),
    Macro("Inactive on A", TYPING_KEY[0], "never", active=False),
    Macro("Fast", FAST_KEY[0], FAST_TEXT),
    Macro("Next", NEXT_KEY[0], NEXT_TEXT),
    Macro("Show states", SHOW_KEY[0], SHOW_TEXT),
]


class Playback(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        harness.require_build("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "testprogs/target.exe",
                              "testprogs/wintool.exe", "testprogs/keepwarm.exe",
                              "testprogs/sendinput_bench.exe")
        cls.s = WineSession(name="playback")
        try:
            write_macro_file(cls.s.program_dir() / "QUILX.QLX", MACROS)
            cls.proc, _ = cls.s.start_quilx()
        except BaseException:
            cls.s.close()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.s.close()

    def setUp(self):
        self.assertIsNone(self.proc.poll(), "QUILX.EXE is no longer running")
        self.dismiss_abort_message()

    # --- helpers -------------------------------------------------------------

    def target(self, title, keylog=False):
        t = self.s.start_target(title, keylog=keylog)
        self.addCleanup(self.close_target, t)
        return t

    def close_target(self, t):
        if t.proc.poll() is None:
            self.s.post_close(t.title)
            self.s.wait_exit(t.proc)

    def wait_texts(self, expected, timeout=10):
        """Waits until every target holds its text; a failure names what
        each of them holds."""
        def all_there():
            return all(t.text() == text for t, text in expected.items())
        try:
            self.s.wait_until(all_there, timeout, what="the texts of the targets")
        except AssertionError as e:
            held = "; ".join(f"{t.title!r} holds {t.text()!r} (expected {text!r})"
                             for t, text in expected.items())
            raise AssertionError(f"{e}: {held}") from None

    def block(self, offset, count):
        data = self.s.peek(ACTIVATION_BLOCK, offset, count)
        self.assertIsNotNone(data, "the activation block is missing")
        return data

    def wait_playback_done(self, timeout=30):
        """The end-of-playback key has passed the hook."""
        self.s.wait_until(lambda: self.block(AB_PLAYBACK_STARTED, 1) == b"\0", timeout,
                          what="the end of the playback")

    def wait_stable(self, t, quiet=0.5, timeout=20):
        """The target's text once it has not changed for `quiet` seconds."""
        last = [t.text(), None]

        def settled():
            now = t.text()
            if now != last[0]:
                last[:] = [now, None]
                return False
            if last[1] is None:
                last[1] = time.monotonic()
            return time.monotonic() - last[1] >= quiet

        self.s.wait_until(settled, timeout, what=f"{t.title!r} to stop changing")
        return last[0]

    def held_modifiers(self):
        held = []
        for vk in MODIFIER_VKS:
            r = self.s.wintool("keystate", hex(vk))
            self.assertEqual(r.returncode, 0, r.stderr)
            if int(r.stdout.strip(), 16) & KEY_DOWN:
                held.append(hex(vk))
        return held

    def abort_messages(self):
        return self.s.find_windows(exe="QUILX.EXE", title="Macro Abort")

    def dismiss_abort_message(self):
        for w in self.abort_messages():
            self.s.click_button(w.hwnd, "Ok")
            self.s.window_gone("Macro Abort")

    # --- cases, in order -------------------------------------------------------

    def test_0_prepared_file_is_loaded_as_written(self):
        n = len(MACROS)
        self.assertEqual(int.from_bytes(self.block(AB_COUNT, 4), "little"), n + 4)
        scopes = self.block(AB_SCOPES, 2 * (n + 4))
        texts = self.block(AB_SCOPE_TEXTS, 21 * (n + 4))
        active = self.block(AB_ACTIVE, n + 4)
        codes = self.block(AB_CODES, 2 * (n + 4))
        top = self.block(AB_TOP_MOST, n + 4)
        expected = MACROS + [Macro(nick, code, scope=SCOPE_SYSTEM, scope_text=digit)
                             for digit, nick, code in SYSTEM_MACROS]
        for i, m in enumerate(expected):
            with self.subTest(macro=m.nickname):
                self.assertEqual(int.from_bytes(scopes[2 * i:2 * i + 2], "little", signed=True),
                                 m.scope)
                length = texts[21 * i]
                self.assertEqual(texts[21 * i + 1:21 * i + 1 + length].decode("cp1252"),
                                 m.scope_text[:20])
                self.assertEqual(active[i], int(m.active))
                self.assertEqual(int.from_bytes(codes[2 * i:2 * i + 2], "little"), m.code)
                self.assertEqual(top[i], int(m.top_most))
        table = self.block(AB_HOTKEY_TABLE, 720)
        used = {m.code for m in expected if m.active}
        self.assertEqual({c for c in range(720) if table[c]}, used)

    def test_1_hot_key_types_characters_named_keys_and_line_breaks(self):
        t = self.target("Quillon Typing Pad")
        self.s.key(TYPING_KEY[1])
        t.wait_text(TYPING_EXPECTED)
        self.wait_playback_done()
        self.assertEqual(self.wait_stable(t), TYPING_EXPECTED)

    def test_2_repeats_type_their_counters(self):
        t = self.target("Quillon Repeat Pad")
        self.s.key(REPEAT_KEY[1])
        t.wait_text(REPEAT_EXPECTED)
        self.wait_playback_done()
        self.assertEqual(self.wait_stable(t), REPEAT_EXPECTED)

    def test_3_activate_moves_typing_to_another_window(self):
        second = self.target(SECOND_TITLE)
        first = self.target("Quillon First Pad")
        self.s.key(ACTIVATE_KEY[1])
        self.wait_playback_done()
        # Keys sent before the activation belong to the first window.
        self.wait_texts({first: "first", second: "second\r\n"})
        self.assertEqual(self.s.wintool("foreground").stdout.rstrip("\r\n"), SECOND_TITLE)

    def test_3b_capitals_typed_into_a_window_raised_under_the_pointer_keep_their_shift(self):
        capital = self.target(CAPITAL_TITLE)
        front = self.target("Quillon Front Pad")
        expected = ""
        for _ in range(4):
            front.focus()
            self.s.key(CAPITAL_KEY[1])
            expected += CAPITAL_EXPECTED
            self.wait_texts({capital: expected, front: ""})
            self.wait_playback_done()
        self.assertEqual(self.wait_stable(capital), expected)
        self.assertEqual(self.held_modifiers(), [])

    def test_3c_a_character_after_maximise_and_restore_reaches_that_window(self):
        shown = self.target(SHOW_TITLE)
        front = self.target("Quillon Behind Pad")
        self.s.key(SHOW_KEY[1])
        self.wait_playback_done()
        self.wait_texts({shown: "xr", front: ""})

    def test_4a_window_macro_in_front_beats_the_global_one(self):
        scoped = self.target(SCOPED_TITLE)
        plain = self.target(PLAIN_TITLE)
        scoped.focus()
        self.s.key(SCOPE_KEY[1])
        self.wait_playback_done()
        self.wait_texts({scoped: "scoped", plain: ""})
        plain.focus()
        self.s.key(SCOPE_KEY[1])
        self.wait_playback_done()
        self.wait_texts({scoped: "scoped", plain: "global"})
        # "Top Most Only": the scoped window was not brought forward.
        self.assertEqual(self.s.wintool("foreground").stdout.rstrip("\r\n"), PLAIN_TITLE)
        self.assertEqual(self.wait_stable(scoped), "scoped")

    def test_4b_if_running_window_macro_activates_its_window(self):
        scoped = self.target(SCOPED_TITLE)
        plain = self.target(PLAIN_TITLE)
        self.s.key(RUNNING_KEY[1])
        self.wait_playback_done()
        self.wait_texts({scoped: "running", plain: ""})
        self.assertEqual(self.s.wintool("foreground").stdout.rstrip("\r\n"), SCOPED_TITLE)
        self.assertEqual(self.wait_stable(plain), "")

    def test_5_pause_break_stops_a_long_macro_and_leaves_no_modifier_down(self):
        s = self.s
        t = self.target("Quillon Long Pad")
        s.key(LONG_KEY[1])
        s.wait_until(lambda: len(t.text()) >= 100, 20, what="the long macro to start typing")
        s.key("Pause")
        at_pause = len(t.text())
        s.wait_until(self.abort_messages, 20, what="the \"Macro Abort\" message")
        texts = [text for _, text in s.window_texts("Macro Abort")]
        self.assertIn("Quillon 98 macro has been aborted.", texts)
        typed = self.wait_stable(t)
        self.assertTrue(LONG_BODY.startswith(typed),
                        f"typed text is not the macro's beginning: ...{typed[-60:]!r}")
        self.assertLess(len(typed), len(LONG_BODY))
        # Stopped at once, not merely before the end.
        self.assertLess(len(typed) - at_pause, 300, f"{at_pause} at Pause, {len(typed)} at the end")
        self.assertEqual(self.held_modifiers(), [])
        self.dismiss_abort_message()
        self.wait_playback_done()
        self.assertEqual(self.held_modifiers(), [])
        # A key pressed now arrives plain: neither Shift nor Ctrl nor Alt held.
        t.focus()
        s.key("q")
        t.wait_text(typed + "q")

    def test_6_hot_key_modifiers_still_held_do_not_leak_into_the_text(self):
        s = self.s
        t = self.target("Quillon Held Pad")
        first_chars = False
        s.key_down("ctrl", "alt")
        try:
            s.key(HELD_KEY[1].rsplit("+", 1)[1])
            try:
                s.wait_until(lambda: len(t.text()) >= 3, 10,
                             what="first characters while Ctrl+Alt are held")
                first_chars = True
            except AssertionError:
                pass
        finally:
            s.key_up("alt", "ctrl")
        self.assertTrue(first_chars, f"nothing arrived while Ctrl+Alt were held: {t.text()!r}")
        t.wait_text(HELD_BODY)
        self.wait_playback_done()
        self.assertEqual(self.wait_stable(t), HELD_BODY)
        self.assertEqual(self.held_modifiers(), [])

    def test_6b_alt_let_go_first_opens_no_menu_in_the_target(self):
        # Alone between its press and its release, Alt hands the keyboard to
        # the window's menu: a key must come between them, whichever of the
        # user and the player lets go of Alt first.
        s = self.s
        t = self.target("Quillon Alt First Pad", keylog=True)
        s.key_down("ctrl", "alt")
        try:
            s.key(NEXT_KEY[1].rsplit("+", 1)[1])
            s.key_up("alt")
            t.wait_text(NEXT_TEXT)
        finally:
            s.key_up("alt", "ctrl")
        self.wait_playback_done()
        s.key("q")
        t.wait_text(NEXT_TEXT + "q")
        self.assertEqual(self.held_modifiers(), [])
        events = t.key_events()
        alt = [i for i, (kind, vk) in enumerate(events) if vk in (VK_MENU, VK_LMENU, VK_RMENU)]
        pressed = next(i for i in alt if events[i][0] in ("down", "sysdown"))
        let_go = next(i for i in alt if i > pressed and events[i][0] in ("up", "sysup"))
        self.assertIn(MENU_MASK_VK, [vk for kind, vk in events[pressed:let_go] if kind in ("down", "sysdown")],
                      f"key messages of the target: {events}")

    def test_7_caps_lock_on_types_as_written_and_stays_on(self):
        s = self.s
        t = self.target("Quillon Caps Pad")
        s.key("Caps_Lock")
        self.addCleanup(s.key, "Caps_Lock")
        s.key("q")
        t.wait_text("Q")        # Caps Lock is on as the program sees it
        s.key(CAPS_KEY[1])
        t.wait_text("Q" + CAPS_TEXT)
        self.wait_playback_done()
        s.key("q")
        t.wait_text("Q" + CAPS_TEXT + "Q")

    def test_8_character_the_layout_cannot_type_arrives(self):
        s = self.s
        r = s.run(s.testprog("sendinput_bench"), ["--vkscan", *map(str, HIGH_CODES)])
        self.assertEqual(r.returncode, 0, r.stderr)
        untypable = [int(c) for c, scan in (line.split() for line in r.stdout.splitlines())
                     if int(scan, 16) == 0xFFFF]
        self.assertEqual(untypable, HIGH_CODES, f"VkKeyScanA: {r.stdout!r}")
        t = self.target("Quillon High Pad", keylog=True)
        s.key(HIGH_KEY[1])
        self.wait_playback_done()
        self.assertEqual(self.wait_stable(t), HIGH_TEXT,
                         f"key messages of the target: {t.key_events()}")

    def test_9_program_answers_at_once_after_an_abort_and_the_next_hot_key_plays(self):
        s = self.s
        main = s.find_windows(exe="QUILX.EXE", title="Quillon 98 (QUILX)", visible=False)[0].hwnd
        t = self.target("Quillon Fast Pad")
        s.key(FAST_KEY[1])
        s.wait_until(lambda: len(t.text()) >= 200, 20, what="the fast macro to start typing")
        # Round trips to the main window every 10 ms from now on.
        pinger = s.start(s.testprog("wintool"), ["ping", hex(main), "150", "10"])
        s.wait_until(lambda: s.output(pinger).count("\n") >= 2, 20, what="the first round trips")
        s.key("Pause")
        box = s.wait_until(self.abort_messages, 20, what="the \"Macro Abort\" message")[0]
        s.click_button(box.hwnd, "Ok")
        s.window_gone("Macro Abort")
        after = self.target("Quillon Next Pad")
        s.key(NEXT_KEY[1])
        after.wait_text(NEXT_TEXT)
        self.wait_playback_done()
        s.wait_exit(pinger, 60)
        trips = [line.split() for line in s.output(pinger).splitlines() if line.strip()]
        slow = [t for t in trips if t[1] == "timeout" or float(t[1]) > RESPONSIVE_MS]
        self.assertEqual(slow, [], f"round trips (ms since start, ms): {trips}")
        self.assertEqual(self.held_modifiers(), [])


if __name__ == "__main__":
    harness.main()
