#pragma once

#include <QWidget>

class QToolButton;

// The two arrow buttons of an up-down control. It only reports which arrow
// was pressed (and repeats while held); the dialog does the stepping.
namespace quorvane::host {

class UpDownWidget : public QWidget {
  Q_OBJECT

 public:
  explicit UpDownWidget(QWidget* parent);

  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

 signals:
  // +1 for the up arrow, -1 for the down arrow; on press, and again while held.
  void Stepped(int direction);
  // The mouse let go of an arrow.
  void Released();

 private:
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace quorvane::host
