// The launcher window Form1 as data: the window and its eight controls with
// their texts, places and sizes in twips, fonts, colours, tab order and what
// a click does. The Qt window (form1.h) and the text-mode menu
// (text_menu.h) are both built from this table, and so can a window of any
// other toolkit. Nothing here depends on a toolkit or on the platform.
//
// Texts are UTF-8. Places are measured from the top left corner of the
// window's client area; 15 twips make one logical pixel.
#ifndef TEVOL_LAUNCHER_FORM1_TABLE_H_
#define TEVOL_LAUNCHER_FORM1_TABLE_H_

#include <array>
#include <string>
#include <string_view>

#include "common/platform/program_starter.h"

namespace tevol::launcher {

inline constexpr int kTwipsPerPixel = 15;

// Every place and size in the table is a whole number of pixels.
constexpr int TwipsToPixels(int twips) { return twips / kTwipsPerPixel; }

// The character sets of the fonts: 128 is Shift-JIS (Japanese), 0 is ANSI.
inline constexpr int kShiftJisCharset = 128;
inline constexpr int kAnsiCharset = 0;

struct FontRequest {
  const char* family;  // the family asked for
  double point_size;
  int charset;
  // Every font of the window has normal weight and no italic, underline or
  // strike-out, so the table holds no fields for them.
};

struct Colour {
  int red;
  int green;
  int blue;
};

enum class ControlKind { kLabel, kPushButton };
enum class Alignment { kLeft, kCentre };

// What a click on a push button does.
enum class Action {
  kNone,          // a label
  kStartProgram,  // start `program` and end the launcher
  kEnd,           // end the launcher
};

struct ControlLayout {
  const char* name;
  ControlKind kind;
  const char* text;
  int left;  // twips
  int top;
  int width;
  int height;
  FontRequest font;
  bool system_colours;  // buttons: the system's colours, text_colour unused
  Colour text_colour;
  bool transparent_background;
  // A label that sizes itself to its text keeps its top and, when centred,
  // the horizontal centre of its box; otherwise its left edge.
  bool auto_size;
  Alignment alignment;
  int tab_index;         // 1 for the first in the tab order; 0 takes no focus
  const char* tool_tip;  // nullptr when it has none
  Action action;
  const char* program;  // the shipped file name for kStartProgram, else nullptr
};

struct WindowLayout {
  const char* name;
  const char* caption;
  int client_width;  // twips
  int client_height;
  FontRequest font;
};

extern const WindowLayout kForm1;

// The controls from top to bottom.
extern const std::array<ControlLayout, 8> kForm1Controls;

// The control named `name`, or nullptr.
const ControlLayout* FindControl(std::string_view name);

// The push buttons in tab order.
std::array<const ControlLayout*, 5> ButtonsInTabOrder();

// The text that tells the user that the calculator could not be started.
std::string StartFailureText(const StartStatus& status);

}  // namespace tevol::launcher

#endif  // TEVOL_LAUNCHER_FORM1_TABLE_H_
