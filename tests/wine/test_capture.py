"""Capture, Snapword characters and key remapping in QLXHOOK.DLL, end to
end with real X input: hookhost.exe stands in for the program (blocks,
hooks, the messages the library posts, the program's player), target.exe
is the program the user types into, xdotool is the user."""

import random
import re
import unittest

import harness
from harness import WineSession
from test_hook import HookHost

TARGET = "Capture Target"
STOP_KEY = ("ctrl+alt+shift+x", 263)   # the Start/Stop Capture default


class CaptureAndFriends(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        harness.require_build("dist/QLXHOOK.DLL", "testprogs/hookhost.exe",
                              "testprogs/target.exe", "testprogs/wintool.exe",
                              "testprogs/keepwarm.exe")
        cls.s = WineSession(name="capture", wm_takes_client_clicks=False)
        try:
            cls.host = HookHost(cls.s)
            cls.target = cls.s.start_target(TARGET, keylog=True)
        except BaseException:
            cls.s.close()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.s.close()

    # --- helpers -------------------------------------------------------------

    def clear_target(self):
        self.assertEqual(self.host.command(f"settext {TARGET}"), "cleared")
        self.target.wait_text("")

    def wait_text(self, text):
        """The target's text; a failure names where the edit's clicks went."""
        try:
            return self.target.wait_text(text)
        except AssertionError as e:
            raise AssertionError(f"{e}; the edit's clicks: {self.target.button_events()}") from None

    def lines_since(self, start, prefix):
        return [l for l in self.host.lines()[start:] if l.startswith(prefix)]

    def captured_since(self, start):
        return "".join(chr(int(l.split()[2], 16)) for l in self.lines_since(start, "capchar "))

    def snaps_since(self, start):
        return [(int(l.split()[1]), chr(int(l.split()[2], 16))) for l in self.lines_since(start, "snap ")]

    def click_in_target(self, x, y):
        s = self.s
        s._x("xdotool", "mousemove", "--window", str(self.target.wid), str(x), str(y))
        s._x("xdotool", "click", "1")

    # --- tests, in order -----------------------------------------------------

    def test_01_record_and_replay(self):
        s, host = self.s, self.host
        self.clear_target()
        self.target.focus()
        start = host.mark()
        host.command(f"capture {STOP_KEY[1]} -1 kms")
        s.type_text("Hello, World! <b>")
        s.key("Return")
        s.type_text("second line")
        s.key("BackSpace", "Left")
        s.type_text("X")
        # A click at the far right of the first line moves the caret there.
        self.click_in_target(300, 8)
        s.type_text("!")
        recorded = "Hello, World! <b>!\r\nsecond liXn"
        self.wait_text(recorded)
        s.key(STOP_KEY[0])
        s.wait_until(lambda: self.lines_since(start, "capdone "), 10, what="capture done")
        self.assertEqual(self.lines_since(start, "capdone "), ["capdone 5"])
        captured = self.captured_since(start)
        self.assertRegex(captured, r"^Hello, World! <<TEST>b><ENTER>second line<BACKSPACE><LEFT ARROW>X"
                                   r"<MMS:\d{5},\d{5}><LCLK>!$")
        # The stop key reached neither the text nor the target.
        self.assertEqual(self.target.text(), recorded)
        self.assertTrue({int(l.split()[1]) for l in self.lines_since(start, "capchar ")} == {5})

        # The replayed click goes where the recorded one went: sent within
        # the double-click time after it, it would be taken as a double
        # click (which selects the word at the caret).
        s.wait_double_click_time_over(self.target.last_press_time())
        self.clear_target()
        self.target.focus()
        host.command("play", timeout=60)
        self.wait_text(recorded)
        self.assertEqual([e[0] for e in self.target.button_events()], ["ldown", "lup"] * 2)

    def test_02_capture_ended_by_the_program_drops_its_click(self):
        s, host = self.s, self.host
        self.clear_target()
        self.target.focus()
        start = host.mark()
        host.command(f"capture {STOP_KEY[1]} -1 kms")
        s.type_text("ab")
        self.target.wait_text("ab")
        self.click_in_target(250, 8)
        # The click must have passed the hook before the program ends it.
        s.type_text("c")
        self.target.wait_text("abc")
        self.click_in_target(200, 8)
        host.command("endcapture")
        s.type_text("d")
        self.target.wait_text("abcd")
        s.key(STOP_KEY[0])  # no capture: an unarmed combination, passes
        self.assertEqual(self.lines_since(start, "capdone "), [])
        self.assertRegex(self.captured_since(start), r"^ab<MMS:\d{5},\d{5}><LCLK>c$")

    def test_03_snapword_characters_and_clear_points(self):
        s, host = self.s, self.host
        self.clear_target()
        self.target.focus()
        s.type_text("z")  # the first key in this window clears whatever was before
        start = host.mark()
        s.type_text("ab c")
        s.key("Left", "Right")
        s.type_text("d")
        self.click_in_target(50, 8)
        s.key("Caps_Lock")
        s.type_text("e")
        s.key("Caps_Lock")
        s.key("Return")
        s.wait_until(lambda: (0, "\r") in self.snaps_since(start), 10, what="Enter reported")
        self.assertEqual(self.snaps_since(start),
                         [(0, "a"), (0, "b"), (0, " "), (0, "c"), (1, "\0"), (0, "d"), (1, "\0"),
                          (2, "E"), (0, "\r")])

    def test_04_remapped_character_arrives_remapped(self):
        s, host = self.s, self.host
        host.command("remapid")
        host.command("remap 61 62")   # a -> b
        host.command("remap 41 23")   # A -> #
        try:
            self.clear_target()
            self.target.focus()
            start = host.mark()
            s.type_text("banana BANANA")
            self.target.wait_text("bbnbnb B#N#N#")
            typed = "".join(c for _, c in self.snaps_since(start))
            self.assertEqual(typed, "bbnbnb B#N#N#", "Snapwords see what the target got")
        finally:
            host.command("remapid")

    def test_05_2000_characters_with_snapwords_and_remapping_arrive_in_order(self):
        s, host = self.s, self.host
        host.command("remapid")
        host.command("remap 7a 25")   # z -> %
        try:
            rnd = random.Random(98)
            alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;:!?-+=/()#@"
            text = "".join(rnd.choice(alphabet) for _ in range(2000))
            expected = text.replace("z", "%")
            self.clear_target()
            self.target.focus()
            s.type_text("q")
            self.target.wait_text("q")
            self.clear_target()
            start = host.mark()
            s.type_text(text, delay_ms=12)
            self.target.wait_text(expected, timeout=60)
            chars = lambda: "".join(c for w, c in self.snaps_since(start) if w != 1)
            try:
                s.wait_until(lambda: len(chars()) >= len(expected), 20, what="2000 Snapword characters")
            finally:
                self.assertEqual(chars(), expected)
        finally:
            host.command("remapid")


if __name__ == "__main__":
    harness.main()
