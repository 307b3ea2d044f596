// Tevol_2, the measured room-air calculator: from the total work hours and,
// nuclide by nuclide, the air concentration measured in the room, the intake
// at a breathing rate of 0.02 m3 per minute and the committed effective dose.
//
//   intake [Bq] = c [Bq/cm3] × H [hr] × 1.2e6 [cm3/hr]
//   dose [mSv]  = intake × dose coefficient [mSv/Bq]
//
// Compiled with the execution character set CP932.
#include "common/calculator_frame.h"
#include "common/dialogue_steps.h"
#include "common/platform/env.h"

namespace tevol {
namespace {

constexpr std::string_view kTitleLines[] = {
    "    業務従事者の空気吸入による内部被曝の算定",
    "    （使用室内の実測空気中ＲＩ濃度から算定）",
};

constexpr FrameVariant kVariant = {
    .catalogue_size = 34,
    .title_lines = kTitleLines,
    .listing_header = "     核種    空気中濃度",
    .listing_format = "(I3,')  ',A6,E10.3)",
    .parameter_line_format = kParameterLineP2,
    .header2_format = kHeader2RoomAir,
    .header3_format = kHeader3,
    .file_name_prompt = kFileNamePromptF2,
    .restart_when_not_saved = true,
};

class RoomAirProfile final : public CalculatorProfile {
 public:
  const FrameVariant& variant() const override { return kVariant; }

  void ParameterDialogue(Console& con) override {
    con.WriteBlankLine();
    con.WriteFreeForm("    業務従事者の空気吸入量を 0.02［ｍ^3／分］とする。");
    ConfirmedReal(con, "       総作業時間［hr］＝ ", kConfirm16, &hours_);
  }

  void ValueDialogue(Console& con) override {
    con.Prompt("     空気中濃度 (@.@@E-@@) [Bq/cm^3] = ");
    con.ReadReal(&concentration_);
  }

  void ComputeRow(ResultRow* row) override {
    row->inputs[0] = concentration_;
    row->input_count = 1;
    row->concentration = concentration_;
    row->intake = Store(double(concentration_) * double(hours_) * double(kBreathingRate));
  }

  float ParameterLineValue() const override { return hours_; }

 private:
  float hours_ = 0;          // H, total work hours
  float concentration_ = 0;  // c of the entry under way
};

}  // namespace
}  // namespace tevol

int main(int argc, char** argv) {
  tevol::InitDefaultEnv(argc, argv);
  tevol::RoomAirProfile profile;
  return tevol::RunCalculator(profile, tevol::Env::Default());
}
