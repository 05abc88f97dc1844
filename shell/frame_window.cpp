#include "shell/frame_window.h"

#include <QCloseEvent>
#include <QIcon>
#include <QPixmap>
#include <QStatusBar>

#include "dialog/resources.h"

namespace quorvane::shell {
namespace {

// The output window opens at 80 columns by 24 lines of its text.
constexpr int kOutputColumns = 80;
constexpr int kOutputLines = 24;
// Read only when the frame first shows, so a normal run never decodes it.
QIcon ProgramIcon(std::int32_t iconId) {
  if (iconId < 0) return {};
  auto bytes =
      dialog::ProcessResources().Find(dialog::kProgramModule, dialog::RT_GROUP_ICON, iconId);
  QPixmap pixmap;
  if (!bytes || !pixmap.loadFromData(bytes->data(), static_cast<uint>(bytes->size()), "ICO")) {
    return {};
  }
  return QIcon(pixmap);
}

}  // namespace

FrameWindow::FrameWindow(const QString& title)
    : area_(new QMdiArea(this)), status_(new QLabel(this)) {
  setWindowTitle(title);
  setCentralWidget(area_);
  statusBar()->addWidget(status_, 1);
  ShowProgramState(ProgramState::Running);
}

void FrameWindow::AppendOutput(const QString& text) {
  if (output_ == nullptr) ShowOutputWindow();
  outputView_->moveCursor(QTextCursor::End);
  outputView_->insertPlainText(text);
  outputView_->moveCursor(QTextCursor::End);
}

void FrameWindow::ShowProgramState(ProgramState state) {
  std::string_view text = shell::StatusText(state);
  status_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  emit StatusShown(status_->text());
}

void FrameWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit Closed();
}

void FrameWindow::ShowOutputWindow() {
  outputView_ = new QPlainTextEdit;
  outputView_->setReadOnly(true);
  outputView_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFontMetrics metrics(outputView_->font());
  QSize text(metrics.horizontalAdvance(QLatin1Char('M')) * kOutputColumns,
             metrics.lineSpacing() * kOutputLines);

  output_ = area_->addSubWindow(outputView_);
  output_->setWindowTitle(windowTitle());
  output_->resize(output_->sizeHint().expandedTo(text));
  output_->move(0, 0);
  output_->show();

  // The frame wraps the output window: its client area plus the status bar.
  resize(output_->width() + 2 * area_->frameWidth(),
         output_->height() + 2 * area_->frameWidth() + statusBar()->sizeHint().height());
  setWindowIcon(ProgramIcon(iconId_));
  show();
  outputView_->setFocus();
}

}  // namespace quorvane::shell
