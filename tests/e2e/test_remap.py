"""What the game receives from the real tavrik.exe: remapped keys, the health-bar keys held by
Home, and the left Windows key blocked on request. Our witness window stands in for the game.
One start of the tool serves the whole file; the steps run in order."""

import unittest

from tavrik_e2e import WM_CLOSE, Tool, Witness, gbk, wait_for

KEY_BOXES = ["编辑框1", "编辑框2", "编辑框3", "编辑框4", "编辑框5", "编辑框6"]
LOCKED = KEY_BOXES + ["按钮1", "按钮3"]


class Remap(unittest.TestCase):
    tool = None
    witness = None

    @classmethod
    def setUpClass(cls):
        cls.witness = Witness().__enter__()
        cls.tool = Tool().start()

    @classmethod
    def tearDownClass(cls):
        cls.tool.__exit__(None, None, None)
        cls.witness.__exit__(None, None, None)

    def wait_events(self, mark, expected, kind="msg", keys=None, timeout=30):
        def seen():
            events = [e for e in self.witness.events_since(mark, kind) if keys is None or e[1] in keys]
            return events if len(events) >= len(expected) else None
        events = wait_for(seen, timeout, what=f"{expected} at the witness")
        self.assertEqual(events[:len(expected)], expected)

    def test_1_capture_q_and_switch_on_with_f8(self):
        self.tool.select_page(2)
        self.tool.click("编辑框1")
        wait_for(lambda: self.tool.control("编辑框1").focused, 30, what="focus in 编辑框1")
        self.tool.key("q")
        self.tool.wait_text("编辑框1", gbk("Q键"))

        self.tool.key("F8")
        self.tool.wait_text("标签8", gbk("状态: 已改键"))
        controls = self.tool.controls()
        for name in LOCKED:
            self.assertFalse(controls[name].enabled, name)

    def test_2_q_reaches_the_game_as_keypad_8(self):
        self.witness.focus()
        mark = self.witness.mark()
        self.tool.key("q")
        self.wait_events(mark, [("down", 104), ("up", 104)], keys={104, 81})
        downs = [e for e in self.witness.events_since(mark) if e == ("down", 81)]
        self.assertEqual(downs, [], "the plain Q key-down must not reach the game")
        raw = [e for e in self.witness.events_since(mark, "ll") if e[1] == 104]
        self.assertEqual(raw, [("down", 104), ("up", 104)])

    def test_3_f8_again_switches_off_and_q_is_plain(self):
        self.witness.focus()
        self.tool.key("F8")
        self.tool.wait_text("标签8", gbk("状态: 未改键"))
        controls = self.tool.controls()
        for name in LOCKED:
            self.assertTrue(controls[name].enabled, name)
        mark = self.witness.mark()
        self.tool.key("q")
        self.wait_events(mark, [("down", 81), ("up", 81)], keys={81, 104})

    def test_4_home_holds_the_health_bar_keys_then_releases_them(self):
        self.witness.focus()
        mark = self.witness.mark()
        self.tool.key("Home")
        self.wait_events(mark, [("down", 219), ("down", 221)], keys={219, 221})
        self.tool.key("Home")
        self.wait_events(mark, [("down", 219), ("down", 221), ("up", 219), ("up", 221)], keys={219, 221})

    def test_5_left_windows_key_is_blocked_while_checked(self):
        self.tool.select_page(4)
        self.tool.click("选择框1")
        wait_for(lambda: self.tool.control("选择框1").checked == 1, 30, what="选择框1 checked")

        self.witness.focus()
        mark = self.witness.mark()
        self.tool.key("Super_L")
        self.tool.key("Super_R")
        self.wait_events(mark, [("down", 92), ("up", 92)], keys={91, 92})
        self.assertEqual([e for e in self.witness.events_since(mark, "ll") if e[1] == 91], [])

        self.tool.click("选择框1")
        wait_for(lambda: self.tool.control("选择框1").checked == 0, 30, what="选择框1 unchecked")
        self.witness.focus()
        mark = self.witness.mark()
        self.tool.key("Super_L")
        self.wait_events(mark, [("down", 91), ("up", 91)], keys={91, 92})

    def test_6_closing_while_the_bars_are_held_releases_them(self):
        self.witness.focus()
        mark = self.witness.mark()
        self.tool.key("Home")
        self.wait_events(mark, [("down", 219), ("down", 221)], keys={219, 221})
        self.assertTrue(self.tool.post(WM_CLOSE))
        self.assertEqual(self.tool.wait_exit(120), 0)
        self.wait_events(mark, [("down", 219), ("down", 221), ("up", 219), ("up", 221)], kind="ll", keys={219, 221})


if __name__ == "__main__":
    unittest.main(verbosity=2, failfast=True)
