#include "host/qt/up_down_widget.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace quorvane::host {
namespace {

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  return button;
}

}  // namespace

UpDownWidget::UpDownWidget(QWidget* parent)
    : QWidget(parent), up_(MakeArrow(this, Qt::UpArrow)), down_(MakeArrow(this, Qt::DownArrow)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  setFocusPolicy(Qt::NoFocus);
  connect(up_, &QToolButton::pressed, this, [this] { emit Stepped(+1); });
  connect(down_, &QToolButton::pressed, this, [this] { emit Stepped(-1); });
  // While an arrow repeats it reports release and press again but stays down.
  for (QToolButton* arrow : {up_, down_}) {
    connect(arrow, &QToolButton::released, this, [this, arrow] {
      if (!arrow->isDown()) emit Released();
    });
  }
}

}  // namespace quorvane::host
