// Form1 drawn with the Win32 API: the same window as the Qt one (form1.h),
// built from the same table (form1_table.h). A fixed-size dialog window with
// static labels and push buttons, the table's fonts asked for by family name
// with their character set, the colours, the tool tip and the tab order.
//
// A click on a calculator's button asks the program starter for it and ends
// the launcher. A start that fails shows one message box naming the program
// and the reason, and the launcher ends when the user closes it, with exit
// status 1. EXIT and closing the window end the launcher with status 0. The
// first click decides: every later click does nothing.
#ifndef TEVOL_LAUNCHER_FORM1_WIN32_H_
#define TEVOL_LAUNCHER_FORM1_WIN32_H_

namespace tevol {
class ProgramStarter;
}  // namespace tevol

namespace tevol::launcher {

// Shows Form1 and runs the message loop until the launcher ends. Returns the
// exit status. `starter` must outlive the call.
int RunLauncherWindowWin32(ProgramStarter& starter);

}  // namespace tevol::launcher

#endif  // TEVOL_LAUNCHER_FORM1_WIN32_H_
