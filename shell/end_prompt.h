#pragma once

#include <QMessageBox>
#include <QString>
#include <QWidget>

// The question the shell asks when the program has ended after it showed
// output: close the frame now, or keep it to read the output.
namespace quorvane::shell {

// "Program Terminated with exit code 0\nExit Window?" for exit code 0.
QString EndPromptText(int exitCode);

// A warning box owned by owner, caption = title, Yes and No with No the
// default; Ctrl+C copies its caption and text. The caller shows it and
// deletes it.
QMessageBox* MakeEndPrompt(QWidget* owner, const QString& title, int exitCode);

}  // namespace quorvane::shell
