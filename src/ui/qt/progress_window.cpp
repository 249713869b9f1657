#include "ui/qt/progress_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/program_folder.h"
#include "ui/qt/qt_text.h"

namespace pelko::ui::qt {
namespace {

// Repaints at most this often: reports may come for every small entry.
constexpr std::chrono::milliseconds kEventsEvery{30};

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
    case QEvent::Close:
      return true;
    default:
      return false;
  }
}

}  // namespace

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("progress"));
  setWindowTitle(FromCp932(win::ApplicationTitle()));
  setWindowModality(Qt::ApplicationModal);
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(QStringLiteral("処理しています。しばらくお待ちください。"), this);
  entry_ = new QLabel(this);
  entry_->setObjectName(QStringLiteral("entry"));
  entry_->setTextFormat(Qt::PlainText);
  entry_->setMinimumWidth(320);
  bar_ = new QProgressBar(this);
  bar_->setObjectName(QStringLiteral("share"));
  bar_->setRange(0, 100);
  layout->addWidget(heading);
  layout->addWidget(entry_);
  layout->addWidget(bar_);
  setFixedSize(sizeHint());
}

void ProgressWindow::Show(std::string_view entry, std::uint64_t done, std::uint64_t total) {
  entry_->setText(FromCp932(entry));
  const double share =
      total == 0 ? 0.0 : 100.0 * static_cast<double>(done) / static_cast<double>(total);
  bar_->setValue(static_cast<int>(std::clamp(share, 0.0, 100.0)));
}

void ProgressWindow::closeEvent(QCloseEvent* event) { event->ignore(); }

LongWorkWindow::LongWorkWindow(const WorkClock& clock) : clock_(clock) {}

LongWorkWindow::~LongWorkWindow() {
  if (depth_ > 0) qApp->removeEventFilter(this);
}

ProgressWindow* LongWorkWindow::Window() const {
  return window_ && window_->isVisible() ? window_.get() : nullptr;
}

void LongWorkWindow::Begin(QWidget* owner) {
  if (depth_++ > 0) return;
  owner_ = owner;
  began_ = clock_.Now();
  eventsLetThrough_ = began_;
  blocked_.clear();
  for (QWidget* window : QApplication::topLevelWidgets()) blocked_.emplace_back(window);
  qApp->installEventFilter(this);
}

void LongWorkWindow::Report(std::string_view entry, std::uint64_t done, std::uint64_t total) {
  if (depth_ == 0) return;
  const auto now = clock_.Now();
  if (!window_ && now - began_ >= kShowAfter) {
    window_ = std::make_unique<ProgressWindow>(owner_.data());
    window_->Show(entry, done, total);
    window_->show();
    window_->raise();
    QCoreApplication::processEvents();
    eventsLetThrough_ = now;
    return;
  }
  if (window_) window_->Show(entry, done, total);
  if (now - eventsLetThrough_ >= kEventsEvery) {
    QCoreApplication::processEvents();
    eventsLetThrough_ = now;
  }
}

void LongWorkWindow::End() {
  if (depth_ == 0 || --depth_ > 0) return;
  // Input that arrived during the work is drained here, still blocked, so
  // it cannot start a command once the buttons are back.
  QCoreApplication::processEvents();
  qApp->removeEventFilter(this);
  window_.reset();
  blocked_.clear();
}

bool LongWorkWindow::Blocked(QObject* receiver) const {
  if (!receiver->isWidgetType()) return false;
  const QWidget* window = static_cast<QWidget*>(receiver)->window();
  return std::any_of(blocked_.begin(), blocked_.end(), [window](const QPointer<QWidget>& blocked) {
    return blocked.data() == window;
  });
}

bool LongWorkWindow::eventFilter(QObject* watched, QEvent* event) {
  if (IsUserInput(event->type()) && (event->spontaneous() || event->type() == QEvent::Shortcut) &&
      Blocked(watched)) {
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace pelko::ui::qt
