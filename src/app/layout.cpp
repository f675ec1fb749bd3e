#include "app/layout.h"

#include <stdexcept>

namespace {

constexpr std::uint32_t red = rgb(255, 0, 0);
constexpr auto G = FontChoice::DefaultGui;
constexpr auto S = FontChoice::SongTi;
constexpr Control W = Control::None;

using K = ControlKind;
using C = Control;

const char* const aboutText =
    "魔兽争霸显血+改键工具 暂名 Tavrik \r\n\r\n网上比较有名的好像是叫Morvane的 但是他改键需要\r\n\r\n"
    "知道键位的键代码 网上好像还不好搜到。。。\r\n\r\n本程序解决了这一弊端 直接在对应栏 按键修改就ok了 \r\n^_^!";
const char* const versionText =
    "当前版本 Tavrik 1.52\r\n\r\n更新日志:2009-3-23\r\n\r\n紧急更新 修正版本比对时的卡机现象\r\n\r\n"
    "显血改成Home键,F8键开启/取消改键\r\n\r\n本程序有更新版本时 会自动提示下载 \r\n";
const char* const usageText =
    "1 先设置魔兽改键栏目 设置好相应物品栏 \r\n  F8启用/关闭 可在魔兽聊天时一键开启关闭\r\n\r\n"
    "2 显血 需要进游戏后使用\r\n  Home键开启关闭友方敌方血槽！(更新)\r\n\r\n"
    "3 程序关闭时 会自动保存当前配置 下次直接读取\r\n\r\n4 如要使用Tab键 请按Ctrl+Tab输入";

#ifndef TAVRIK_PUBLISHER_HOST
#define TAVRIK_PUBLISHER_HOST "tavrik.example"
#endif

// clang-format off
const std::array<ControlSpec, controlCount> layout = {{
  // name            layout name        kind           parent     page  left top  w    h    text                                   visible colour              font wrap raised
  {C::选择夹1,       "选择夹1",       K::TabControl, W,          0,    8,   8, 320, 192, "",                                     true,  noColour,            G, false, false},
  {C::分组框2,       "分组框2",       K::GroupBox,   C::选择夹1, 1,    8,  32, 304, 144, "关于本程序",                           true,  red,                 G, false, false},
  {C::超文本浏览框1, "超文本浏览框1", K::WebView,    C::分组框2, 0,   80, 128,  72,  24, "",                                     false, noColour,            G, false, false},
  {C::标签5,         "标签5",         K::Label,      C::分组框2, 0,    8,  16, 288, 112, aboutText,                              true,  noColour,            G, true,  true},
  {C::按钮1,         "按钮1",         K::PushButton, C::选择夹1, 2,  176,  56, 104,  40, "恢复默认设置",                         true,  noColour,            G, false, false},
  {C::按钮3,         "按钮3",         K::PushButton, C::选择夹1, 2,  176, 112, 104,  40, "启用/取消\r\n(快捷键 F8)\r\n",         true,  noColour,            G, false, false},
  {C::编辑框6,       "编辑框6",       K::KeyBox,     C::选择夹1, 2,   16,  48,  50,  25, "小键盘7",                              true,  noColour,            G, false, false},
  {C::编辑框5,       "编辑框5",       K::KeyBox,     C::选择夹1, 2,   16,  92,  50,  25, "小键盘4",                              true,  noColour,            G, false, false},
  {C::编辑框4,       "编辑框4",       K::KeyBox,     C::选择夹1, 2,   16, 134,  50,  25, "小键盘1",                              true,  noColour,            G, false, false},
  {C::编辑框1,       "编辑框1",       K::KeyBox,     C::选择夹1, 2,   84,  48,  50,  25, "小键盘8",                              true,  noColour,            G, false, false},
  {C::编辑框2,       "编辑框2",       K::KeyBox,     C::选择夹1, 2,   84,  92,  50,  25, "小键盘5",                              true,  noColour,            G, false, false},
  {C::编辑框3,       "编辑框3",       K::KeyBox,     C::选择夹1, 2,   84, 134,  50,  25, "小键盘2",                              true,  noColour,            G, false, false},
  {C::分组框1,       "分组框1",       K::GroupBox,   C::选择夹1, 3,   24,  40, 264, 128, "显血",                                 true,  red,                 G, false, false},
  {C::标签2,         "标签2",         K::Label,      C::分组框1, 0,   30,  30, 210,  32, "显示双方血槽 (快捷键Home 开启/关闭)",  true,  rgb(144, 0, 255),    G, false, false},
  {C::标签4,         "标签4",         K::Label,      C::分组框1, 0,   46,  96, 168,  16, "以上功能在游戏中按快捷键使用",         true,  rgb(255, 0, 255),    G, false, false},
  {C::分组框5,       "分组框5",       K::GroupBox,   C::选择夹1, 4,   16,  32, 288, 152, "附加功能",                             true,  red,                 G, false, false},
  {C::选择框1,       "选择框1",       K::CheckBox,   C::分组框5, 0,   72,  40, 136,  32, "屏蔽 windowns 键",                     true,  noColour,            S, false, false},
  {C::标签3,         "标签3",         K::Label,      C::分组框5, 0,   36, 135, 232,  24, "更多附加功能 如有建议或问题 留言给我", true,  rgb(255, 0, 255),    S, true,  false},
  {C::分组框4,       "分组框4",       K::GroupBox,   C::选择夹1, 5,   16,  32, 288, 144, "使用说明",                             true,  red,                 G, false, false},
  {C::标签7,         "标签7",         K::Label,      C::分组框4, 0,   16,  16, 264, 120, usageText,                              true,  noColour,            G, true,  true},
  {C::分组框3,       "分组框3",       K::GroupBox,   C::选择夹1, 6,    8,  32, 288, 152, "版本更新",                             true,  red,                 G, false, false},
  {C::标签6,         "标签6",         K::Label,      C::分组框3, 0,   24,  24, 240, 112, versionText,                            true,  noColour,            G, true,  true},
  {C::标签8,         "标签8",         K::Label,      W,          0,    9, 200, 104,  16, "状态: 未改键",                         true,  noColour,            G, false, false},
  {C::选择框2,       "选择框2",       K::CheckBox,   W,          0,  112, 200,  48,  16, "选择框",                               false, noColour,            G, false, false},
  {C::超级链接框1,   "超级链接框1",   K::Hyperlink,  W,          0,  232, 200, 104,  14, TAVRIK_PUBLISHER_HOST,                  true,  rgb(0, 0, 255),      G, false, false},
  {C::标签1,         "标签1",         K::Label,      W,          0,  183,  78,   8,  24, "",                                     false, noColour,            G, false, false},
}};
// clang-format on

const std::array<const char*, 6> pageTitles = {"关于", "魔兽改键", "显血", "附加", "说明", "更新"};

const WindowSpec window = {"Vintrel", "Tavrik1.52 魔兽显血改键工具", 340, 245};

}  // namespace

const WindowSpec& mainWindowSpec() { return window; }

const std::array<ControlSpec, controlCount>& controlLayout() { return layout; }

const ControlSpec& controlSpec(Control c) {
  const int i = controlIndex(c);
  if (i < 0 || i >= controlCount) throw std::out_of_range("no such control");
  return layout[i];
}

const std::array<const char*, 6>& tabPageTitles() { return pageTitles; }

Point centredOrigin(int screenWidth, int screenHeight, int width, int height) {
  return {(screenWidth - width) / 2, (screenHeight - height) / 2};
}

int pageOf(Control c) {
  while (c != Control::None) {
    const ControlSpec& entry = controlSpec(c);
    if (entry.page != 0) return entry.page;
    c = entry.parent;
  }
  return 0;
}

bool shownOnPage(Control c, int selectedPage) {
  for (Control at = c; at != Control::None; at = controlSpec(at).parent) {
    if (!controlSpec(at).visible) return false;
  }
  const int page = pageOf(c);
  return page == 0 || page == selectedPage;
}
