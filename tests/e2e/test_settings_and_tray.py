"""key.ini beside the real tavrik.exe across two runs, and minimise-to-tray with the tray's
double-click. The steps share one run folder and run in order."""

import os
import shutil
import tempfile
import unittest

from tavrik_e2e import BUILD, WM_CLOSE, Tool, gbk, wait_for

WM_SYSCOMMAND = 0x0112
SC_MINIMIZE = 0xF020
TRAY_CALLBACK = 0x8064
WM_LBUTTONUP = 0x0202
WM_LBUTTONDBLCLK = 0x0203
WM_RBUTTONUP = 0x0205

DEFAULT_CONTENT = gbk("[key]\r\n1=小键盘8\r\n2=小键盘5\r\n3=小键盘2\r\n4=小键盘1\r\n5=小键盘4\r\n6=小键盘7\r\n"
                      "[keys]\r\n1=104\r\n2=101\r\n3=98\r\n4=97\r\n5=100\r\n6=103\r\n")


def hidden_for_wine(path):
    # Wine keeps DOS attributes in an extended attribute of the Unix file.
    try:
        value = os.getxattr(path, "user.DOSATTRIB").decode().strip("\0")
    except OSError:
        return False
    return bool(int(value, 16) & 2)


class SettingsAndTray(unittest.TestCase):
    run_dir = None

    @classmethod
    def setUpClass(cls):
        cls.run_dir = tempfile.mkdtemp(prefix="tavrik-settings-", dir=os.path.join(BUILD, "session"))

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.run_dir, ignore_errors=True)

    @property
    def ini(self):
        return os.path.join(self.run_dir, "key.ini")

    def test_1_missing_file_comes_back_hidden_and_choices_are_saved_on_close(self):
        self.assertFalse(os.path.exists(self.ini))
        tool = Tool(self.run_dir).start()
        try:
            with open(self.ini, "rb") as f:
                self.assertEqual(f.read(), DEFAULT_CONTENT)
            self.assertEqual(len(DEFAULT_CONTENT), 121)
            self.assertTrue(hidden_for_wine(self.ini))
            self.assertEqual(tool.text("编辑框1"), gbk("小键盘8"))

            tool.select_page(2)
            tool.click("编辑框1")
            wait_for(lambda: tool.control("编辑框1").focused, 30, what="focus in 编辑框1")
            tool.key("q")
            tool.wait_text("编辑框1", gbk("Q键"))
            tool.click("编辑框2")
            wait_for(lambda: tool.control("编辑框2").focused, 30, what="focus in 编辑框2")
            tool.key("space")
            tool.wait_text("编辑框2", gbk(" 键"))

            self.assertTrue(tool.post(WM_CLOSE))
            self.assertEqual(tool.wait_exit(120), 0)
        finally:
            tool.kill()
        with open(self.ini, "rb") as f:
            saved = f.read()
        self.assertIn(b"1=" + gbk("Q键"), saved)
        self.assertIn(b"1=81", saved)
        self.assertIn(b"2=32", saved)
        self.assertIn(b'2=" ' + gbk("键") + b'"', saved)  # outer blanks survive only in quotes
        self.assertIn(b"6=" + gbk("小键盘7"), saved)
        self.assertIn(b"6=103", saved)

    def test_2_next_run_loads_the_choices_and_minimise_goes_to_the_tray(self):
        before = open(self.ini, "rb").read()
        tool = Tool(self.run_dir).start()
        try:
            self.assertEqual(tool.text("编辑框1"), gbk("Q键"))
            self.assertEqual(tool.text("编辑框2"), gbk(" 键"))
            self.assertEqual(tool.text("编辑框3"), gbk("小键盘2"))

            tool.post(WM_SYSCOMMAND, SC_MINIMIZE)
            wait_for(lambda: tool.window_fields()["visible"] == "0", 60, what="the window to hide")

            for mouse in (WM_LBUTTONUP, WM_RBUTTONUP):  # single and right clicks do nothing
                tool.post(TRAY_CALLBACK, 100, mouse)
            tool.post(TRAY_CALLBACK, 100, WM_LBUTTONDBLCLK)
            shown = wait_for(lambda: (lambda w: w if w["visible"] == "1" else None)(tool.window_fields()), 60,
                             what="the window to come back")
            self.assertEqual(shown["iconic"], "0")
            wait_for(lambda: tool.window_fields()["foreground"] == "1", 30, what="the window to be active")

            self.assertTrue(tool.post(WM_CLOSE))
            self.assertEqual(tool.wait_exit(120), 0)
        finally:
            tool.kill()
        self.assertEqual(open(self.ini, "rb").read(), before)


if __name__ == "__main__":
    unittest.main(verbosity=2, failfast=True)
