"""Checks of the end-to-end harness itself: real keys reach the focused Wine
window exactly, the helper programs report what is there, and a session
leaves nothing behind, whether it ends normally, by an exception or by the
test process being killed."""

import os
import subprocess
import sys
import textwrap
import unittest
from pathlib import Path

import harness
from harness import WineSession

VK_SHIFT, VK_RETURN, VK_A, VK_1 = 0x10, 0x0D, 0x41, 0x31


def processes_with_prefix(prefix: Path) -> list[int]:
    """Pids of live processes whose environment names this Wine prefix."""
    needle = b"WINEPREFIX=" + str(prefix).encode() + b"\0"
    pids = []
    for d in Path("/proc").iterdir():
        if not d.name.isdigit():
            continue
        try:
            if needle in (d / "environ").read_bytes():
                pids.append(int(d.name))
        except OSError:
            continue
    return pids


def alive(pid: int) -> bool:
    try:
        state = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()[0]
    except (OSError, IndexError):
        return False
    return state != "Z"


class TypingAndHelpers(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        harness.require_build("testprogs/target.exe", "testprogs/wintool.exe",
                              "testprogs/keepwarm.exe")
        cls.s = WineSession()

    @classmethod
    def tearDownClass(cls):
        cls.s.close()

    def test_typed_text_arrives_exactly(self):
        s = self.s
        t = s.start_target("Harness Typing")
        text = 'Hello, World! ~`!@#$%^&*()_+{}|:"<>? -=[]\\;\',./\nSecond LINE\tend'
        s.type_text(text)
        t.wait_text(text.replace("\n", "\r\n"))
        # Named keys: Enter, a shifted letter, BackSpace over the last one.
        s.key("Return", "shift+q", "x", "BackSpace")
        t.wait_text(text.replace("\n", "\r\n") + "\r\nQ")
        s.post_close(t.title)
        self.assertEqual(s.wait_exit(t.proc), 0)
        s.window_gone(t.wid)

    def test_key_messages_are_logged_in_order(self):
        s = self.s
        t = s.start_target("Harness Keys", keylog=True)
        s.key("a")
        s.key_down("shift")
        s.key("1")
        s.key_up("shift")
        s.key("Return")
        t.wait_text("a!\r\n")
        events = s.wait_until(lambda: len(t.key_events()) >= 8 and t.key_events(),
                              what="eight key messages")
        self.assertEqual(events, [("down", VK_A), ("up", VK_A),
                                  ("down", VK_SHIFT), ("down", VK_1), ("up", VK_1),
                                  ("up", VK_SHIFT),
                                  ("down", VK_RETURN), ("up", VK_RETURN)])
        s.stop(t.proc)

    def test_focus_moves_between_windows(self):
        s = self.s
        first = s.start_target("Harness First")
        second = s.start_target("Harness Second")
        # The newest window took the focus; typing goes there.
        s.type_text("two")
        second.wait_text("two")
        first.focus()
        s.type_text("one")
        first.wait_text("one")
        second.focus()
        s.type_text("2")
        second.wait_text("two2")
        self.assertEqual(first.text(), "one")
        self.assertEqual(s.wintool("foreground").stdout.strip(), "Harness Second")
        s.stop(first.proc)
        s.stop(second.proc)

    def test_wintool_reports_windows_texts_and_blocks(self):
        s = self.s
        t = s.start_target("Harness Tool")
        s.type_text("abc")
        t.wait_text("abc")
        mine = s.find_windows(exe="target.exe", title="Harness Tool")
        self.assertEqual(len(mine), 1)
        self.assertEqual(mine[0].cls, "QuillonTarget")
        self.assertEqual(s.window_texts(mine[0].hwnd), [("Edit", "abc")])
        self.assertEqual(s.window_texts("Harness To"), [("Edit", "abc")])
        r = s.wintool("texts", "No Such Window Title")
        self.assertEqual(r.returncode, 1)
        # Shift held by xdotool is visible to GetAsyncKeyState.
        s.focus(t.wid)
        s.key_down("shift")
        try:
            held = s.wintool("keystate", str(VK_SHIFT)).stdout.strip()
        finally:
            s.key_up("shift")
        self.assertTrue(int(held, 16) & 0x8000, held)
        self.assertFalse(int(s.wintool("keystate", str(VK_SHIFT)).stdout, 16) & 0x8000)

        self.assertIsNone(s.peek("QLXNOSUCHBLOCK", 0, 4))
        holder = s.start(s.testprog("wintool"), ["hold", "QLXHARNESSBLK", "64"])
        s.wait_until(lambda: s.peek("QLXHARNESSBLK", 0, 1) is not None, what="held block")
        self.assertEqual(s.wintool("poke", "QLXHARNESSBLK", "10", "a1b2ff").returncode, 0)
        self.assertEqual(s.peek("QLXHARNESSBLK", 8, 7), bytes.fromhex("0000a1b2ff0000"))
        # Beyond the mapped view: refused, not read.
        self.assertEqual(s.wintool("peek", "QLXHARNESSBLK", "4090", "100").returncode, 3)
        self.assertEqual(s.wintool("poke", "QLXHARNESSBLK", "1", "abc").returncode, 3)
        s.stop(holder)
        s.wait_until(lambda: s.peek("QLXHARNESSBLK", 0, 1) is None, what="block to go")

        s.post_close("Harness Tool")
        self.assertEqual(s.wait_exit(t.proc), 0)

    def test_wait_until_names_what_timed_out(self):
        with self.assertRaisesRegex(AssertionError, "the impossible"):
            self.s.wait_until(lambda: False, timeout=0.2, what="the impossible",
                              screenshot=False)


class WithoutWindowManager(unittest.TestCase):
    def test_typing_and_focus_work_without_window_manager(self):
        harness.require_build("testprogs/target.exe", "testprogs/wintool.exe",
                              "testprogs/keepwarm.exe")
        with WineSession(window_manager=False) as s:
            first = s.start_target("Bare First")
            second = s.start_target("Bare Second")
            s.type_text("Two!")
            second.wait_text("Two!")
            first.focus()
            s.type_text("One?\n")
            first.wait_text("One?\r\n")
            self.assertEqual(second.text(), "Two!")


class Cleanup(unittest.TestCase):
    def setUp(self):
        harness.require_build("testprogs/target.exe", "testprogs/keepwarm.exe")

    def assert_nothing_left(self, pids, prefix: Path, session_dir: Path):
        for pid in pids:
            self.assertFalse(alive(pid), f"process {pid} still running")
        self.assertEqual(processes_with_prefix(prefix), [])
        self.assertFalse(session_dir.exists())

    def test_session_ending_in_an_exception_stops_everything(self):
        with self.assertRaisesRegex(RuntimeError, "test failed"):
            with WineSession() as s:
                t = s.start_target("Cleanup Target")
                pids = [s._xvfb.pid, s._wm.pid, t.proc.pid]
                prefix, session_dir = s.prefix, s.dir
                self.assertTrue(processes_with_prefix(prefix))
                raise RuntimeError("test failed")
        self.assert_nothing_left(pids, prefix, session_dir)

    def test_killed_test_process_leaves_nothing_running(self):
        # A child test process opens a session, starts a target and is then
        # killed outright, as a ctest timeout would.
        code = textwrap.dedent(f"""
            import sys, time
            sys.path.insert(0, {str(Path(__file__).parent)!r})
            from harness import WineSession
            s = WineSession()
            t = s.start_target("Orphan Target")
            print(s._xvfb.pid, s._wm.pid, t.proc.pid, s.prefix, s.dir, flush=True)
            time.sleep(600)
        """)
        child = subprocess.Popen([sys.executable, "-c", code], stdout=subprocess.PIPE,
                                 env=os.environ.copy())
        try:
            line = child.stdout.readline().decode().split()
        finally:
            child.kill()
            child.wait()
            child.stdout.close()
        self.assertEqual(len(line), 5, line)
        pids = [int(p) for p in line[:3]]
        prefix, session_dir = Path(line[3]), Path(line[4])
        with WineSession() as probe:
            # The processes started by the dead session died with it; the
            # next session sweeps up its wineserver and folder.
            probe.wait_until(lambda: not any(alive(p) for p in pids), 10,
                             what="the orphan's processes to end")
            probe.wait_until(lambda: not processes_with_prefix(prefix), 20,
                             what="the orphan's Wine processes to end")
            self.assertFalse(session_dir.exists())


if __name__ == "__main__":
    harness.main()
