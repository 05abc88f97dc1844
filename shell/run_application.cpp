#include "shell/run_application.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "dialog/window_system.h"
#include "host/qt/program_thread.h"
#include "host/qt/qt_window_system.h"
#include "shell/application_shell.h"
#include "shell/display_platform.h"
#include "shell/program_title.h"

namespace quorvane::shell {
namespace {

// A failure to start must not read as success to whoever started the program.
constexpr int kNoDisplayExitCode = 1;

bool EnvironmentSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

QtMessageHandler previousHandler = nullptr;

// Should the platform fail to start after all, the toolkit reports it as a
// fatal message and aborts: end with one line and the no-display exit code
// instead, with no core dump.
void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
  if (type != QtFatalMsg) {
    if (previousHandler) previousHandler(type, context, message);
    return;
  }
  std::fprintf(stderr, "No display found: %s\n", qPrintable(message.simplified()));
  std::_Exit(kNoDisplayExitCode);
}

}  // namespace

bool DisplayAvailable() {
  return EnvironmentSet("QT_QPA_PLATFORM") || EnvironmentSet("DISPLAY") ||
         EnvironmentSet("WAYLAND_DISPLAY");
}

std::string NoDisplayMessage(std::string_view program) {
  std::string message = "No display found: run it under a virtual one with  xvfb-run -a ";
  message += program;
  return message;
}

int RunApplication(int argc, char** argv, const ProgramDefinition& definition) {
  const PlatformChoice choice =
      ChooseDisplayPlatform(argc, argv, argc > 0 ? argv[0] : kDefaultTitle);
  if (!choice.problem.empty()) {
    std::cerr << choice.problem << '\n';
    return kNoDisplayExitCode;
  }
  qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(choice.platform));
  previousHandler = qInstallMessageHandler(StartupMessageHandler);
  QApplication application(argc, argv);
  qInstallMessageHandler(previousHandler);
  // A platform may start without a screen (a frame buffer that is not
  // there); the first window would then abort.
  if (!QGuiApplication::primaryScreen()) {
    std::cerr << "No display found: the platform \"" << choice.platform << "\" has no screen\n";
    return kNoDisplayExitCode;
  }
  // The frame stays hidden on the normal path, so the process ends when the
  // shell says so, not when the last window closes.
  application.setQuitOnLastWindowClosed(false);

  definition.registerResources(dialog::ProcessResources());
  ApplicationShell shell(QString::fromStdString(ProgramTitle()), definition.program);
  host::QtWindowSystem host;
  host.SetDefaultParent(&shell.Frame());
  dialog::SetWindowSystem(&host);
  QObject::connect(&shell, &ApplicationShell::Ended, &application,
                   [] { QCoreApplication::exit(0); });
  shell.Frame().SetIconId(definition.iconId);
  if (definition.onStart) definition.onStart(shell);

  shell.Begin();
  host::ProgramThread thread([&shell] { shell.RunProgram(); });
  QObject::connect(&thread, &host::ProgramThread::Finished, &shell,
                   &ApplicationShell::OnProgramReturned, Qt::QueuedConnection);
  thread.Start();
  QApplication::exec();
  std::cout.flush();
  // The frame was closed while the program was still inside its run: end the
  // process as a whole, as closing the frame would on its native platform.
  if (!shell.ProgramReturned()) std::_Exit(0);
  dialog::SetWindowSystem(nullptr);
  return 0;
}

}  // namespace quorvane::shell
