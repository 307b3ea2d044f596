// Tevol, the launcher on Windows: shows Form1 and starts the calculator the
// user picks. It ignores its command line.
#include <windows.h>

#include <memory>

#include "common/platform/program_starter.h"
#include "launcher/form1_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::unique_ptr<tevol::ProgramStarter> starter = tevol::NewProgramStarter();
  return tevol::launcher::RunLauncherWindowWin32(*starter);
}
