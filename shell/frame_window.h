#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QString>
#include <cstdint>

#include "shell/shell_state.h"

// The shell's frame: a main window holding a multi-document area for output
// windows and a status bar with the program's state. It stays hidden until
// the program first writes something.
namespace quorvane::shell {

class FrameWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit FrameWindow(const QString& title);

  // Appends text to the output window; the first call creates that window and
  // shows the frame, sized to it.
  void AppendOutput(const QString& text);
  bool OutputShown() const { return output_ != nullptr; }
  // The output window's text view, or null before the first output.
  QPlainTextEdit* OutputView() const { return outputView_; }

  // The program's icon among its resources, shown once the frame shows.
  void SetIconId(std::int32_t iconId) { iconId_ = iconId; }

  void ShowProgramState(ProgramState state);
  QString StatusText() const { return status_->text(); }

 signals:
  void StatusShown(const QString& text);
  // The frame has been closed; the process should end.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowOutputWindow();

  QMdiArea* area_;
  QLabel* status_;
  QMdiSubWindow* output_ = nullptr;
  QPlainTextEdit* outputView_ = nullptr;
  std::int32_t iconId_ = -1;
};

}  // namespace quorvane::shell
