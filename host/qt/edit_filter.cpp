// Typed characters an edit box refuses: non-digits in a digits-only box, and
// without automatic scrolling anything that would not fit the visible width.
// Only typed characters are refused; control characters (Backspace, Ctrl+V)
// pass, and so does pasted text.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>

#include "dialog/window_styles.h"
#include "host/qt/host_dialog.h"

namespace quorvane::host {
namespace {

// QLineEdit's own inner margin on each side of the text.
constexpr int kLineEditTextMargin = 2;

bool IsTypedText(const QKeyEvent& key) {
  const QString text = key.text();
  // Chords with Ctrl or Alt are commands (Ctrl+V pastes), not typed characters.
  if (text.isEmpty() || (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
  for (const QChar ch : text) {
    if (ch.unicode() < 0x20 || ch.unicode() == 0x7F) return false;
  }
  return true;
}

bool AllDigits(const QString& text) {
  for (const QChar ch : text) {
    if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) return false;
  }
  return true;
}

// The text as it would be with typed replacing the selection at the caret.
QString TextAfterTyping(const QLineEdit& line, const QString& typed) {
  QString text = line.text();
  int at = line.cursorPosition();
  if (line.hasSelectedText()) {
    at = line.selectionStart();
    text.remove(at, line.selectedText().size());
  }
  return text.insert(at, typed);
}

bool FitsTheVisibleWidth(const QLineEdit& line, const QString& text) {
  int room = line.contentsRect().width() - 2 * kLineEditTextMargin;
  room -= line.textMargins().left() + line.textMargins().right();
  if (line.hasFrame()) room -= 2 * line.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  return line.fontMetrics().horizontalAdvance(text) <= room;
}

}  // namespace

bool HostDialog::FilterEdit(HostControl& edit, QEvent& event) {
  const auto& key = static_cast<QKeyEvent&>(event);
  if (!IsTypedText(key)) return false;
  const auto& line = *static_cast<QLineEdit*>(edit.widget.data());
  const bool refused = ((edit.style & dialog::ES_NUMBER) && !AllDigits(key.text())) ||
                       (!(edit.style & dialog::ES_AUTOHSCROLL) &&
                        !FitsTheVisibleWidth(line, TextAfterTyping(line, key.text())));
  if (refused) QApplication::beep();
  return refused;
}

}  // namespace quorvane::host
