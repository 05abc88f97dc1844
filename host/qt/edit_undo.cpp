// The host's edit control keeps one step of undo: typing that goes on where
// the last typed text ended joins the step, any other edit starts a new one,
// undoing swaps the text back and a second undo redoes. QLineEdit keeps every
// step, and a step for each character typed or pasted, so a few large pastes
// would hold megabytes until the form closes: its own history is dropped after
// each edit and undo is answered here, from the keyboard and the edit's menu.
#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <memory>

#include "host/qt/host_dialog.h"

namespace quorvane::host {
namespace {

QLineEdit& LineOf(HostControl& edit) {
  return *static_cast<QLineEdit*>(edit.widget.data());
}

// Whether after is before with text inserted just before the caret.
bool IsInsertionBeforeCaret(const QString& before, const QString& after, int caret) {
  const qsizetype inserted = after.size() - before.size();
  const qsizetype at = caret - inserted;
  if (inserted <= 0 || at < 0) return false;
  return QStringView(after).left(at) == QStringView(before).left(at) &&
         QStringView(after).mid(caret) == QStringView(before).mid(at);
}

// Empties the line's own history, keeping its text, caret and selection.
void DropOwnHistory(QLineEdit& line) {
  const bool selected = line.hasSelectedText();
  const int caret = line.cursorPosition();
  const int start = line.selectionStart();
  const int length = static_cast<int>(line.selectedText().size());
  const QSignalBlocker blocker(&line);
  line.setText(line.text());
  if (!selected) return line.setCursorPosition(caret);
  // The caret is the moving end of the selection.
  if (caret == start) return line.setSelection(start + length, -length);
  line.setSelection(start, length);
}

}  // namespace

void HostDialog::OnEditedByUser(HostControl& edit) {
  QLineEdit& line = LineOf(edit);
  EditUndo& undo = edit.undo;
  const QString text = line.text();
  const int caret = line.cursorPosition();
  const bool typed = IsInsertionBeforeCaret(undo.shown, text, caret);
  const bool continuesRun = typed && caret - (text.size() - undo.shown.size()) == undo.runEnd;
  if (!continuesRun) undo.before = undo.shown;
  undo.runEnd = typed ? caret : -1;
  undo.shown = text;
  DropOwnHistory(line);
}

void HostDialog::ForgetUndo(HostControl& edit) {
  QLineEdit& line = LineOf(edit);
  edit.undo = EditUndo{.before = line.text(), .shown = line.text(), .runEnd = -1};
}

bool HostDialog::CanUndo(HostControl& edit) {
  return edit.undo.before != LineOf(edit).text();
}

void HostDialog::UndoEdit(HostControl& edit) {
  if (!CanUndo(edit)) return;
  QLineEdit& line = LineOf(edit);
  EditUndo& undo = edit.undo;
  const QString restored = undo.before;
  undo = EditUndo{.before = line.text(), .shown = restored, .runEnd = -1};
  line.setText(restored);
}

bool HostDialog::HandleUndoKey(HostControl& edit, const QKeyEvent& key) {
  if (key.matches(QKeySequence::Undo)) {
    UndoEdit(edit);
    return true;
  }
  // The host's edit control has no redo; a second undo is one.
  return key.matches(QKeySequence::Redo);
}

void HostDialog::ShowEditMenu(HostControl& edit, const QContextMenuEvent& event) {
  QLineEdit& line = LineOf(edit);
  const std::unique_ptr<QMenu> menu(line.createStandardContextMenu());
  for (QAction* action : menu->actions()) {
    if (action->objectName() == QLatin1String("edit-redo")) {
      menu->removeAction(action);
    } else if (action->objectName() == QLatin1String("edit-undo")) {
      action->disconnect();
      action->setEnabled(CanUndo(edit));
      HostControl* control = &edit;
      connect(action, &QAction::triggered, this, [this, control] { UndoEdit(*control); });
    }
  }
  menu->exec(event.globalPos());
}

}  // namespace quorvane::host
