"""QLXHOOK.DLL end to end: hookhost.exe plays the program's part (blocks,
install order, message log), target.exe is the program in front that must
never see a hot key, and xdotool presses real keys and buttons.

Ordering: a swallowed key leaves no trace, so absence is proven with
sentinels pressed after the keys under test: F12 is always armed (its
kMsgHotKey follows every earlier post of the hook thread) and a plain X has
no code (it reaches the target after every earlier key that passed)."""

import shutil
import unittest

import harness
from harness import WineSession

SENTINEL_HOST = ("F12", 299)       # armed: reported by the hook, swallowed
SENTINEL_TARGET = ("x", 0x58)      # no code at all: typed into the target
MODIFIER_VKS = {0x10, 0x11, 0x12, 0x5B, 0x5C, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5}
MENU_MASK_VK = 0xE8
NUMLOCK_VK = 0x90                  # xdotool toggles it around keypad digits

# (code, xdotool keys, virtual key): a sample from every block of the table.
SAMPLES = [
    (0, "ctrl+a", 0x41),
    (47, "ctrl+F12", 0x7B),
    (73, "alt+z", 0x5A),
    (122, "ctrl+shift+0", 0x30),
    (150, "ctrl+alt+g", 0x47),
    (223, "alt+shift+5", 0x35),
    (250, "ctrl+alt+shift+k", 0x4B),
    (290, "F3", 0x72),
    (311, "shift+F12", 0x7B),
    (312, "ctrl+Return", 0x0D),
    (322, "ctrl+alt+Tab", 0x09),
    (326, "shift+BackSpace", 0x08),
    (333, "shift+space", 0x20),
    (341, "ctrl+shift+Insert", 0x2D),
    (346, "alt+Delete", 0x2E),
    (356, "ctrl+alt+shift+Home", 0x24),
    (362, "ctrl+alt+End", 0x23),
    (364, "ctrl+period", 0xBE),
    (397, "alt+shift+backslash", 0xDC),
    (420, "ctrl+shift+equal", 0xBB),
    (425, "alt+grave", 0xC0),
    (430, "KP_Divide", 0x6F),
    (444, "ctrl+alt+KP_Multiply", 0x6A),
    (457, "shift+KP_Add", 0x6B),
    (462, "Insert", 0x2D),
    (467, "Next", 0x22),
    (470, "Up", 0x26),
    (472, "ctrl+Prior", 0x21),
    (498, "ctrl+alt+Right", 0x27),
    (513, "ctrl+alt+shift+Down", 0x28),
    (514, "KP_0", 0x60),
    (547, "ctrl+KP_8", 0x68),
    (554, "super+a", 0x41),
    (601, "super+F12", 0x7B),
    (611, "super+ctrl+j", 0x4A),
    (677, "super+alt+1", 0x31),
    (698, "Escape", 0x1B),
]


class HookHost:
    """A running hookhost.exe with its command file and its log."""

    def __init__(self, session: WineSession, arm=()):
        self.s = session
        folder = session.temp_path("hookhost")
        folder.mkdir()
        build = harness.win_build()
        shutil.copy2(build / "testprogs" / "hookhost.exe", folder)
        shutil.copy2(build / "dist" / "QLXHOOK.DLL", folder)
        self.log = session.temp_path("hookhost.log")
        self.commands = session.temp_path("hookhost.cmd")
        self.commands.write_text("")
        args = ["--log", session.win_path(self.log), "--commands", session.win_path(self.commands)]
        if arm:
            args += ["--arm", ",".join(map(str, arm))]
        self.proc = session.start(folder / "hookhost.exe", args)
        self.sent = 0
        self.ready = session.wait_until(lambda: self.find("ready "), 30, what="hookhost ready")

    def lines(self) -> list[str]:
        try:
            return self.log.read_text().split("\n")[:-1]  # the last piece may be half written
        except FileNotFoundError:
            return []

    def find(self, prefix: str, start: int = 0) -> str | None:
        return next((l for l in self.lines()[start:] if l.startswith(prefix)), None)

    def mark(self) -> int:
        return len(self.lines())

    def command(self, line: str, timeout: float = 10) -> str:
        self.sent += 1
        with open(self.commands, "a") as f:
            f.write(line + "\n")
        done = self.s.wait_until(lambda: self.find(f"done {self.sent} "), timeout,
                                 what=f"hookhost command {line!r}")
        return done.split(" ", 3)[3] if done.count(" ") >= 3 else ""

    def hotkeys(self, start: int) -> list[int]:
        return [int(l.split()[1]) for l in self.lines()[start:] if l.startswith("hotkey ")]

    def field(self, name: str, line: str | None = None) -> str:
        """Value of name=value in the ready line (or the given one)."""
        for word in (line or self.ready).split():
            if word.startswith(name + "="):
                return word.split("=", 1)[1]
        raise KeyError(name)


def u32(data: bytes, offset: int = 0) -> int:
    return int.from_bytes(data[offset:offset + 4], "little")


class HookLibrary(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        harness.require_build("dist/QLXHOOK.DLL", "testprogs/hookhost.exe",
                              "testprogs/target.exe", "testprogs/wintool.exe",
                              "testprogs/keepwarm.exe")
        cls.s = WineSession()
        try:
            cls.host = HookHost(cls.s, arm=[SENTINEL_HOST[1]])
            cls.target = cls.s.start_target("Hook Outside", keylog=True)
            cls.host_wid = cls.s.wait_for_window("Quillon Hook Host")
        except BaseException:
            cls.s.close()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.s.close()

    # --- helpers -------------------------------------------------------------

    def press_with_sentinels(self, *keys):
        """Presses the keys, then both sentinels; returns (host lines, target
        key events) produced since, up to the sentinels."""
        s, host, target = self.s, self.host, self.target
        start, tstart = host.mark(), len(target.key_events())
        for k in keys:
            s.key(k)
        s.key(SENTINEL_HOST[0], SENTINEL_TARGET[0])
        # While a hot-key entry is armed the sentinel is picked instead.
        sentinel = (["hotkey", str(SENTINEL_HOST[1])], ["pick", str(SENTINEL_HOST[1])])
        s.wait_until(lambda: any(l.split()[:2] in sentinel for l in host.lines()[start:]),
                     10, what="host sentinel")
        s.wait_until(lambda: ("up", SENTINEL_TARGET[1]) in target.key_events()[tstart:], 10,
                     what="target sentinel")
        lines = host.lines()[start:]
        events = target.key_events()[tstart:]
        cut = events.index(("up", SENTINEL_TARGET[1]))
        return lines, [e for e in events[:cut + 1] if e[1] != SENTINEL_TARGET[1]]

    @staticmethod
    def posted(lines):
        """Codes of the kMsgHotKey lines, the sentinel's left out."""
        codes = [int(l.split()[1]) for l in lines if l.startswith("hotkey ")]
        return [c for c in codes if c != SENTINEL_HOST[1]]

    # --- tests, in order -----------------------------------------------------

    def test_01_installs_in_order_and_handles_reach_the_blocks(self):
        host, s = self.host, self.s
        keyboard, mouse = int(host.field("keyboard"), 16), int(host.field("mouse"), 16)
        remap, activation = int(host.field("remap"), 16), int(host.field("activation"), 16)
        for name, h in [("keyboard", keyboard), ("mouse", mouse), ("remap", remap),
                        ("activation", activation)]:
            self.assertNotEqual(h, 0, name)
        self.assertEqual(len({keyboard, mouse, remap, activation}), 4)
        block = s.peek("QLBA1KGR", 744, 8)
        self.assertEqual((u32(block, 0), u32(block, 4)), (mouse, keyboard))
        self.assertEqual(u32(s.peek("QLTT1KGR", 4, 4)), remap)
        self.assertEqual(u32(s.peek("QLKR1KGR", 4, 4)), activation)
        # Exactly one thread was added to the process for all four hooks.
        self.assertTrue(host.field("threads").endswith("+1"), host.ready)

    def test_02_activation_of_an_outside_window_is_recorded(self):
        s, host = self.s, self.host
        target_hwnd = next(w.hwnd for w in s.list_windows() if w.title == "Hook Outside")
        s.focus(self.target.wid)
        s.wait_until(lambda: "lastwindow=Hook_Outside" in host.command("state"), 5,
                     what="outside window recorded")
        block = s.peek("QLKR1KGR", 0, 17)
        self.assertEqual(u32(block, 8), target_hwnd)
        self.assertEqual(u32(block, 12), target_hwnd)
        # The program's own windows are not recorded...
        s.focus(self.host_wid)
        self.assertIn("lastwindow=Hook_Outside lastwindow2=Hook_Outside", host.command("state"))
        # ...another program's are.
        second = s.start_target("Hook Second", keylog=False)
        s.wait_until(lambda: "lastwindow=Hook_Second" in host.command("state"), 5,
                     what="second outside window recorded")
        s.post_close("Hook Second")
        s.window_gone(second.wid)
        s.focus(self.target.wid)

    def test_03_sample_of_every_block_fires_exactly_when_armed(self):
        s, host = self.s, self.host
        s.focus(self.target.wid)
        codes = [c for c, _, _ in SAMPLES]
        keys = [k for _, k, _ in SAMPLES]
        tested_vks = {vk for _, _, vk in SAMPLES}

        host.command("arm " + " ".join(map(str, codes)))
        lines, events = self.press_with_sentinels(*keys)
        self.assertEqual(self.posted(lines), codes)
        for l in lines:
            if l.startswith("hotkey "):
                self.assertIn("focusroot=Hook_Outside", l)  # lParam: focus of the front program
                self.assertIn("caps=0", l)
        leaked = [e for e in events if e[1] not in MODIFIER_VKS | {MENU_MASK_VK, NUMLOCK_VK}]
        self.assertEqual(leaked, [], "swallowed hot keys must not reach the program in front")
        # Alt and Win combinations are followed by the neutral key so that
        # releasing Alt or Win opens no menu.
        self.assertIn(("down", MENU_MASK_VK), events)

        host.command("disarm " + " ".join(map(str, codes)))
        lines, events = self.press_with_sentinels(*keys)
        self.assertEqual(self.posted(lines), [])
        seen = {vk for kind, vk in events if kind in ("down", "sysdown")}
        self.assertEqual(tested_vks - seen, set(), "unarmed keys must pass")
        self.assertNotIn(("down", MENU_MASK_VK), events)

    def test_04_caps_lock_sets_bit_15(self):
        s, host = self.s, self.host
        s.focus(self.target.wid)
        host.command("arm 290")
        start = host.mark()
        s.key("Caps_Lock", "F3")
        s.wait_until(lambda: 290 in host.hotkeys(start), 5, what="F3 with Caps Lock")
        s.key("Caps_Lock", "F3")
        s.wait_until(lambda: host.hotkeys(start).count(290) == 2, 5, what="F3 without Caps Lock")
        caps = [l.split()[2] for l in host.lines()[start:] if l.startswith("hotkey 290 ")]
        self.assertEqual(caps, ["caps=1", "caps=0"])
        host.command("disarm 290")

    def test_05_mouse_buttons(self):
        s, host = self.s, self.host
        s.focus(self.host_wid)
        s._x("xdotool", "mousemove", "--window", str(self.host_wid), "120", "120")

        def click(button, *mods):
            # X buttons: 1 left, 2 middle, 3 right. The harness's window
            # manager keeps plain left clicks for itself, so the left button
            # is pressed with modifiers only.
            s._x("xdotool", *(["keydown", *mods] if mods else []), "click", button,
                 *(["keyup", *mods] if mods else []))

        # Ctrl+Shift+LMouse, Alt+RMouse, Ctrl+Alt+MMouse, RMouse, Shift+Alt+RMouse.
        host.command("arm 703 709 718 706 712")
        start = host.mark()
        click("1", "ctrl", "shift")
        click("3", "alt")
        click("2", "ctrl", "alt")
        click("3")
        click("3", "shift", "alt")
        click("3", "shift")    # 707, not armed
        click("2")             # 713, not armed
        s.wait_until(lambda: "mouse up 3" in host.lines()[start:], 5, what="unarmed middle click")
        lines = host.lines()[start:]
        self.assertEqual(self.posted(lines), [703, 709, 718, 706, 712])
        # Armed clicks never reach a window, down or up; unarmed ones do.
        self.assertEqual([l for l in lines if l.startswith("mouse ")],
                         ["mouse down 2", "mouse up 2", "mouse down 3", "mouse up 3"])
        host.command("disarm 703 709 718 706 712")
        start = host.mark()
        click("1", "ctrl", "shift")
        s.wait_until(lambda: "mouse up 1" in host.lines()[start:], 5, what="disarmed left click")
        self.assertEqual(self.posted(host.lines()[start:]), [])
        s.focus(self.target.wid)

    def test_06_hot_key_entry_routes_picks_to_the_entry_window(self):
        s, host = self.s, self.host
        s.focus(self.target.wid)
        host.command("arm 0")
        host.command("pick 1")
        lines, events = self.press_with_sentinels("ctrl+a", "shift+KP_Add", "Tab", "alt+w")
        host.command("pick 0")
        picks = [l for l in lines if l.startswith("pick ")]
        # Armed or not, every combination with a code is picked, by the entry
        # window (offset 752), not the main window; nothing starts a macro.
        # The armed sentinel F12 is picked as well.
        self.assertEqual(picks, ["pick 0 window=pick", "pick 457 window=pick",
                                 "pick 70 window=pick", "pick 299 window=pick"])
        self.assertEqual([l for l in lines if l.startswith("hotkey ")], [])
        # Tab has no code: it passes, so focus can leave the field.
        self.assertIn(("down", 0x09), events)
        self.assertNotIn(("down", 0x41), events)
        self.assertNotIn(("sysdown", 0x57), events)
        lines, _ = self.press_with_sentinels("ctrl+a")
        self.assertEqual(self.posted(lines), [0])
        host.command("disarm 0")

    def test_07_injected_input_never_fires(self):
        s, host = self.s, self.host
        s.focus(self.target.wid)
        host.command("arm 144 554")
        start, tstart = host.mark(), len(self.target.key_events())
        self.assertEqual(host.command("inject 144"), "sent")
        self.assertEqual(host.command("inject 554"), "sent")
        # The injected keys reached the target, so they really went through the hooks.
        s.wait_until(lambda: self.target.key_events()[tstart:].count(("down", 0x41)) == 2, 5,
                     what="injected A twice at the target")
        lines, _ = self.press_with_sentinels()
        self.assertEqual(self.posted(host.lines()[start:]), [])
        self.assertEqual(self.posted(lines), [])
        # And the same combination pressed for real still fires.
        lines, _ = self.press_with_sentinels("ctrl+alt+a")
        self.assertEqual(self.posted(lines), [144])
        host.command("disarm 144 554")

    def test_08_pause_aborts_only_during_playback_and_0x2B_ends_it(self):
        s, host = self.s, self.host
        s.focus(self.target.wid)
        host.command("playback 1")
        self.assertEqual(s.peek("QLBA1KGR", 777, 1), b"\x01")
        lines, events = self.press_with_sentinels("Pause")
        self.assertEqual([l for l in lines if l == "abort"], ["abort"])
        self.assertNotIn(("down", 0x13), events)
        # The macro's own (injected) Pause does not abort it.
        start = host.mark()
        host.command("injectvk 13")
        self.press_with_sentinels()
        self.assertNotIn("abort", host.lines()[start:])
        # The end-of-playback key clears the byte, even injected.
        host.command("injectvk 2b")
        s.wait_until(lambda: s.peek("QLBA1KGR", 777, 1) == b"\x00", 5, what="byte 777 cleared")
        self.assertIn("playback=0", host.command("state"))
        lines, events = self.press_with_sentinels("Pause")
        self.assertNotIn("abort", lines)
        self.assertIn(("down", 0x13), events)

    def test_09_restoring_hooks_keeps_one_hook_per_kind(self):
        s, host = self.s, self.host
        s.focus(self.target.wid)
        before = host.ready
        reply = host.command("rehook")
        keyboard = int(host.field("keyboard", reply), 16)
        remap = int(host.field("remap", reply), 16)
        self.assertNotEqual(keyboard, 0)
        self.assertNotEqual(remap, 0)
        self.assertNotEqual(keyboard, int(host.field("keyboard", before), 16))
        self.assertEqual(u32(s.peek("QLBA1KGR", 748, 4)), keyboard)
        self.assertEqual(u32(s.peek("QLTT1KGR", 4, 4)), remap)
        host.command("arm 150")
        lines, _ = self.press_with_sentinels("ctrl+alt+g")
        self.assertEqual(self.posted(lines), [150])
        # Installing the keyboard hook again without removing it first keeps
        # hot keys working, reported once.
        host.command("hookagain")
        lines, _ = self.press_with_sentinels("ctrl+alt+g")
        self.assertEqual(self.posted(lines), [150])
        host.command("disarm 150")

    def test_99_unhooking_in_order_stops_the_hook_thread(self):
        s, host = self.s, self.host
        s.focus(self.target.wid)
        host.command("arm 290")
        host.command("quit")
        self.assertEqual(s.wait_exit(host.proc, 15), 0)
        self.assertEqual(host.lines()[-1], "unhooked threads=0 freed")
        # With the hooks gone an armed key reaches the program in front.
        tstart = len(self.target.key_events())
        s.key("F3")
        s.wait_until(lambda: ("down", 0x72) in self.target.key_events()[tstart:], 5,
                     what="F3 at the target after unhooking")


if __name__ == "__main__":
    harness.main()
