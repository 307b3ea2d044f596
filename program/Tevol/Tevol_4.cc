// Tevol_4, the gas-monitor exhaust calculator: from the exhaust-outlet
// concentration measured by a gas monitor, nuclide by nuclide, the air the
// worker breathes (the room-air factor times it), the intake over the total
// work hours and the committed effective dose.
//
//   r [Bq/cm3]  = k × c                     (k: room-air factor, stored)
//   intake [Bq] = r × T [hr] × 1.2e6 [cm3/hr]
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
    "  （ガスモニタによる排気口のＲＩ濃度から算定）",
};

constexpr FrameVariant kVariant = {
    .catalogue_size = 34,
    .title_lines = kTitleLines,
    .listing_header = "     核種    排気口濃度",
    .listing_format = "(I3,')  ',A6,E10.3)",
    .parameter_line_format = kParameterLineP2,
    .header2_format = kHeader2RoomAir,
    .header3_format = kHeader3,
    .file_name_prompt = kFileNamePromptF3,
    .restart_when_not_saved = true,
};

constexpr RoomAirFactorTexts kFactorTexts = {
    "    業務従事者が呼吸する空気中のＲＩ濃度は",
    "      排気口におけるＲＩ濃度の10倍とする。",
};

class GasMonitorProfile final : public CalculatorProfile {
 public:
  const FrameVariant& variant() const override { return kVariant; }

  void ParameterDialogue(Console& con) override {
    RoomAirFactorStep(con, kFactorTexts, &factor_);
    con.WriteBlankLine();
    con.WriteFreeForm("    業務従事者の空気吸入量を 0.02［ｍ^3／分］とする。");
    ConfirmedReal(con, "       総作業時間［hr］＝ ", kConfirm16, &work_hours_);
  }

  void ValueDialogue(Console& con) override {
    con.Prompt("     排気口濃度 (@.@@E-@@) [Bq/cm^3] = ");
    con.ReadReal(&outlet_);
  }

  void ComputeRow(ResultRow* row) override {
    row->inputs[0] = outlet_;
    row->input_count = 1;
    // The intake comes from the stored room-air concentration.
    float room_air = Store(double(factor_) * double(outlet_));
    row->concentration = room_air;
    row->intake = Store(double(room_air) * double(work_hours_) * double(kBreathingRate));
  }

  float ParameterLineValue() const override { return work_hours_; }

 private:
  float factor_ = 0;      // k
  float work_hours_ = 0;  // T
  float outlet_ = 0;      // c of the entry under way
};

}  // namespace
}  // namespace tevol

int main(int argc, char** argv) {
  tevol::InitDefaultEnv(argc, argv);
  tevol::GasMonitorProfile profile;
  return tevol::RunCalculator(profile, tevol::Env::Default());
}
