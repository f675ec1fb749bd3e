#include <gtest/gtest.h>

#include "app/layout.h"
#include "fakes/fake_main_window.h"

namespace {

struct Row {
  Control name;
  ControlKind kind;
  Control parent;
  int page, left, top, width, height;
  bool visible;
};

using K = ControlKind;
using C = Control;

// The window as the players know it: every control, where it sits and on which page.
const Row expectedRows[] = {
    {C::选择夹1, K::TabControl, C::None, 0, 8, 8, 320, 192, true},
    {C::分组框2, K::GroupBox, C::选择夹1, 1, 8, 32, 304, 144, true},
    {C::超文本浏览框1, K::WebView, C::分组框2, 0, 80, 128, 72, 24, false},
    {C::标签5, K::Label, C::分组框2, 0, 8, 16, 288, 112, true},
    {C::按钮1, K::PushButton, C::选择夹1, 2, 176, 56, 104, 40, true},
    {C::按钮3, K::PushButton, C::选择夹1, 2, 176, 112, 104, 40, true},
    {C::编辑框6, K::KeyBox, C::选择夹1, 2, 16, 48, 50, 25, true},
    {C::编辑框5, K::KeyBox, C::选择夹1, 2, 16, 92, 50, 25, true},
    {C::编辑框4, K::KeyBox, C::选择夹1, 2, 16, 134, 50, 25, true},
    {C::编辑框1, K::KeyBox, C::选择夹1, 2, 84, 48, 50, 25, true},
    {C::编辑框2, K::KeyBox, C::选择夹1, 2, 84, 92, 50, 25, true},
    {C::编辑框3, K::KeyBox, C::选择夹1, 2, 84, 134, 50, 25, true},
    {C::分组框1, K::GroupBox, C::选择夹1, 3, 24, 40, 264, 128, true},
    {C::标签2, K::Label, C::分组框1, 0, 30, 30, 210, 32, true},
    {C::标签4, K::Label, C::分组框1, 0, 46, 96, 168, 16, true},
    {C::分组框5, K::GroupBox, C::选择夹1, 4, 16, 32, 288, 152, true},
    {C::选择框1, K::CheckBox, C::分组框5, 0, 72, 40, 136, 32, true},
    {C::标签3, K::Label, C::分组框5, 0, 36, 135, 232, 24, true},
    {C::分组框4, K::GroupBox, C::选择夹1, 5, 16, 32, 288, 144, true},
    {C::标签7, K::Label, C::分组框4, 0, 16, 16, 264, 120, true},
    {C::分组框3, K::GroupBox, C::选择夹1, 6, 8, 32, 288, 152, true},
    {C::标签6, K::Label, C::分组框3, 0, 24, 24, 240, 112, true},
    {C::标签8, K::Label, C::None, 0, 9, 200, 104, 16, true},
    {C::选择框2, K::CheckBox, C::None, 0, 112, 200, 48, 16, false},
    {C::超级链接框1, K::Hyperlink, C::None, 0, 232, 200, 104, 14, true},
    {C::标签1, K::Label, C::None, 0, 183, 78, 8, 24, false},
};

TEST(Layout, EveryControlHasItsKindParentPageAndRectangle) {
  ASSERT_EQ(std::size(expectedRows), static_cast<std::size_t>(controlCount));
  for (const Row& row : expectedRows) {
    const ControlSpec& entry = controlSpec(row.name);
    SCOPED_TRACE(entry.layoutName);
    EXPECT_EQ(entry.name, row.name);
    EXPECT_EQ(entry.kind, row.kind);
    EXPECT_EQ(entry.parent, row.parent);
    EXPECT_EQ(entry.page, row.page);
    EXPECT_EQ(entry.left, row.left);
    EXPECT_EQ(entry.top, row.top);
    EXPECT_EQ(entry.width, row.width);
    EXPECT_EQ(entry.height, row.height);
    EXPECT_EQ(entry.visible, row.visible);
  }
}

TEST(Layout, TableIsInControlOrderSoIdsMatch) {
  for (int i = 0; i < controlCount; ++i) EXPECT_EQ(controlIndex(controlLayout()[i].name), i);
}

struct TextCase {
  Control name;
  std::string hex;
};

// The bytes as GBK: what the window shows must be these bytes exactly.
const TextCase expectedTexts[] = {
    {C::分组框2, "B9 D8 D3 DA B1 BE B3 CC D0 F2"},                                    // 关于本程序
    {C::按钮1, "BB D6 B8 B4 C4 AC C8 CF C9 E8 D6 C3"},                                // 恢复默认设置
    {C::按钮3, "C6 F4 D3 C3 2F C8 A1 CF FB 0D 0A 28 BF EC BD DD BC FC 20 46 38 29 0D 0A"},  // 启用/取消\r\n(快捷键 F8)\r\n
    {C::编辑框1, "D0 A1 BC FC C5 CC 38"},
    {C::编辑框6, "D0 A1 BC FC C5 CC 37"},
    {C::标签8, "D7 B4 CC AC 3A 20 CE B4 B8 C4 BC FC"},                                // 状态: 未改键
    {C::选择框1, "C6 C1 B1 CE 20 77 69 6E 64 6F 77 6E 73 20 BC FC"},                  // 屏蔽 windowns 键
    {C::选择框2, "D1 A1 D4 F1 BF F2"},                                                // 选择框
    {C::标签1, ""},
};

TEST(Layout, InitialTextsAreTheGbkBytes) {
  for (const TextCase& c : expectedTexts) {
    SCOPED_TRACE(controlSpec(c.name).layoutName);
    EXPECT_EQ(hexOf(controlSpec(c.name).text), c.hex);
  }
}

TEST(Layout, LongTextsAreWordWrappedRaisedAndExact) {
  for (Control c : {C::标签5, C::标签6, C::标签7}) {
    EXPECT_TRUE(controlSpec(c).wordWrap);
    EXPECT_TRUE(controlSpec(c).raised);
  }
  const std::string about = controlSpec(C::标签5).text;
  EXPECT_EQ(about.size(), 188u);
  EXPECT_EQ(about.substr(about.size() - 7), " \r\n^_^!");
  const std::string version = controlSpec(C::标签6).text;
  EXPECT_EQ(version.substr(0, 9), "\xB5\xB1\xC7\xB0\xB0\xE6\xB1\xBE ");  // 当前版本 and a space
  EXPECT_EQ(version.substr(version.size() - 3), " \r\n");
  const std::string usage = controlSpec(C::标签7).text;
  EXPECT_NE(usage.find("\xA3\xA1(\xB8\xFC\xD0\xC2)"), std::string::npos);  // full-width ！ then (更新)
  EXPECT_EQ(usage.substr(usage.size() - 12), "Ctrl+Tab\xCA\xE4\xC8\xEB");
}

TEST(Layout, ColoursAndFonts) {
  for (Control c : {C::分组框2, C::分组框1, C::分组框5, C::分组框4, C::分组框3}) EXPECT_EQ(controlSpec(c).textColour, 255u);
  EXPECT_EQ(controlSpec(C::标签2).textColour, rgb(144, 0, 255));
  EXPECT_EQ(controlSpec(C::标签4).textColour, rgb(255, 0, 255));
  EXPECT_EQ(controlSpec(C::标签3).textColour, rgb(255, 0, 255));
  EXPECT_EQ(controlSpec(C::超级链接框1).textColour, 0xFF0000u);  // blue
  for (const ControlSpec& entry : controlLayout()) {
    const bool songTi = entry.name == C::选择框1 || entry.name == C::标签3;
    EXPECT_EQ(entry.font == FontChoice::SongTi, songTi) << entry.layoutName;
  }
  EXPECT_EQ(hexOf(songTiFace), "CB CE CC E5");
  EXPECT_EQ(songTiHeight, -12);
  EXPECT_EQ(gb2312Charset, 134);
}

TEST(Layout, WindowAndPages) {
  EXPECT_STREQ(mainWindowSpec().className, "Vintrel");
  EXPECT_EQ(hexOf(mainWindowSpec().caption),
            "54 61 76 72 69 6B 31 2E 35 32 20 C4 A7 CA DE CF D4 D1 AA B8 C4 BC FC B9 A4 BE DF");
  EXPECT_EQ(mainWindowSpec().width, 340);
  EXPECT_EQ(mainWindowSpec().height, 245);
  const char* titles[] = {"关于", "魔兽改键", "显血", "附加", "说明", "更新"};
  for (int i = 0; i < 6; ++i) EXPECT_STREQ(tabPageTitles()[i], titles[i]);
  EXPECT_EQ(hexOf(tabPageTitles()[1]), "C4 A7 CA DE B8 C4 BC FC");
}

TEST(Layout, CentringUsesIntegerDivision) {
  EXPECT_EQ(centredOrigin(1024, 768, 340, 245).x, 342);
  EXPECT_EQ(centredOrigin(1024, 768, 340, 245).y, 261);
  EXPECT_EQ(centredOrigin(1023, 767, 340, 245).x, 341);
  EXPECT_EQ(centredOrigin(1023, 767, 340, 245).y, 261);
}

TEST(Layout, PagesShowOnlyTheirOwnVisibleControls) {
  EXPECT_TRUE(shownOnPage(C::标签5, 1));
  EXPECT_FALSE(shownOnPage(C::超文本浏览框1, 1));  // hidden by its own property
  EXPECT_FALSE(shownOnPage(C::编辑框1, 1));
  for (int page = 1; page <= 6; ++page) {
    EXPECT_EQ(shownOnPage(C::编辑框1, page), page == 2);
    EXPECT_TRUE(shownOnPage(C::标签8, page));
    EXPECT_FALSE(shownOnPage(C::选择框2, page));
    EXPECT_FALSE(shownOnPage(C::标签1, page));
    EXPECT_EQ(shownOnPage(C::选择框1, page), page == 4);
  }
  EXPECT_EQ(pageOf(C::标签6), 6);
  EXPECT_EQ(pageOf(C::超级链接框1), 0);
}

}  // namespace
