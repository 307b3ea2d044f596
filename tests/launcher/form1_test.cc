// Form1 drawn off screen: its controls found by object name, what each
// button asks the starter for, the failure message, and a saved picture.

#include "launcher/form1.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <memory>
#include <string>
#include <vector>

#include "common/platform/program_starter.h"
#include "test_dir.h"
#include "tevol_version.h"

namespace {

using tevol::ProgramStarter;
using tevol::StartStatus;
using tevol::launcher::Form1;

class RecordingStarter final : public ProgramStarter {
 public:
  StartStatus result;
  std::vector<std::string> started;

  StartStatus StartInNewConsole(std::string_view file_name) override {
    started.emplace_back(file_name);
    return result;
  }
  StartStatus RunInPlace(std::string_view file_name) override {
    started.emplace_back(file_name);
    return result;
  }
};

template <typename T>
T* Control(const QWidget& form, const char* name) {
  return form.findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

bool CanRenderAll(const QFont& font, const QString& text) {
  const QFontMetrics metrics(font);
  for (const char32_t code : text.toUcs4()) {
    if (!metrics.inFontUcs4(code)) return false;
  }
  return true;
}

// A pixel of `image` inside `box` (in logical pixels) that `wanted` accepts.
template <typename Wanted>
bool AnyPixel(const QImage& image, const QRect& box, Wanted wanted) {
  const qreal ratio = image.devicePixelRatio();
  const QRect area(QPoint(int(box.left() * ratio), int(box.top() * ratio)),
                   QPoint(int(box.right() * ratio), int(box.bottom() * ratio)));
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (wanted(image.pixelColor(x, y))) return true;
    }
  }
  return false;
}

class Form1Test : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Form1> ShownForm(RecordingStarter& starter) {
    auto form = std::make_unique<Form1>(starter);
    form->show();
    if (!QTest::qWaitForWindowActive(form.get())) return nullptr;
    return form;
  }

 private slots:
  void window() {
    RecordingStarter starter;
    Form1 form(starter);

    QCOMPARE(form.objectName(), QString("Form1"));
    QCOMPARE(form.windowTitle(), QString("  放射線業務従事者の内部被曝線量の算定"));
    // 5475 x 4800 twips of client area, fixed.
    QCOMPARE(form.size(), QSize(365, 320));
    QCOMPARE(form.minimumSize(), QSize(365, 320));
    QCOMPARE(form.maximumSize(), QSize(365, 320));
    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(form.windowType(), Qt::Tool);  // kept out of the task bar
    QVERIFY(!form.windowIcon().isNull());
    QCOMPARE(form.windowIcon().pixmap(32, 32).size(), QSize(32, 32));
    QCOMPARE(form.font().families().value(0), QString("ＭＳ ゴシック"));
    QCOMPARE(form.font().pointSizeF(), 9.0);

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(qAbs(form.geometry().center().x() - screen.center().x()) <= 1 &&
                 qAbs(form.geometry().center().y() - screen.center().y()) <= 1,
             "centred on the screen");
  }

  void buttons_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("Command1") << "Command1"
                              << "最大使用予定数量から算定する" << QRect(16, 64, 329, 33);
    QTest::newRow("Command2") << "Command2"
                              << "実際の使用数量から算定する" << QRect(16, 112, 329, 33);
    QTest::newRow("Command3") << "Command3"
                              << "ガスモニターの計測値から算定する" << QRect(16, 160, 329, 33);
    QTest::newRow("Command4") << "Command4"
                              << "室内空気中濃度の実測値から算定する" << QRect(16, 208, 329, 33);
    QTest::newRow("Command5") << "Command5"
                              << "EXIT" << QRect(16, 256, 329, 33);
  }

  void buttons() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    RecordingStarter starter;
    Form1 form(starter);

    auto* button = Control<QPushButton>(form, name.toLatin1().constData());
    QVERIFY(button != nullptr);
    QCOMPARE(button->text(), text);
    QCOMPARE(button->geometry(), geometry);
    QCOMPARE(button->font().families().value(0), QString("ＭＳ Ｐゴシック"));
    QCOMPARE(button->font().pointSizeF(), 11.25);
    QCOMPARE(button->font().weight(), QFont::Normal);
    QVERIFY(!button->font().italic());
    QVERIFY(!button->isDefault());
    QVERIFY(!button->autoDefault());
    QVERIFY(!button->testAttribute(Qt::WA_SetPalette));  // the system's colours
    QCOMPARE(button->toolTip(), name == "Command5" ? QString(" bye ") : QString());
  }

  void labels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<bool>("centred");
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("Label3") << "Label3"
                            << "吸入摂取にのみ対応しており、" << QRect(64, 16, 210, 15) << false
                            << "ＭＳ ゴシック" << 11.25 << QColor(0, 0, 255);
    QTest::newRow("Label2") << "Label2"
                            << "経口摂取には対応していません。" << QRect(64, 32, 225, 15) << false
                            << "ＭＳ ゴシック" << 11.25 << QColor(0, 0, 255);
    QTest::newRow("Label1") << "Label1" << QString::fromLatin1(TEVOL_BANNER)
                            << QRect(88, 296, 184, 15) << true << "Times New Roman" << 9.0
                            << QColor(64, 64, 64);
  }

  void labels() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, box);
    QFETCH(bool, centred);
    QFETCH(QString, family);
    QFETCH(qreal, points);
    QFETCH(QColor, colour);
    RecordingStarter starter;
    Form1 form(starter);

    auto* label = Control<QLabel>(form, name.toLatin1().constData());
    QVERIFY(label != nullptr);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->font().families().value(0), family);
    QCOMPARE(label->font().pointSizeF(), points);
    QCOMPARE(label->palette().color(QPalette::WindowText), colour);
    QVERIFY(!label->autoFillBackground());  // transparent
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    // Sized to its text, from the top of its box; kept at the box's left
    // edge, or at its horizontal centre when centred.
    QCOMPARE(label->size(), label->sizeHint());
    QCOMPARE(label->y(), box.top());
    if (centred) {
      QVERIFY(label->alignment().testFlag(Qt::AlignHCenter));
      QVERIFY(qAbs((label->x() * 2 + label->width()) - (box.left() * 2 + box.width())) <= 1);
    } else {
      QCOMPARE(label->x(), box.left());
    }
  }

  // No text may show as boxes; a Japanese text comes from a Gothic font
  // that writes Japanese, not from a Western font with some other fallback.
  void fontsRenderEveryText() {
    RecordingStarter starter;
    Form1 form(starter);
    bool gothic_installed = false;
    for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
      gothic_installed |= family.contains("Gothic") || family.contains("ゴシック");
    }
    if (!gothic_installed) QSKIP("no Japanese Gothic font is installed (fonts-ipafont-gothic)");

    for (const char* name : {"Label3", "Label2", "Label1", "Command1", "Command2", "Command3",
                             "Command4", "Command5"}) {
      QWidget* control = Control<QWidget>(form, name);
      QVERIFY(control != nullptr);
      const QString text = control->property("text").toString();
      QVERIFY2(CanRenderAll(control->font(), text), name);
      if (text.toLatin1() == text.toUtf8()) continue;
      const QString used = QFontInfo(control->font()).family();
      QVERIFY2(QFontDatabase::writingSystems(used).contains(QFontDatabase::Japanese),
               qPrintable(QString("%1 drawn with %2").arg(name, used)));
    }
  }

  void focusAndTabOrder() {
    RecordingStarter starter;
    auto form = ShownForm(starter);
    QVERIFY(form != nullptr);

    QCOMPARE(QApplication::focusWidget(), Control<QWidget>(*form, "Command1"));
    for (const char* next : {"Command2", "Command3", "Command4", "Command5", "Command1"}) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget(), Control<QWidget>(*form, next));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), Control<QWidget>(*form, "Command5"));
  }

  void clickStartsItsCalculatorAndEnds_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("program");
    QTest::newRow("Command1") << "Command1"
                              << "Tevol_1.exe";
    QTest::newRow("Command2") << "Command2"
                              << "Tevol_3.exe";
    QTest::newRow("Command3") << "Command3"
                              << "Tevol_4.exe";
    QTest::newRow("Command4") << "Command4"
                              << "Tevol_2.exe";
  }

  void clickStartsItsCalculatorAndEnds() {
    QFETCH(QString, button);
    QFETCH(QString, program);
    RecordingStarter starter;
    auto form = ShownForm(starter);
    QVERIFY(form != nullptr);
    QSignalSpy ended(form.get(), &Form1::ended);

    QTest::mouseClick(Control<QWidget>(*form, button.toLatin1().constData()), Qt::LeftButton);

    QCOMPARE(starter.started, std::vector<std::string>{program.toStdString()});
    QVERIFY(!form->isVisible());
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.at(0).at(0).toInt(), 0);
  }

  void exitAndCloseEndWithoutStarting_data() {
    QTest::addColumn<bool>("by_exit");
    QTest::newRow("EXIT") << true;
    QTest::newRow("window closed") << false;
  }

  void exitAndCloseEndWithoutStarting() {
    QFETCH(bool, by_exit);
    RecordingStarter starter;
    auto form = ShownForm(starter);
    QVERIFY(form != nullptr);
    QSignalSpy ended(form.get(), &Form1::ended);

    if (by_exit) {
      QTest::mouseClick(Control<QWidget>(*form, "Command5"), Qt::LeftButton);
    } else {
      form->close();
    }

    QVERIFY(starter.started.empty());
    QVERIFY(!form->isVisible());
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.at(0).at(0).toInt(), 0);
  }

  void onlyTheFirstClickCounts() {
    RecordingStarter starter;
    auto form = ShownForm(starter);
    QVERIFY(form != nullptr);
    QSignalSpy ended(form.get(), &Form1::ended);

    // Clicks that reach the window before it has gone.
    Control<QPushButton>(*form, "Command1")->click();
    Control<QPushButton>(*form, "Command3")->click();
    Control<QPushButton>(*form, "Command5")->click();
    QCoreApplication::processEvents();

    QCOMPARE(starter.started, std::vector<std::string>{"Tevol_1.exe"});
    QCOMPARE(ended.count(), 1);
  }

  void keys_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("program");  // empty: nothing starts, the window stays
    QTest::newRow("Return") << "Command2" << int(Qt::Key_Return) << "Tevol_3.exe";
    QTest::newRow("Enter") << "Command3" << int(Qt::Key_Enter) << "Tevol_4.exe";
    QTest::newRow("Space") << "Command4" << int(Qt::Key_Space) << "Tevol_2.exe";
    QTest::newRow("Escape") << "Command1" << int(Qt::Key_Escape) << "";
  }

  void keys() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, program);
    RecordingStarter starter;
    auto form = ShownForm(starter);
    QVERIFY(form != nullptr);
    QWidget* button = Control<QWidget>(*form, focus.toLatin1().constData());
    button->setFocus();
    QCOMPARE(QApplication::focusWidget(), button);

    QTest::keyClick(button, Qt::Key(key));

    if (program.isEmpty()) {
      QTest::qWait(300);
      QVERIFY(starter.started.empty());
      QVERIFY(form->isVisible());
    } else {
      QTRY_COMPARE(starter.started, std::vector<std::string>{program.toStdString()});
      QTRY_VERIFY(!form->isVisible());
    }
  }

  void exitShowsItsToolTip() {
    RecordingStarter starter;
    auto form = ShownForm(starter);
    QVERIFY(form != nullptr);
    QWidget* exit = Control<QWidget>(*form, "Command5");

    const QPoint centre = exit->rect().center();
    QHelpEvent event(QEvent::ToolTip, centre, exit->mapToGlobal(centre));
    QApplication::sendEvent(exit, &event);

    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QString(" bye "));
    QToolTip::hideText();
  }

  void failedStartShowsMessageThenEndsWithStatusOne() {
    RecordingStarter starter;
    starter.result = StartStatus::Error("Tevol_3", "not found in /opt/tevol or on PATH");
    auto form = ShownForm(starter);
    QVERIFY(form != nullptr);
    QSignalSpy ended(form.get(), &Form1::ended);

    QTest::mouseClick(Control<QWidget>(*form, "Command2"), Qt::LeftButton);

    QMessageBox* box = nullptr;
    QTRY_VERIFY((box = form->findChild<QMessageBox*>("StartFailure")) && box->isVisible());
    QCOMPARE(box->text(),
             QString("Tevol_3 を起動できませんでした。\nnot found in /opt/tevol or on PATH"));
    QCOMPARE(box->icon(), QMessageBox::Critical);
    QVERIFY(form->isVisible());
    QCOMPARE(ended.count(), 0);
    // Nothing else can be started while the message is up.
    Control<QPushButton>(*form, "Command4")->click();
    QCOMPARE(starter.started, std::vector<std::string>{"Tevol_3.exe"});

    box->button(QMessageBox::Ok)->click();

    QTRY_COMPARE(ended.count(), 1);
    QCOMPARE(ended.at(0).at(0).toInt(), 1);
    QVERIFY(!form->isVisible());
    QCOMPARE(form->exit_status(), 1);
  }

  // The whole round with the real starter: no calculator anywhere, so the
  // message comes up and the event loop ends with status 1; a start that
  // works ends it with 0.
  void runLauncherWindow_data() {
    QTest::addColumn<bool>("real_starter");
    QTest::addColumn<int>("status");
    QTest::newRow("calculator missing") << true << 1;
    QTest::newRow("started") << false << 0;
  }

  void runLauncherWindow() {
    QFETCH(bool, real_starter);
    QFETCH(int, status);
    tevol::testing::TestDir dir;
    tevol::testing::ScopedEnv path("PATH", dir.MakeDir("path"));
    RecordingStarter recording;
    std::unique_ptr<ProgramStarter> real =
        tevol::NewProgramStarter({.own_directory = dir.MakeDir("own")});
    ProgramStarter& starter = real_starter ? *real : recording;

    QString message;
    QTimer driver;
    int step = 0;
    QObject::connect(&driver, &QTimer::timeout, &driver, [&] {
      QWidget* form = nullptr;
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == "Form1" && window->isVisible()) form = window;
      }
      if (form == nullptr) return;
      if (step == 0) {
        Control<QPushButton>(*form, "Command2")->click();
        step = 1;
      } else if (auto* box = form->findChild<QMessageBox*>("StartFailure");
                 box && box->isVisible()) {
        message = box->text();
        box->accept();
      }
    });
    driver.start(20);
    QTimer guard;  // ends a loop that the round failed to end
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &guard, [] { QCoreApplication::exit(99); });
    guard.start(10000);

    QCOMPARE(tevol::launcher::RunLauncherWindow(starter), status);

    if (real_starter) {
      QCOMPARE(message, QString("Tevol_3 を起動できませんでした。\nnot found in %1 or on PATH")
                            .arg(QString::fromStdString((dir.path() / "own").string())));
    } else {
      QCOMPARE(recording.started, std::vector<std::string>{"Tevol_3.exe"});
      QVERIFY(message.isEmpty());
    }
  }

  // Saves the window as drawn, for anyone to look at, and checks that the
  // labels' colours reached the picture.
  void picture() {
    RecordingStarter starter;
    auto form = ShownForm(starter);
    QVERIFY(form != nullptr);

    const QImage image = form->grab().toImage();
    QVERIFY(image.save(QStringLiteral(TEVOL_FORM1_PICTURE), "PNG"));
    QCOMPARE(image.size(), QSize(365, 320) * image.devicePixelRatio());

    const auto blue = [](const QColor& c) {
      return c.blue() > 200 && c.red() < 80 && c.green() < 80;
    };
    const auto dark_grey = [](const QColor& c) {
      return c.red() < 110 && qAbs(c.red() - c.green()) < 8 && qAbs(c.red() - c.blue()) < 8;
    };
    for (const char* name : {"Label3", "Label2"}) {
      QVERIFY2(AnyPixel(image, Control<QWidget>(*form, name)->geometry(), blue), name);
    }
    QVERIFY(AnyPixel(image, Control<QWidget>(*form, "Label1")->geometry(), dark_grey));
    // Nothing blue outside the blue labels' band.
    QVERIFY(!AnyPixel(image, QRect(0, 64, 365, 256), blue));
  }
};

}  // namespace

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
