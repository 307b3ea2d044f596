// The launcher without a window: when no display can be opened (a login over
// SSH, a text console), Tevol offers the same choices on the terminal. It
// shows the window's caption, the two blue label lines and the five button
// texts as a numbered menu, reads the user's choice and runs the chosen
// calculator in this terminal in place of itself; EXIT and the end of the
// input end the launcher. A line that is not a number of the menu shows the
// menu again, without a message. The texts are written as UTF-8.
#ifndef TEVOL_LAUNCHER_TEXT_MENU_H_
#define TEVOL_LAUNCHER_TEXT_MENU_H_

#include <iosfwd>

#include "common/platform/program_starter.h"

namespace tevol::launcher {

// Runs the menu on `in` and `out`. Returns the launcher's exit status: 0
// after EXIT or the end of the input, 1 after a calculator that could not be
// started (the reason goes to `err`). When the calculator starts, it takes
// the place of the process and the call does not return.
int RunTextMenu(std::istream& in, std::ostream& out, std::ostream& err, ProgramStarter& starter);

}  // namespace tevol::launcher

#endif  // TEVOL_LAUNCHER_TEXT_MENU_H_
