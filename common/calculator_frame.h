// The calculator frame: the dialogue every calculator runs from its start to
// its stop (opening screen, parameter dialogue, nuclide menu and entries,
// result report, save dialogue, closing), with the results list and its
// running total. A calculator plugs its own pieces in as a CalculatorProfile
// and calls RunCalculator from its main.
#ifndef TEVOL_COMMON_CALCULATOR_FRAME_H_
#define TEVOL_COMMON_CALCULATOR_FRAME_H_

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "common/catalogue.h"
#include "common/record_io.h"

namespace tevol {

inline constexpr int kMaxRows = 40;

// One accepted entry.
struct ResultRow {
  std::string_view name;       // the catalogue's 8-byte name
  std::array<float, 4> inputs{};  // the calculator's input values, in listing order
  int input_count = 0;
  float concentration = 0;     // the report's concentration column [Bq/cm3]
  float intake = 0;            // [Bq]
  float dose_coefficient = 0;  // [mSv/Bq]
  float dose = 0;
};

// Where the four calculators differ inside the frame.
struct FrameVariant {
  int catalogue_size;                      // 33 or 34; selects the menu layout
  std::span<const std::string_view> title_lines;  // free-form lines, blank ones as " "
  std::string_view listing_header;         // free-form line above the entry listing
  std::string_view listing_format;         // (I3,')  ',A6, ...): number, name, inputs
  std::string_view parameter_line_format;  // P1, P2 or P3
  std::string_view header2_format;         // H2a or H2b
  std::string_view header3_format;         // H3a or H3b
  std::string_view file_name_prompt;       // F1, F2 or F3
  bool restart_when_not_saved;             // else the closing
};

class CalculatorProfile {
 public:
  virtual ~CalculatorProfile() = default;
  virtual const FrameVariant& variant() const = 0;
  // Asks for and confirms the parameters; runs once per pass.
  virtual void ParameterDialogue(Console& console) = 0;
  // Asks for the values of one entry (after the echo line).
  virtual void ValueDialogue(Console& console) = 0;
  // Fills the new row's inputs, concentration and intake from the entry.
  virtual void ComputeRow(ResultRow* row) = 0;
  // The value shown in the report's parameter line.
  virtual float ParameterLineValue() const = 0;
  // At a terminal, an entry whose computation faults is refused with one
  // line naming the cause; a profile may name it more closely than the
  // frame's own line for the fault (empty: the frame's).
  virtual std::string_view RefusalCause(MathFault /*fault*/) const { return {}; }
};

// The texts of the frame's variants, for the profiles' FrameVariant. Their
// bytes are Shift-JIS in every source compiled with the CP932 character set.
inline constexpr std::string_view kParameterLineP1 = "(' ','* 総作業時間 = ',F5.0,'[hr/3月]')";
inline constexpr std::string_view kParameterLineP2 = "(' ','* 総作業時間 = ',F5.0,'[hr]')";
inline constexpr std::string_view kParameterLineP3 = "(' ','* 作業時間 = ',F5.0,'[hr]')";
inline constexpr std::string_view kHeader2Mean =
    "(4X,'核種',4X,'平均濃度',3X,'摂取量',5X,' 係数 ',2X,'実効線量')";
inline constexpr std::string_view kHeader2RoomAir =
    "(4X,'核種',4X,'ＲＩ濃度',3X,'摂取量',5X,' 係数 ',2X,'実効線量')";
inline constexpr std::string_view kHeader3PerThreeMonths =
    "(4X,'    ',4X,' Bq/cm3 ',3X,'  Bq  ',5X,'mSv/Bq',2X,' mSv/3月')";
inline constexpr std::string_view kHeader3 =
    "(4X,'    ',4X,' Bq/cm3 ',3X,'  Bq  ',5X,'mSv/Bq',2X,'  mSv')";
inline constexpr std::string_view kFileNamePromptF1 = "      ファイル名 (○○○.txt)   ---> ";
inline constexpr std::string_view kFileNamePromptF2 = "      ファイル名 (○○○.txt)  ---> ";
inline constexpr std::string_view kFileNamePromptF3 = "      ファイル名 (○○○.txt) ---> ";

// The breathing rate, 0.02 m3 per minute, in cm3 of air per hour.
inline constexpr float kBreathingRate = 1200000.0f;

// Runs the calculator to its stop; returns the exit status (0 after the stop,
// 1 after a run-time error report, which is written here and only here).
int RunCalculator(CalculatorProfile& profile, Env* env);

}  // namespace tevol

#endif  // TEVOL_COMMON_CALCULATOR_FRAME_H_
