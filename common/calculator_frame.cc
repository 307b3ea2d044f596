// Compiled with the execution character set CP932: every literal here is the
// Shift-JIS bytes the console and the report file get.
#include "common/calculator_frame.h"

#include "tevol_version.h"

namespace tevol {
namespace {

constexpr std::string_view kFirstConfirmation = "                    -----> OK([y]/n) ? ";
constexpr std::string_view kMenuHeading = "  * 使用核種（気体状核種は計算に含めない）";
constexpr std::string_view kSelectPrompt = "                Select number  -----> ";
constexpr std::string_view kEchoFormat = "(' ',' * --- 核種 : ',A6,' ---')";
constexpr std::string_view kEntryConfirmation = "     よろしいですか -----> OK ([y]/n])? ";
constexpr std::string_view kListFull = "     これ以上は入力できません（最大40件）。";
constexpr std::string_view kReportTitle = " ---  内部被曝算定結果 ---";
constexpr std::string_view kHeader1Format = "(12X,'吸入空気   　　　    実効線量')";
constexpr std::string_view kRowFormat = "(' ',2X,A6,1X,2E10.3,E10.2,E10.3)";
constexpr std::string_view kTotalFormat = "(' ',34X,'Total',E10.3)";
constexpr std::string_view kSavePrompt = "    結果をファイルに保存しますか([y]/n) ? ";
constexpr std::string_view kHitReturn = "               ---  Hit RET key  ---";
constexpr std::int32_t kEndOfMenu = 99;

// At a terminal: an entry that cannot be computed, and a report that cannot
// be saved.
constexpr std::string_view kRefusedDivide = "     *** 0で割る計算になるため、この入力は登録しません。";
constexpr std::string_view kRefusedInvalid = "     *** 0÷0の計算になるため、この入力は登録しません。";
constexpr std::string_view kRefusedOverflow =
    "     *** 計算結果が数値の範囲を超えるため、この入力は登録しません。";

std::string_view RefusalLine(MathFault fault) {
  switch (fault) {
    case MathFault::kDivideByZero: return kRefusedDivide;
    case MathFault::kInvalid: return kRefusedInvalid;
    case MathFault::kOverflow: return kRefusedOverflow;
  }
  return kRefusedOverflow;
}

// The system's reason for a report file that could not be saved, or empty
// when the failure is not the report file's.
std::string_view SaveFailureReason(IoCondition c) {
  switch (c) {
    case IoCondition::kOpenNotFound: return "見つかりません";
    case IoCondition::kOpenIsFolder: return "フォルダです";
    case IoCondition::kOpenAccessDenied: return "アクセスできません";
    case IoCondition::kOpenFailed: return "開けません";
    case IoCondition::kWriteDiskFull:
    case IoCondition::kCloseDiskFull: return "ディスクが一杯です";
    case IoCondition::kWriteReadOnly: return "読み取り専用です";
    case IoCondition::kWriteFailed: return "書き込めません";
    case IoCondition::kCloseFailed: return "閉じられません";
    default: return {};
  }
}

constexpr std::string_view kMenu33[] = {
    "        (1)  I-123     (12)  Au-198    (23)  Na-22",
    "        (2)  I-125     (13)  Cr-51     (24)  Co-60",
    "        (3)  I-131     (14)  Rb-81     (25)  Zn-65",
    "        (4)  Tc-99m    (15)  H-3       (26)  Ge-68",
    "        (5)  Mo-99     (16)  C-14      (27)  Cs-137",
    "        (6)  Ga-67     (17)  P-32      (28)  Co-57",
    "        (7)  Tl-201    (18)  P-33      (29)  Sb-125",
    "        (8)  Se-75     (19)  S-35      (30)  In-113m",
    "        (9)  Hg-203    (20)  Cd-115m   (31)  Ge-71",
    "       (10)  Fe-59     (21)  Ca-45     (32)  Sr-89",
    "       (11)  In-111    (22)  Sr-90     (33)  F-18",
    "                                       (99) ( END )",
};

constexpr std::string_view kMenu34[] = {
    "        (1)  I-123     (13)  Cr-51    (25)  Zn-65",
    "        (2)  I-125     (14)  Rb-81    (26)  Ge-68",
    "        (3)  I-131     (15)  H-3      (27)  Cs-137",
    "        (4)  Tc-99m    (16)  C-14     (28)  Co-57",
    "        (5)  Mo-99     (17)  P-32     (29)  Sb-125",
    "        (6)  Ga-67     (18)  P-33     (30)  In-113m",
    "        (7)  Tl-201    (19)  S-35     (31)  Ge-71",
    "        (8)  Se-75     (20)  Cd-115m  (32)  Sr-89",
    "        (9)  Hg-203    (21)  Ca-45    (33)  F-18",
    "       (10)  Fe-59     (22)  Sr-90    (34)  C-11",
    "       (11)  In-111    (23)  Na-22",
    "       (12)  Au-198    (24)  Co-60    (99) ( END )",
};

// The results of one pass.
struct ResultsList {
  std::array<ResultRow, kMaxRows> rows;
  std::int32_t count = 0;
  float total = 0;
};

// A file name cut to at most 30 bytes on a character boundary, so that the
// line naming it stays one record.
std::string_view ShownName(std::string_view name) {
  constexpr std::size_t kMax = 30;
  if (name.size() <= kMax) return name;
  std::size_t i = 0;
  while (i < name.size()) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    std::size_t len = ((c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc)) ? 2 : 1;
    if (i + len > kMax) break;
    i += len;
  }
  return name.substr(0, i);
}

class Frame {
 public:
  Frame(CalculatorProfile& profile, Console& console)
      : profile_(profile), variant_(profile.variant()), con_(console), report_(&console) {}

  void Run() {
    for (;;) {
      if (!OpeningScreen()) break;
      profile_.ParameterDialogue(con_);
      list_.count = 0;
      list_.total = 0;
      EntryCycle();
      ResultReport();
      if (con_.Confirm(kSavePrompt)) {
        Save();
        break;
      }
      if (!variant_.restart_when_not_saved) break;
    }
    Closing();
  }

 private:
  bool OpeningScreen() {
    con_.WriteBlankLine();
    con_.WriteBlankLine();
    for (std::string_view line : variant_.title_lines) con_.WriteFreeForm(line);
    con_.WriteBlankLine();
    return con_.Confirm(kFirstConfirmation);
  }

  void EntryCycle() {
    for (;;) {
      MenuScreen();
      // The menu number keeps its value between reads: a null answer selects
      // the previous number again.
      con_.ReadInteger(&selection_);
      if (selection_ == kEndOfMenu) return;
      if (selection_ >= 1 && selection_ <= variant_.catalogue_size) Entry(Catalogue()[selection_ - 1]);
    }
  }

  void MenuScreen() {
    con_.WriteBlankLine();
    con_.WriteFreeForm(kMenuHeading);
    if (variant_.catalogue_size == 33) {
      for (std::string_view line : kMenu33) con_.WriteFreeForm(line);
    } else {
      for (std::string_view line : kMenu34) con_.WriteFreeForm(line);
    }
    con_.WriteBlankLine();
    con_.Prompt(kSelectPrompt);
  }

  void Entry(const Nuclide& nuclide) {
    con_.WriteBlankLine();
    con_.Write(kEchoFormat, {nuclide.name});
    profile_.ValueDialogue(con_);
    con_.WriteBlankLine();
    if (!con_.Confirm(kEntryConfirmation)) return;
    if (list_.count == kMaxRows) {
      con_.WriteFreeForm(kListFull);
      return;
    }
    // The row is formed aside and joins the list only when all of it is
    // computed, so a fault leaves the list and the total as they were.
    ResultRow row;
    float total = 0;
    try {
      profile_.ComputeRow(&row);
      row.name = nuclide.name;
      row.dose_coefficient = nuclide.dose_coefficient;
      row.dose = Store(double(row.intake) * double(row.dose_coefficient));
      total = Store(double(row.dose) + double(list_.total));
    } catch (const RunTimeError& e) {
      if (!e.is_math() || !con_.interactive()) throw;
      std::string_view cause = profile_.RefusalCause(e.fault());
      con_.WriteFreeForm(cause.empty() ? RefusalLine(e.fault()) : cause);
      return;
    }
    list_.rows[list_.count++] = row;
    list_.total = total;
    EntryListing();
  }

  void EntryListing() {
    con_.WriteBlankLine();
    con_.WriteFreeForm(variant_.listing_header);
    for (std::int32_t i = 0; i < list_.count; ++i) {
      const ResultRow& r = list_.rows[i];
      const std::array<float, 4>& v = r.inputs;
      switch (r.input_count) {
        case 1: con_.Write(variant_.listing_format, {i + 1, r.name, v[0]}); break;
        case 3: con_.Write(variant_.listing_format, {i + 1, r.name, v[0], v[1], v[2]}); break;
        default: con_.Write(variant_.listing_format, {i + 1, r.name, v[0], v[1], v[2], v[3]}); break;
      }
    }
  }

  void ResultReport() {
    con_.WriteBlankLine();
    con_.WriteBlankLine();
    con_.WriteFreeForm(kReportTitle);
    con_.WriteBlankLine();
    con_.Write(variant_.parameter_line_format, {profile_.ParameterLineValue()});
    con_.WriteBlankLine();
    con_.Write(kHeader1Format, {});
    con_.Write(variant_.header2_format, {});
    con_.Write(variant_.header3_format, {});
    con_.WriteBlankLine();
    for (std::int32_t i = 0; i < list_.count; ++i) {
      const ResultRow& r = list_.rows[i];
      con_.Write(kRowFormat, {r.name, r.concentration, r.intake, r.dose_coefficient, r.dose});
    }
    con_.WriteBlankLine();
    con_.Write(kTotalFormat, {list_.total});
    con_.WriteBlankLine();
  }

  // At a terminal a report that cannot be saved stays in memory: the user is
  // told why and asked for another name.
  void Save() {
    for (;;) {
      try {
        SaveOnce();
        return;
      } catch (const RunTimeError& e) {
        std::string_view reason = e.is_math() ? std::string_view() : SaveFailureReason(e.condition());
        if (!con_.interactive() || reason.empty()) throw;
        std::string line = "     *** ";
        line += ShownName(report_.name());
        line += " に保存できません：";
        line += reason;
        con_.WriteFreeForm(line);
      }
    }
  }

  void SaveOnce() {
    con_.Prompt(variant_.file_name_prompt);
    FixedText<20> name;
    con_.ReadText(&name);
    report_.Open(name);
    report_.Write(variant_.parameter_line_format, {profile_.ParameterLineValue()});
    report_.Write(kHeader1Format, {});
    report_.Write(variant_.header2_format, {});
    report_.Write(variant_.header3_format, {});
    for (std::int32_t i = 0; i < list_.count; ++i) {
      const ResultRow& r = list_.rows[i];
      report_.Write(kRowFormat, {r.name, r.concentration, r.intake, r.dose_coefficient, r.dose});
    }
    report_.Write(kTotalFormat, {list_.total});
    report_.Close();
  }

  void Closing() {
    con_.WriteBlankLine();
    con_.WriteFreeForm(TEVOL_BANNER);
    con_.WriteBlankLine();
    con_.WriteFreeForm(kHitReturn);
    con_.PauseForEnter();
  }

  CalculatorProfile& profile_;
  const FrameVariant& variant_;
  Console& con_;
  ReportFileWriter report_;
  ResultsList list_;
  std::int32_t selection_ = 0;
};

}  // namespace

int RunCalculator(CalculatorProfile& profile, Env* env) {
  Console console(env);
  try {
    Frame(profile, console).Run();
    return console.Stop();
  } catch (const RunTimeError& error) {
    return console.ReportError(error);
  }
}

}  // namespace tevol
