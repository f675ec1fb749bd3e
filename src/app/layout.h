#pragma once
// The main window as data: one record per control, walked by the Win32 shell to create
// the controls and by the tests to check the layout in one place.
#include <array>
#include <cstdint>

#include "app/controls.h"

enum class ControlKind { TabControl, GroupBox, WebView, Label, PushButton, KeyBox, CheckBox, Hyperlink };

enum class FontChoice { DefaultGui, SongTi };

constexpr std::uint32_t noColour = 0xFFFFFFFFu;

// Windows colour value (0x00BBGGRR).
constexpr std::uint32_t rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

struct ControlSpec {
  Control name;
  const char* layoutName;  // GBK, as the layout calls it
  ControlKind kind;
  Control parent;          // Control::None: the window itself
  int page;                // tab page 1..6 for controls on the tab control's pages, 0 otherwise
  int left, top, width, height;
  const char* text;        // GBK
  bool visible;            // the control's own visibility
  std::uint32_t textColour;
  FontChoice font;
  bool wordWrap;
  bool raised;             // text drawn first in white one pixel right and down
};

struct WindowSpec {
  const char* className;
  const char* caption;     // GBK
  int width, height;
};

const WindowSpec& mainWindowSpec();
const std::array<ControlSpec, controlCount>& controlLayout();
const ControlSpec& controlSpec(Control c);
const std::array<const char*, 6>& tabPageTitles();

// Top-left corner of a window of the given size centred on a screen, integer division.
struct Point { int x, y; };
Point centredOrigin(int screenWidth, int screenHeight, int width, int height);

// The page a control belongs to, following its parents up to the tab control; 0 for none.
int pageOf(Control c);
// Whether a control is to be shown while the given page is selected.
bool shownOnPage(Control c, int selectedPage);

// The font "宋体" of 选择框1 and 标签3
constexpr const char* songTiFace = "宋体";
constexpr int songTiHeight = -12;
constexpr int gb2312Charset = 134;
