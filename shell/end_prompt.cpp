#include "shell/end_prompt.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QShortcut>

namespace quorvane::shell {

QString EndPromptText(int exitCode) {
  return QStringLiteral("Program Terminated with exit code %1\nExit Window?").arg(exitCode);
}

QMessageBox* MakeEndPrompt(QWidget* owner, const QString& title, int exitCode) {
  auto* box = new QMessageBox(QMessageBox::Warning, title, EndPromptText(exitCode),
                              QMessageBox::Yes | QMessageBox::No, owner);
  box->setDefaultButton(QMessageBox::No);
  box->setEscapeButton(QMessageBox::No);
  box->setWindowModality(Qt::WindowModal);
  // Ctrl+C copies the caption and the question, as native message boxes do.
  auto* copy = new QShortcut(QKeySequence::Copy, box);
  QObject::connect(copy, &QShortcut::activated, box, [box] {
    QGuiApplication::clipboard()->setText(box->windowTitle() + "\n\n" + box->text() + "\n");
  });
  return box;
}

}  // namespace quorvane::shell
