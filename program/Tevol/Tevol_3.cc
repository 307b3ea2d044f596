// Tevol_3, the monthly actual-usage calculator: from the activity of each
// nuclide actually used in one month, the scattering rate, the filter
// transmission and the exhaust volume of the controlled area, the mean
// exhaust-outlet concentration over the month and the dose for the month.
//
//   V [m3/day]  = air-conditioning hours per day × hourly exhaust volume [m3]
//   c [Bq/cm3]  = (s × f × Q) / (D × V)             (D: work days in the month)
//   intake [Bq] = c × k × T [hr] × 1.2e6 [cm3/hr]   (k: room-air factor)
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
    " ",
    "    実際の使用数量を基に計算した排気口ＲＩ濃度から",
    "    使用室内における空気吸入による内部被曝を算定する。",
};

// The listing's format has room for four values; the three inputs end the
// record after the transmission, and the scattering rate shows under F9.2.
constexpr FrameVariant kVariant = {
    .catalogue_size = 33,
    .title_lines = kTitleLines,
    .listing_header = "     核種    使用量       飛散率  ﾌｨﾙﾀ透過率",
    .listing_format = "(I3,')  ',A6,F9.1,2X,F9.2,3X,F6.3,3X,F6.3)",
    .parameter_line_format = kParameterLineP3,
    .header2_format = kHeader2Mean,
    .header3_format = kHeader3,
    .file_name_prompt = kFileNamePromptF3,
    .restart_when_not_saved = false,
};

constexpr RoomAirFactorTexts kFactorTexts = {
    "    業務従事者が吸入する管理区域内の空気中ＲＩ濃度は",
    "            排気口ＲＩ濃度の10倍とする。",
};

class MonthlyUsageProfile final : public CalculatorProfile {
 public:
  const FrameVariant& variant() const override { return kVariant; }

  void ParameterDialogue(Console& con) override {
    RoomAirFactorStep(con, kFactorTexts, &factor_);
    con.WriteBlankLine();
    con.WriteFreeForm("    業務従事者の空気吸入量を 0.02［ｍ3／分］とする。");
    ExhaustVolumeStep(con, &exhaust_, &daily_volume_);
    ConfirmedReal(con, "       １ヶ月間の作業時間［hr］＝ ", kConfirm20, &work_hours_);
    ConfirmedReal(con, "       １ヶ月間の作業日数 [日] ＝ ", kConfirm20, &work_days_, [](float d) {
      // At a terminal: no work day would make every entry fault.
      return d > 0 ? std::string_view() : "     *** 作業日数には0より大きい値を入力してください。";
    });
  }

  void ValueDialogue(Console& con) override {
    con.Prompt("      当該月の使用数量 [MBq] = ");
    con.ReadReal(&usage_);
    ScatteringRateStep(con, &scattering_);
    FilterTransmissionStep(con, "    フィルタ（ヘパ ＋ チャコール）透過率", &filter_choice_,
                           &transmission_);
  }

  void ComputeRow(ResultRow* row) override {
    row->inputs = {usage_, scattering_, transmission_, 0};
    row->input_count = 3;
    float outlet = Store(Quotient(double(scattering_) * double(transmission_) * double(usage_),
                                  double(work_days_) * double(daily_volume_)));
    SetIntakeFromOutlet(outlet, factor_, work_hours_, row);
  }

  float ParameterLineValue() const override { return work_hours_; }

 private:
  float factor_ = 0;        // k
  ExhaustVolume exhaust_;
  float daily_volume_ = 0;  // V
  float work_hours_ = 0;    // T, in the month
  float work_days_ = 0;     // D
  float usage_ = 0;         // Q of the entry under way [MBq]
  float scattering_ = 0;    // s
  std::int32_t filter_choice_ = 0;
  float transmission_ = 0;  // f
};

}  // namespace
}  // namespace tevol

int main(int argc, char** argv) {
  tevol::InitDefaultEnv(argc, argv);
  tevol::MonthlyUsageProfile profile;
  return tevol::RunCalculator(profile, tevol::Env::Default());
}
