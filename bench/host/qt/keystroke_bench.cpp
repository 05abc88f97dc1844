// One keystroke in an edit box whose handler rewrites six fields: from the key
// event on the GUI thread to all six texts on the widgets, through the program
// thread, the dialog runtime and back.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <array>
#include <chrono>
#include <string>
#include <vector>

#include "dialog/control_values.h"
#include "dialog/dialog_template.h"
#include "dialog/modal_run.h"
#include "dialog/window_styles.h"
#include "host/qt/program_thread.h"
#include "host/qt/qt_window_system.h"

namespace {

using namespace quorvane;

constexpr std::int32_t kFormId = 300;
constexpr std::int32_t kExit = 8;
constexpr std::int32_t kTyped = 1000;
constexpr std::array<std::int32_t, 6> kRewritten = {1001, 1002, 1003, 1004, 1005, 1006};

dialog::DialogItemTemplate Item(std::int32_t id, std::uint16_t atom, std::uint32_t style,
                                std::int16_t row) {
  dialog::DialogItemTemplate item;
  item.id = id;
  item.windowClass.ordinal = atom;
  item.style = dialog::WS_CHILD | dialog::WS_VISIBLE | dialog::WS_TABSTOP | style;
  item.x = 4;
  item.y = static_cast<std::int16_t>(4 + 16 * row);
  item.cx = 100;
  item.cy = 12;
  return item;
}

std::vector<std::uint8_t> SevenFieldForm() {
  dialog::DialogTemplate form;
  form.style = dialog::WS_POPUP | dialog::WS_CAPTION | dialog::WS_SYSMENU | dialog::DS_MODALFRAME |
               dialog::DS_SETFONT;
  form.font = dialog::DialogFont{8, 0, 0, 0, "MS Sans Serif"};
  form.cx = 110;
  form.cy = 140;
  form.items.push_back(
      Item(kTyped, dialog::kEditAtom, dialog::WS_BORDER | dialog::ES_AUTOHSCROLL, 0));
  std::int16_t row = 1;
  for (const std::int32_t id : kRewritten) {
    form.items.push_back(
        Item(id, dialog::kEditAtom, dialog::WS_BORDER | dialog::ES_AUTOHSCROLL, row++));
  }
  auto exit = Item(kExit, dialog::kButtonAtom, dialog::BS_PUSHBUTTON, row);
  exit.title.name = "Exit";
  form.items.push_back(exit);
  return dialog::WriteDialogTemplate(form);
}

void RewriteSixFields(dialog::DialogForm& form, std::int32_t id, dialog::EventKind) {
  std::string text(256, ' ');
  dialog::GetControlText(form, id, text);
  text.erase(text.find_last_not_of(' ') + 1);
  for (std::size_t i = 0; i < kRewritten.size(); ++i) {
    dialog::SetControlText(form, kRewritten[i], text + "." + std::to_string(i));
  }
}

void ServeEventsUntil(const std::function<bool()>& done) {
  while (!done()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QApplication& Application() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "quorvane_host_bench";
  static char* argv[] = {name, nullptr};
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}

void BM_KeystrokeToSixRewrittenFields(benchmark::State& state) {
  Application();
  dialog::ResourceTable resources;
  resources.Add(dialog::kProgramModule, dialog::RT_DIALOG, kFormId, SevenFieldForm());
  host::QtWindowSystem host(resources);
  dialog::SetWindowSystem(&host);
  dialog::DialogForm form;
  host::ProgramThread program([&form] {
    dialog::LoadForm(form, kFormId);
    dialog::SetControlHandler(form, kTyped, RewriteSixFields);
    dialog::RunFormModal(form);
    dialog::ReleaseForm(form);
  });
  program.Start();
  ServeEventsUntil([&] { return host.ActiveDialog() != nullptr && host.IsIdle(); });
  const dialog::WindowHandle shown = host.ActiveDialog();
  auto* typed = qobject_cast<QLineEdit*>(host.Widget(host.DialogItem(shown, kTyped)));
  std::vector<QLineEdit*> rewritten;
  for (const std::int32_t id : kRewritten) {
    rewritten.push_back(qobject_cast<QLineEdit*>(host.Widget(host.DialogItem(shown, id))));
  }

  std::vector<double> micros;
  int digit = 0;
  for (auto _ : state) {
    typed->selectAll();
    const char key = static_cast<char>('0' + digit++ % 10);
    const QString last = QString(QLatin1Char(key)) + QStringLiteral(".5");
    const auto start = std::chrono::steady_clock::now();
    QTest::keyClick(typed, key);
    ServeEventsUntil([&] {
      return std::all_of(
                 rewritten.begin(), rewritten.end() - 1,
                 [&](QLineEdit* edit) { return edit->text().startsWith(QLatin1Char(key)); }) &&
             rewritten.back()->text() == last;
    });
    micros.push_back(
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(micros.begin(), micros.end());
  state.counters["median_us"] = micros.empty() ? 0.0 : micros[micros.size() / 2];

  QTest::mouseClick(host.Widget(host.DialogItem(shown, kExit)), Qt::LeftButton);
  ServeEventsUntil([&] { return program.HasFinished(); });
  dialog::SetWindowSystem(nullptr);
}
BENCHMARK(BM_KeystrokeToSixRewrittenFields)->Unit(benchmark::kMicrosecond);

}  // namespace
