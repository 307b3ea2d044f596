// Form1, the launcher window: two blue lines that say only intake by
// inhalation is handled, four buttons that each start one calculator, EXIT,
// and the banner line. It is built from the table in form1_table.h; the
// object names of the window and its controls are the table's names.
//
// A click on a calculator's button asks the program starter for it and ends
// the launcher. A start that fails shows one message box naming the program
// and the reason, and the launcher ends when the user closes it, with exit
// status 1. EXIT and closing the window end the launcher with status 0. The
// first click decides: every later click does nothing.
#ifndef TEVOL_LAUNCHER_FORM1_H_
#define TEVOL_LAUNCHER_FORM1_H_

#include <QWidget>

class QCloseEvent;
class QKeyEvent;

namespace tevol {
class ProgramStarter;
class StartStatus;
}  // namespace tevol

namespace tevol::launcher {

struct ControlLayout;

class Form1 final : public QWidget {
  Q_OBJECT

 public:
  // `starter` must outlive the window.
  explicit Form1(ProgramStarter& starter, QWidget* parent = nullptr);

  // 1 once a start has failed, else 0.
  int exit_status() const { return exit_status_; }

 signals:
  // The launcher has ended: the window has been closed, for whatever reason.
  // Emitted once.
  void ended(int exit_status);

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Enter and Return click the button that has the focus, as Space does.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OnClicked(const ControlLayout& button);
  void ShowStartFailure(const StartStatus& status);

  ProgramStarter& starter_;
  bool chosen_ = false;  // set before the first start; later clicks do nothing
  bool ended_ = false;
  int exit_status_ = 0;
};

// Shows Form1 and runs the event loop until the launcher ends. Returns the
// exit status. A QApplication must exist.
int RunLauncherWindow(ProgramStarter& starter);

}  // namespace tevol::launcher

#endif  // TEVOL_LAUNCHER_FORM1_H_
