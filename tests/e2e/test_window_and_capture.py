"""The real tavrik.exe: its window, the pages, key capture in the key boxes, restore-defaults and
the close road. One start of the tool serves the whole file (a 32-bit start can take a minute);
the steps run in order."""

import unittest

from tavrik_e2e import WM_CLOSE, Tool, gbk, wait_for

JIAN = gbk("键")
KEYPAD_NAMES = {n: gbk("小键盘") + d for n, d in
                {"编辑框1": b"8", "编辑框2": b"5", "编辑框3": b"2", "编辑框4": b"1", "编辑框5": b"4", "编辑框6": b"7"}.items()}


class WindowAndCapture(unittest.TestCase):
    tool = None

    @classmethod
    def setUpClass(cls):
        cls.tool = Tool().start()

    @classmethod
    def tearDownClass(cls):
        cls.tool.__exit__(None, None, None)

    def test_1_window_is_vintrel_with_its_caption_and_size(self):
        w = self.tool.window_fields()
        self.assertEqual(w["class"], "Vintrel")
        self.assertEqual(self.tool.caption(), gbk("Tavrik1.52 魔兽显血改键工具"))
        x, y, width, height = (int(v) for v in w["rect"].split(","))
        self.assertEqual((width, height), (340, 245))
        sw, sh = (int(v) for v in w["screen"].split(","))
        self.assertEqual((x, y), ((sw - 340) // 2, (sh - 245) // 2))
        style = int(w["style"], 16)
        self.assertTrue(style & 0x00020000, "minimise button")
        self.assertFalse(style & 0x00010000, "no maximise button")
        self.assertFalse(style & 0x00040000, "no sizing frame")

    def test_2_about_page_first_and_key_boxes_only_on_their_page(self):
        controls = self.tool.controls()
        self.assertEqual(controls["选择夹1"].selected, 0)
        self.assertTrue(controls["标签5"].visible)
        self.assertFalse(controls["超文本浏览框1"].visible)
        self.assertFalse(controls["选择框2"].visible)
        self.assertFalse(controls["标签1"].visible)
        self.assertEqual(controls["标签8"].text, gbk("状态: 未改键"))
        for box in KEYPAD_NAMES:
            self.assertFalse(controls[box].visible, box)

        self.tool.select_page(2)
        controls = self.tool.controls()
        for box, name in KEYPAD_NAMES.items():
            self.assertTrue(controls[box].visible, box)
        self.assertFalse(controls["标签5"].visible)

        self.tool.select_page(1)
        controls = self.tool.controls()
        self.assertFalse(controls["超文本浏览框1"].visible)
        self.assertFalse(controls["编辑框1"].visible)
        self.tool.select_page(2)

    def test_3_pressing_a_in_box_one_shows_a_jian(self):
        self.tool.click("编辑框1")
        wait_for(lambda: self.tool.control("编辑框1").focused, 30, what="focus in 编辑框1")
        self.tool.key("a")
        self.tool.wait_text("编辑框1", b"A" + JIAN)
        self.assertEqual(self.tool.text("编辑框1").hex(" ").upper(), "41 BC FC")

    def test_4_ctrl_tab_captures_tab(self):
        self.tool.key("ctrl+Tab")
        self.tool.wait_text("编辑框1", gbk("TAB键"))
        self.assertTrue(self.tool.control("编辑框1").focused)

    def test_5_tab_moves_the_focus_without_capturing(self):
        before = self.tool.controls()
        self.tool.key("Tab")
        wait_for(lambda: not self.tool.control("编辑框1").focused, 30, what="the focus to leave 编辑框1")
        after = self.tool.controls()
        for box in KEYPAD_NAMES:
            self.assertEqual(after[box].text, before[box].text, box)
        self.tool.key("shift+Tab")
        wait_for(lambda: self.tool.control("编辑框1").focused, 30, what="the focus back in 编辑框1")

    def test_6_esc_and_enter_are_captured_and_the_window_stays(self):
        self.tool.key("Escape")
        self.tool.wait_text("编辑框1", gbk("ESC键"))
        self.tool.key("Return")
        self.tool.wait_text("编辑框1", b"\r" + JIAN)
        self.assertIsNone(self.tool.process.poll())
        self.assertEqual(self.tool.window_fields()["visible"], "1")

    def test_7_capture_in_another_box_and_restore_defaults(self):
        self.tool.click("编辑框4")
        wait_for(lambda: self.tool.control("编辑框4").focused, 30, what="focus in 编辑框4")
        self.tool.key("F1")
        self.tool.wait_text("编辑框4", gbk("F1键"))
        self.tool.click("按钮1")
        for box, name in KEYPAD_NAMES.items():
            self.tool.wait_text(box, name)

    def test_8_close_request_ends_the_process_with_zero(self):
        self.assertTrue(self.tool.post(WM_CLOSE))
        self.assertEqual(self.tool.wait_exit(120), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2, failfast=True)
