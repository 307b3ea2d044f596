// Tevol, the launcher: shows Form1 and starts the calculator the user picks.
// Where no window can be opened it offers the same choices on the terminal.
// It ignores its command line.

#include <QApplication>
#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "common/platform/program_starter.h"
#include "launcher/form1.h"
#include "launcher/text_menu.h"

namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Drops the toolkit's complaints while it looks for a display that may not
// be there; a fatal message still goes to the toolkit's own handler.
QtMessageHandler toolkit_handler = nullptr;

void QuietWhileProbing(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg && toolkit_handler != nullptr) toolkit_handler(type, context, text);
}

int RunMenu(tevol::ProgramStarter& starter) {
  // The chosen calculator takes over standard input: the menu reads no byte
  // past its own line, also from a pipe or a file, so what follows the
  // choice is left for the calculator.
  std::setvbuf(stdin, nullptr, _IONBF, 0);
  return tevol::launcher::RunTextMenu(std::cin, std::cout, std::cerr, starter);
}

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<tevol::ProgramStarter> starter = tevol::NewProgramStarter();

  // A platform named in QT_QPA_PLATFORM is taken as it stands. Otherwise the
  // window needs an X11 or Wayland display; when the one named cannot be
  // opened, the toolkit falls back to drawing off screen, which tells us to
  // use the terminal instead.
  const bool platform_named = IsSet("QT_QPA_PLATFORM");
  if (!platform_named) {
    if (!IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY")) return RunMenu(*starter);
    qputenv("QT_QPA_PLATFORM",
            IsSet("WAYLAND_DISPLAY") ? "wayland;xcb;offscreen" : "xcb;offscreen");
    toolkit_handler = qInstallMessageHandler(QuietWhileProbing);
  }

  bool window_opened = true;
  {
    // Only the program name reaches the toolkit: the command line is ignored.
    int toolkit_argc = argc > 0 ? 1 : 0;
    char* toolkit_argv[] = {argc > 0 ? argv[0] : nullptr, nullptr};
    QApplication application(toolkit_argc, toolkit_argv);
    if (!platform_named) {
      qInstallMessageHandler(toolkit_handler);
      // The calculator's terminal gets the environment the launcher got.
      qunsetenv("QT_QPA_PLATFORM");
      window_opened = QGuiApplication::platformName() != QLatin1String("offscreen");
    }
    if (window_opened) return tevol::launcher::RunLauncherWindow(*starter);
  }
  return RunMenu(*starter);
}
