#include "launcher/form1_table.h"

#include "tevol_version.h"

namespace tevol::launcher {

namespace {

constexpr FontRequest kGothic = {"ＭＳ ゴシック", 11.25, kShiftJisCharset};
constexpr FontRequest kProportionalGothic = {"ＭＳ Ｐゴシック", 11.25, kShiftJisCharset};
constexpr FontRequest kBannerFont = {"Times New Roman", 9, kAnsiCharset};

constexpr Colour kBlue = {0, 0, 255};
constexpr Colour kDarkGrey = {64, 64, 64};
constexpr Colour kUnused = {0, 0, 0};

constexpr ControlLayout Label(const char* name, const char* text, int left, int top, int width,
                              int height, FontRequest font, Colour colour, Alignment alignment) {
  return ControlLayout{
      .name = name,
      .kind = ControlKind::kLabel,
      .text = text,
      .left = left,
      .top = top,
      .width = width,
      .height = height,
      .font = font,
      .system_colours = false,
      .text_colour = colour,
      .transparent_background = true,
      .auto_size = true,
      .alignment = alignment,
      .tab_index = 0,
      .tool_tip = nullptr,
      .action = Action::kNone,
      .program = nullptr,
  };
}

constexpr ControlLayout Button(const char* name, const char* text, int top, int tab_index,
                               const char* tool_tip, Action action, const char* program) {
  return ControlLayout{
      .name = name,
      .kind = ControlKind::kPushButton,
      .text = text,
      .left = 240,
      .top = top,
      .width = 4935,
      .height = 495,
      .font = kProportionalGothic,
      .system_colours = true,
      .text_colour = kUnused,
      .transparent_background = false,
      .auto_size = false,
      .alignment = Alignment::kCentre,
      .tab_index = tab_index,
      .tool_tip = tool_tip,
      .action = action,
      .program = program,
  };
}

}  // namespace

const WindowLayout kForm1 = {
    .name = "Form1",
    .caption = "  放射線業務従事者の内部被曝線量の算定",
    .client_width = 5475,
    .client_height = 4800,
    .font = {"ＭＳ ゴシック", 9, kShiftJisCharset},
};

const std::array<ControlLayout, 8> kForm1Controls = {
    Label("Label3", "吸入摂取にのみ対応しており、", 960, 240, 3150, 225, kGothic, kBlue,
          Alignment::kLeft),
    Label("Label2", "経口摂取には対応していません。", 960, 480, 3375, 225, kGothic, kBlue,
          Alignment::kLeft),
    Button("Command1", "最大使用予定数量から算定する", 960, 1, nullptr, Action::kStartProgram,
           "Tevol_1.exe"),
    Button("Command2", "実際の使用数量から算定する", 1680, 2, nullptr, Action::kStartProgram,
           "Tevol_3.exe"),
    Button("Command3", "ガスモニターの計測値から算定する", 2400, 3, nullptr, Action::kStartProgram,
           "Tevol_4.exe"),
    Button("Command4", "室内空気中濃度の実測値から算定する", 3120, 4, nullptr,
           Action::kStartProgram, "Tevol_2.exe"),
    Button("Command5", "EXIT", 3840, 5, " bye ", Action::kEnd, nullptr),
    Label("Label1", TEVOL_BANNER, 1320, 4440, 2760, 225, kBannerFont, kDarkGrey,
          Alignment::kCentre),
};

const ControlLayout* FindControl(std::string_view name) {
  for (const ControlLayout& control : kForm1Controls) {
    if (name == control.name) return &control;
  }
  return nullptr;
}

std::array<const ControlLayout*, 5> ButtonsInTabOrder() {
  std::array<const ControlLayout*, 5> buttons{};
  for (const ControlLayout& control : kForm1Controls) {
    const int place = control.tab_index - 1;
    if (control.kind == ControlKind::kPushButton && place >= 0 &&
        place < static_cast<int>(buttons.size())) {
      buttons[place] = &control;
    }
  }
  return buttons;
}

std::string StartFailureText(const StartStatus& status) {
  return status.program() + " を起動できませんでした。\n" + status.reason();
}

}  // namespace tevol::launcher
