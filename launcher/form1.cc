#include "launcher/form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <string_view>

#include "common/platform/program_starter.h"
#include "launcher/form1_table.h"

namespace tevol::launcher {

namespace {

#include "launcher/tevol_icon.xpm"

QString Utf8(const char* text) { return QString::fromUtf8(text); }

struct FontFallback {
  std::string_view family;
  std::initializer_list<const char*> alternatives;
};

// Families that stand in for the ones the window asks for where those are
// not installed, best first.
const FontFallback kFontFallbacks[] = {
    {"ＭＳ ゴシック",
     {"MS Gothic", "IPAGothic", "IPAゴシック", "VL Gothic", "TakaoGothic",
      "Noto Sans Mono CJK JP"}},
    {"ＭＳ Ｐゴシック",
     {"MS PGothic", "IPAPGothic", "IPA Pゴシック", "VL PGothic", "TakaoPGothic",
      "Noto Sans CJK JP"}},
    {"Times New Roman", {"Liberation Serif", "Tinos", "DejaVu Serif", "FreeSerif"}},
};

// The family asked for, then the installed stand-ins, so that a Japanese text
// never shows as boxes: after the listed ones, any installed Gothic family
// that writes Japanese.
QStringList FontFamilies(const FontRequest& request) {
  QStringList families = {Utf8(request.family)};
  for (const FontFallback& fallback : kFontFallbacks) {
    if (fallback.family != request.family) continue;
    for (const char* alternative : fallback.alternatives) {
      const QString family = Utf8(alternative);
      if (QFontDatabase::hasFamily(family)) families += family;
    }
  }
  if (request.charset == kShiftJisCharset) {
    for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
      if ((family.contains(u"Gothic") || family.contains(u"ゴシック")) &&
          !families.contains(family)) {
        families += family;
      }
    }
  }
  return families;
}

QFont FontFor(const FontRequest& request) {
  QFont font;
  font.setFamilies(FontFamilies(request));
  font.setPointSizeF(request.point_size);
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  font.setStyleHint(request.charset == kShiftJisCharset ? QFont::SansSerif : QFont::Serif);
  return font;
}

QRect PixelBox(const ControlLayout& layout) {
  return QRect(TwipsToPixels(layout.left), TwipsToPixels(layout.top), TwipsToPixels(layout.width),
               TwipsToPixels(layout.height));
}

QLabel* MakeLabel(const ControlLayout& layout, QWidget* parent) {
  auto* label = new QLabel(Utf8(layout.text), parent);
  label->setFont(FontFor(layout.font));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(layout.text_colour.red, layout.text_colour.green,
                                                layout.text_colour.blue));
  label->setPalette(palette);
  label->setAutoFillBackground(!layout.transparent_background);
  label->setAlignment((layout.alignment == Alignment::kCentre ? Qt::AlignHCenter : Qt::AlignLeft) |
                      Qt::AlignTop);
  label->setFocusPolicy(Qt::NoFocus);
  label->setTextFormat(Qt::PlainText);

  const QRect box = PixelBox(layout);
  if (!layout.auto_size) {
    label->setGeometry(box);
    return label;
  }
  // The label sizes itself to its text from its top; a centred one keeps the
  // horizontal centre of its box, any other its left edge.
  const QSize size = label->sizeHint();
  const int left = layout.alignment == Alignment::kCentre
                       ? box.left() + (box.width() - size.width()) / 2
                       : box.left();
  label->setGeometry(QRect(QPoint(left, box.top()), size));
  return label;
}

QPushButton* MakeButton(const ControlLayout& layout, QWidget* parent) {
  auto* button = new QPushButton(Utf8(layout.text), parent);
  button->setFont(FontFor(layout.font));
  button->setGeometry(PixelBox(layout));
  // No button is the window's default button.
  button->setAutoDefault(false);
  button->setDefault(false);
  button->setFocusPolicy(Qt::StrongFocus);
  if (layout.tool_tip != nullptr) button->setToolTip(Utf8(layout.tool_tip));
  return button;
}

}  // namespace

Form1::Form1(ProgramStarter& starter, QWidget* parent)
    : QWidget(parent,
              // A fixed frame with a title and a close button, no minimise or
              // maximise button; a tool window stays out of the task bar
              // where the window manager allows it.
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                  Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      starter_(starter) {
  setObjectName(Utf8(kForm1.name));
  setWindowTitle(Utf8(kForm1.caption));
  setWindowIcon(QIcon(QPixmap(tevol_icon_xpm)));
  setFont(FontFor(kForm1.font));
  setFixedSize(TwipsToPixels(kForm1.client_width), TwipsToPixels(kForm1.client_height));

  QWidget* previous = nullptr;
  QPushButton* first = nullptr;
  for (const ControlLayout* layout : ButtonsInTabOrder()) {
    QPushButton* button = MakeButton(*layout, this);
    button->setObjectName(Utf8(layout->name));
    connect(button, &QPushButton::clicked, this, [this, layout] { OnClicked(*layout); });
    if (previous != nullptr) setTabOrder(previous, button);
    if (first == nullptr) first = button;
    previous = button;
  }
  for (const ControlLayout& layout : kForm1Controls) {
    if (layout.kind != ControlKind::kLabel) continue;
    QLabel* label = MakeLabel(layout, this);
    label->setObjectName(Utf8(layout.name));
  }
  if (first != nullptr) first->setFocus(Qt::OtherFocusReason);

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
  }
}

void Form1::OnClicked(const ControlLayout& button) {
  if (chosen_) return;
  chosen_ = true;
  if (button.action == Action::kStartProgram) {
    const StartStatus status = starter_.StartInNewConsole(button.program);
    if (!status.ok()) {
      ShowStartFailure(status);
      return;
    }
  }
  close();
}

void Form1::ShowStartFailure(const StartStatus& status) {
  exit_status_ = 1;
  auto* box =
      new QMessageBox(QMessageBox::Critical, windowTitle().trimmed(),
                      QString::fromStdString(StartFailureText(status)), QMessageBox::Ok, this);
  box->setObjectName(QStringLiteral("StartFailure"));
  box->setTextFormat(Qt::PlainText);
  box->setAttribute(Qt::WA_DeleteOnClose);
  connect(box, &QMessageBox::finished, this, &QWidget::close);
  box->open();
}

void Form1::closeEvent(QCloseEvent* event) {
  event->accept();
  if (ended_) return;
  ended_ = true;
  // Nothing can be chosen any more, whatever closed the window.
  chosen_ = true;
  emit ended(exit_status_);
}

void Form1::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
      button->animateClick();
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

int RunLauncherWindow(ProgramStarter& starter) {
  // The launcher ends when Form1 ends, with its status, and only then.
  QApplication::setQuitOnLastWindowClosed(false);
  Form1 form(starter);
  QObject::connect(
      &form, &Form1::ended, qApp, [](int status) { QCoreApplication::exit(status); },
      Qt::QueuedConnection);
  form.show();
  return QApplication::exec();
}

}  // namespace tevol::launcher
