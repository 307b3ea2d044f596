#include "launcher/text_menu.h"

#include <istream>
#include <ostream>
#include <string>

#include "launcher/form1_table.h"

namespace tevol::launcher {

namespace {

void ShowMenu(std::ostream& out) {
  out << '\n' << kForm1.caption << "\n\n";
  // The two blue labels read as one sentence, Label3 first.
  for (const char* name : {"Label3", "Label2"}) {
    out << "    " << FindControl(name)->text << '\n';
  }
  out << '\n';
  int number = 1;
  for (const ControlLayout* button : ButtonsInTabOrder()) {
    out << "    " << number++ << ") " << button->text << '\n';
  }
  out << "\n    番号 (1-5) ? " << std::flush;
}

// The button whose menu number is the whole line, blanks around it aside;
// nullptr for any other line.
const ControlLayout* Choice(const std::string& line) {
  const size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) return nullptr;
  const size_t last = line.find_last_not_of(" \t\r");
  const std::string answer = line.substr(first, last - first + 1);
  const auto buttons = ButtonsInTabOrder();
  if (answer.size() != 1 || answer[0] < '1' || answer[0] > '0' + static_cast<int>(buttons.size())) {
    return nullptr;
  }
  return buttons[answer[0] - '1'];
}

}  // namespace

int RunTextMenu(std::istream& in, std::ostream& out, std::ostream& err, ProgramStarter& starter) {
  std::string line;
  while (true) {
    ShowMenu(out);
    if (!std::getline(in, line)) {
      out << '\n' << std::flush;
      return 0;
    }
    const ControlLayout* button = Choice(line);
    if (button == nullptr) continue;
    if (button->action == Action::kEnd) return 0;
    out << std::flush;
    const StartStatus status = starter.RunInPlace(button->program);
    if (status.ok()) return 0;  // a starter that ran the program and came back
    err << StartFailureText(status) << std::endl;
    return 1;
  }
}

}  // namespace tevol::launcher
