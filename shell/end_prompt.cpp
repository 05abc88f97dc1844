#include "shell/end_prompt.h"

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
  return box;
}

}  // namespace quorvane::shell
