// Dialogue steps that several calculator profiles share. Where the texts
// differ between calculators, the step takes them as data. Every value read
// here is a variable of the calling profile, so a null answer keeps what it
// held before (on any pass).
//
// Compiled with the execution character set CP932, like the calculators.
#ifndef TEVOL_COMMON_DIALOGUE_STEPS_H_
#define TEVOL_COMMON_DIALOGUE_STEPS_H_

#include <cstdint>
#include <string_view>

#include "common/calculator_frame.h"
#include "common/record_io.h"

namespace tevol {

// The confirmation with twenty blanks before the arrow, and with sixteen.
inline constexpr std::string_view kConfirm20 = "                    -----> OK([y]/n) ? ";
inline constexpr std::string_view kConfirm16 = "                -----> OK([y]/n) ? ";

// A blank line, the prompt and one real, until the confirmation is answered
// yes. At a terminal, refuse (when given) may turn a confirmed value down: it
// returns the line that says why, and the step repeats; empty accepts.
using Refusal = std::string_view (*)(float value);
void ConfirmedReal(Console& con, std::string_view prompt, std::string_view confirmation,
                   float* value, Refusal refuse = nullptr);

// The room-air factor: its two statement lines and the confirmation; yes gives
// 10, no asks for the factor (not confirmed).
struct RoomAirFactorTexts {
  std::string_view line1;
  std::string_view line2;
};
void RoomAirFactorStep(Console& con, const RoomAirFactorTexts& texts, float* factor);

// The daily exhaust volume: the hourly volume of the whole controlled area and
// the air-conditioning hours per day, asked again until confirmed; then
// *daily = hours × hourly volume. At a terminal a pair that would make every
// entry fault (zero or negative, or a product beyond single precision) is
// refused and asked again.
struct ExhaustVolume {
  float hourly = 0;         // m3 per hour
  float hours_per_day = 0;  // air-conditioning operating hours
};
void ExhaustVolumeStep(Console& con, ExhaustVolume* volume, float* daily);

// The scattering rate: 0.001 unless the answer is no, then the rate typed.
void ScatteringRateStep(Console& con, float* rate);

// The filter-transmission menu under its heading: choices 1 to 4 give 0.01,
// 0.1, 0.2 and 1.0; any other choice asks for the transmission.
void FilterTransmissionStep(Console& con, std::string_view heading, std::int32_t* choice,
                            float* transmission);

// The row of Tevol_1 and Tevol_3 from the stored exhaust-outlet concentration
// c: intake = c × k × T × 1.2e6 (left to right, c × k not stored between),
// and the report's room-air concentration k × c.
void SetIntakeFromOutlet(float outlet, float factor, float work_hours, ResultRow* row);

}  // namespace tevol

#endif  // TEVOL_COMMON_DIALOGUE_STEPS_H_
