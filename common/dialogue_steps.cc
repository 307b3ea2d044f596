#include "common/dialogue_steps.h"

namespace tevol {

namespace {

// Shows why a confirmed value cannot be used; true when it was refused.
bool Refused(Console& con, std::string_view why) {
  if (why.empty() || !con.interactive()) return false;
  con.WriteFreeForm(why);
  return true;
}

}  // namespace

void ConfirmedReal(Console& con, std::string_view prompt, std::string_view confirmation,
                   float* value, Refusal refuse) {
  for (;;) {
    con.WriteBlankLine();
    con.Prompt(prompt);
    con.ReadReal(value);
    if (!con.Confirm(confirmation)) continue;
    if (refuse == nullptr || !Refused(con, refuse(*value))) return;
  }
}

void RoomAirFactorStep(Console& con, const RoomAirFactorTexts& texts, float* factor) {
  con.WriteBlankLine();
  con.WriteFreeForm(texts.line1);
  con.WriteFreeForm(texts.line2);
  if (con.Confirm(kConfirm20)) {
    *factor = 10.0f;
    return;
  }
  con.WriteBlankLine();
  con.Prompt("      ***  倍率 = ");
  con.ReadReal(factor);
}

void ExhaustVolumeStep(Console& con, ExhaustVolume* volume, float* daily) {
  for (;;) {
    con.WriteBlankLine();
    con.Prompt("  管理区域全体の１時間あたりの総排気量［ｍ3］= ");
    con.ReadReal(&volume->hourly);
    con.Prompt("      １日あたりの空調稼動時間 [時間] = ");
    con.ReadReal(&volume->hours_per_day);
    if (!con.Confirm(kConfirm20)) continue;
    double product = double(volume->hours_per_day) * double(volume->hourly);
    if (Refused(con, volume->hourly <= 0 || volume->hours_per_day <= 0
                         ? "     *** 排気量と稼動時間には0より大きい値を入力してください。"
                         : "")) {
      continue;
    }
    if (Refused(con, FitsSingle(product) ? ""
                                         : "     *** 計算結果が数値の範囲を超えます。もう一度入力してください。")) {
      continue;
    }
    break;
  }
  *daily = Store(double(volume->hours_per_day) * double(volume->hourly));
}

void ScatteringRateStep(Console& con, float* rate) {
  con.WriteBlankLine();
  if (con.Confirm("     飛散率 = 0.001        --- OK ([y]/n)? ")) {
    *rate = 0.001f;
    return;
  }
  con.Prompt("          飛散率 = ");
  con.ReadReal(rate);
}

void FilterTransmissionStep(Console& con, std::string_view heading, std::int32_t* choice,
                            float* transmission) {
  static constexpr float kTransmissions[] = {0.01f, 0.1f, 0.2f, 1.0f};
  con.WriteBlankLine();
  con.WriteFreeForm(heading);
  con.WriteFreeForm("             0.01  --- 1");
  con.WriteFreeForm("             0.1   --- 2");
  con.WriteFreeForm("             0.2   --- 3");
  con.WriteFreeForm("             1.0   --- 4");
  con.WriteFreeForm("            その他 --- 5");
  con.Prompt("               ------> ");
  con.ReadInteger(choice);
  if (*choice >= 1 && *choice <= 4) {
    *transmission = kTransmissions[*choice - 1];
    return;
  }
  con.Prompt("          フィルタ透過率 = ");
  con.ReadReal(transmission);
}

void SetIntakeFromOutlet(float outlet, float factor, float work_hours, ResultRow* row) {
  row->intake =
      Store(double(outlet) * double(factor) * double(work_hours) * double(kBreathingRate));
  row->concentration = Store(double(factor) * double(outlet));
}

}  // namespace tevol
