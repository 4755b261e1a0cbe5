"""The dialog base under Wine: an exception in a handler is reported in a
box captioned "Error" that names the handler, and the dialog goes on."""

import unittest

import harness
from harness import WineSession


class DialogBase(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        harness.require_build("testprogs/dialogbarrier.exe", "testprogs/wintool.exe", "testprogs/keepwarm.exe")
        cls.s = WineSession(name="dlgbase")

    @classmethod
    def tearDownClass(cls):
        cls.s.close()

    def test_a_throwing_handler_is_reported_and_the_dialog_goes_on(self):
        s = self.s
        proc = s.start(s.testprog("dialogbarrier"))
        # handler, its exception's text, what makes it run (FormShow: opening)
        rows = [("FormShow", "no form today", None),
                ("OkButtonClick", "no ok today", lambda: s.click_button("Remark", "Ok"))]
        for handler, what, act in rows:
            with self.subTest(handler):
                if act:
                    act()
                box = s.wait_until(lambda: s.find_windows(title="Error"), 20, what=f"the report of {handler}")
                texts = [t for _, t in s.window_texts(box[0].hwnd)]
                self.assertIn(f'{handler} failed in "Remark": {what}', texts)
                s.post_close(box[0].hwnd)
                s.window_gone("Error")
                self.assertIsNone(proc.poll(), "the dialog ended with the exception")
        s.post_close("Remark")
        self.assertEqual(s.wait_exit(proc, 15), 0)
        self.assertIn("returned 2", s.output(proc))


if __name__ == "__main__":
    harness.main()
