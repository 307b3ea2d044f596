// Tevol_1, the planned-usage calculator: from the largest activity of each
// nuclide planned for three months and for one day, the scattering rate, the
// filter transmission and the exhaust volume of the controlled area, the mean
// exhaust-outlet concentration over three months and the dose per three months.
//
//   D [days]    = 91 - holidays in three months
//   V [m3/day]  = air-conditioning hours per day × hourly exhaust volume [m3]
//   d [days]    = Q / A, or D when Q / A is greater than D
//   c [Bq/cm3]  = (f × d × A × s) / (D × V)        (MBq/m3 = Bq/cm3)
//   intake [Bq] = c × k × T [hr] × 1.2e6 [cm3/hr]   (k: room-air factor)
//   dose        = intake × dose coefficient [mSv/Bq], per three months
//
// Compiled with the execution character set CP932.
#include "common/calculator_frame.h"
#include "common/dialogue_steps.h"
#include "common/platform/env.h"

namespace tevol {
namespace {

constexpr float kDaysInThreeMonths = 91.0f;

constexpr std::string_view kTitleLines[] = {
    "    業務従事者の空気吸入による内部被曝の算定 (2001) ",
    " ",
    "    １日および３ヶ月最大使用予定数量を基に算出した",
    "    排気口ＲＩ濃度から、使用室内における空気吸入による",
    "    内部被曝（実効線量）を算定する。",
};

constexpr FrameVariant kVariant = {
    .catalogue_size = 33,
    .title_lines = kTitleLines,
    .listing_header = "     核種  3月使用量　1日使用量    飛散率　ﾌｨﾙﾀ透過率",
    .listing_format = "(I3,')  ',A6,F9.1,2X,F9.2,3X,F6.3,3X,F6.3)",
    .parameter_line_format = kParameterLineP1,
    .header2_format = kHeader2Mean,
    .header3_format = kHeader3PerThreeMonths,
    .file_name_prompt = kFileNamePromptF1,
    .restart_when_not_saved = false,
};

constexpr RoomAirFactorTexts kFactorTexts = {
    "     業務従事者が吸入する管理区域内の空気中ＲＩ濃度は",
    "          排気口ＲＩ濃度の10倍とする。",
};

class PlannedUsageProfile final : public CalculatorProfile {
 public:
  const FrameVariant& variant() const override { return kVariant; }

  void ParameterDialogue(Console& con) override {
    RoomAirFactorStep(con, kFactorTexts, &factor_);
    con.WriteBlankLine();
    con.WriteFreeForm("     業務従事者の空気吸入量を 0.02［ｍ3／分］とする。");
    ExhaustVolumeStep(con, &exhaust_, &daily_volume_);
    ConfirmedReal(con, "       ３ヶ月総作業時間［hr］＝ ", kConfirm20, &work_hours_);
    ConfirmedReal(con, "       ３ヶ月間の休日数 ＝ ", kConfirm20, &holidays_, [](float h) {
      // At a terminal: no working day left would make every entry fault.
      return double(kDaysInThreeMonths) - double(h) > 0 ? std::string_view()
                                                         : "     *** 休日数は91未満で入力してください。";
    });
    working_days_ = Store(double(kDaysInThreeMonths) - double(holidays_));
  }

  void ValueDialogue(Console& con) override {
    con.Prompt("     ３ヶ月最大使用予定数量 [MBq] = ");
    con.ReadReal(&usage_3_months_);
    con.WriteBlankLine();
    con.Prompt("     一日最大使用予定数量 [MBq] = ");
    con.ReadReal(&usage_1_day_);
    ScatteringRateStep(con, &scattering_);
    FilterTransmissionStep(con, "     フィルタ透過率", &filter_choice_, &transmission_);
  }

  void ComputeRow(ResultRow* row) override {
    row->inputs = {usage_3_months_, usage_1_day_, scattering_, transmission_};
    row->input_count = 4;
    // Days of use: the quotient is stored before it is compared with D.
    float days = Store(Quotient(double(usage_3_months_), double(usage_1_day_)));
    if (days > working_days_) days = working_days_;
    float outlet = Store(Quotient(double(transmission_) * double(days) * double(usage_1_day_) *
                                      double(scattering_),
                                  double(working_days_) * double(daily_volume_)));
    SetIntakeFromOutlet(outlet, factor_, work_hours_, row);
  }

  float ParameterLineValue() const override { return work_hours_; }

  std::string_view RefusalCause(MathFault) const override {
    return usage_1_day_ == 0 ? "     *** 一日最大使用予定数量が0のため、この入力は登録しません。"
                             : std::string_view();
  }

 private:
  float factor_ = 0;        // k
  ExhaustVolume exhaust_;
  float daily_volume_ = 0;  // V
  float work_hours_ = 0;    // T, in three months
  float holidays_ = 0;
  float working_days_ = 0;  // D
  float usage_3_months_ = 0;  // Q of the entry under way [MBq]
  float usage_1_day_ = 0;     // A [MBq]
  float scattering_ = 0;      // s
  std::int32_t filter_choice_ = 0;
  float transmission_ = 0;    // f
};

}  // namespace
}  // namespace tevol

int main(int argc, char** argv) {
  tevol::InitDefaultEnv(argc, argv);
  tevol::PlannedUsageProfile profile;
  return tevol::RunCalculator(profile, tevol::Env::Default());
}
