#pragma once
// The controls of the main window, by their layout names. The order is the creation
// order of the layout table; the Windows control id of each is controlIdBase + its index.

enum class Control : int {
  选择夹1,
  分组框2,
  超文本浏览框1,
  标签5,
  按钮1,
  按钮3,
  编辑框6,
  编辑框5,
  编辑框4,
  编辑框1,
  编辑框2,
  编辑框3,
  分组框1,
  标签2,
  标签4,
  分组框5,
  选择框1,
  标签3,
  分组框4,
  标签7,
  分组框3,
  标签6,
  标签8,
  选择框2,
  超级链接框1,
  标签1,
  None,  // parent of the top-level controls: the window itself
};

constexpr int controlCount = static_cast<int>(Control::None);
constexpr int controlIdBase = 1001;

constexpr int controlIndex(Control c) { return static_cast<int>(c); }
constexpr int controlId(Control c) { return controlIdBase + controlIndex(c); }
