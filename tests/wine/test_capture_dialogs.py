"""The capture, Snapword and key-remap dialogs under Wine: each opens with
its fixed texts and controls, closes cleanly, and is photographed into
build/wine/shots/ for a look (the Capture Complete picture is the README's)."""

import unittest

import harness
from harness import WineSession

SHOTS = harness.WINE_ROOT / "shots"

# mode: (caption, texts that must be among the dialog's controls)
DIALOGS = {
    "defaults": ("Capture Defaults", ["Capture &Keystrokes", "Capture &Double <ALT> for Menus", "Capture &Mouse",
                                      "&Screen", "&Window", "Capture Window Si&ze", "Captur&e At",
                                      "&Actual Speed", "&Half Speed", "Do&uble Speed", "&Quadruple Speed",
                                      "P&rompt on Capture", "&Global", "&Program", "&Ok", "&Cancel", "&Help"]),
    "macro": ("Capture Macro", ["F3", "Press Ctrl+Alt+Shift+X to end capture", "Or Press F3 to end capture",
                                "Letter head", "&Start Capture"]),
    "complete": ("Capture Complete", ["Macro Capture Complete",
                                      "Please assign this macro to a hot key or snapword.", "&Hot Keys",
                                      "&Snapwords", "Capture",
                                      "Place cursor in field below and Press the Hot Key to select"]),
    "snapwords": ("Snapword Options", ["Solitary &Usage", "Case &Sensitive", "Use &Prefix Keys", "Prefix Keys",
                                       ";;"]),
    "remapper": ("Keyboard Remapper", ["Upper Case", "Lower Case", "Punctuation", "Numeric", "&Ok"]),
    "select": ("Select Character", ["&Ok", "&Cancel"]),
}


class CaptureDialogs(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        harness.require_build("testprogs/capturedialogs.exe", "testprogs/wintool.exe", "testprogs/keepwarm.exe")
        cls.s = WineSession(name="capdlg")
        SHOTS.mkdir(parents=True, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        cls.s.close()

    def open(self, mode, *args):
        s = self.s
        out = s.temp_path(f"{mode}.out")
        proc = s.start(s.testprog("capturedialogs"), [mode, *args])
        caption = DIALOGS[mode][0]
        wid = s.wait_for_window(caption, 20)
        return proc, wid, caption

    def test_each_dialog_shows_its_texts_and_closes(self):
        s = self.s
        for mode, (caption, texts) in DIALOGS.items():
            with self.subTest(mode):
                proc, wid, _ = self.open(mode, s.win_path(s.temp_path("remap.qls")))
                shown = [t for _, t in s.window_texts(caption)]
                for t in texts:
                    self.assertIn(t, shown, f"{mode}: {t!r}")
                s.screenshot(SHOTS / f"{mode}.png")
                s.post_close(caption)
                self.assertEqual(s.wait_exit(proc, 15), 0)

    def test_capture_complete_takes_a_picked_row(self):
        s = self.s
        proc, wid, caption = self.open("complete")
        s.focus(wid)
        # Ok without a row: the fixed refusal, the dialog stays.
        s.click_button(caption, "Ok")
        box = s.wait_until(lambda: s.find_windows(title="Error"), 10, what="refusal")
        self.assertIn(("Static", "No hot key selected.  Please select one."), s.window_texts(box[0].hwnd))
        s.post_close(box[0].hwnd)
        s.window_gone("Error")
        self.assertIsNone(proc.poll())
        s.post_close(caption)
        self.assertEqual(s.wait_exit(proc, 15), 0)


if __name__ == "__main__":
    harness.main()
