// Renders the calculator's form, run by the calculator itself on the Qt host,
// to sample-form.png in the build directory so that its look can be checked
// by eye, and checks that it is laid out as its template says.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QTest>

#include "calculator/calculator.h"
#include "calculator/calculator_form.h"
#include "dialog/window_system.h"
#include "host/qt/dialog_builder.h"
#include "host/qt/dialog_units.h"
#include "host/qt/program_thread.h"
#include "host/qt/qt_window_system.h"
#include "qt_host_fixture.h"
#include "resources/program_resources.h"

namespace quorvane::host::testing {
namespace {

constexpr std::int32_t kExit = 8;

TEST(SampleForm, TheIcoImageReaderIsAvailable) {
  EnsureApplication();
  EXPECT_TRUE(QImageReader::supportedImageFormats().contains("ico"));
}

TEST(SampleForm, CalculatorFormIsLaidOutAsItsTemplateSays) {
  EnsureApplication();
  dialog::ResourceTable resources;
  resources::RegisterProgramResources(resources);
  QtWindowSystem host(resources);
  dialog::SetWindowSystem(&host);
  ProgramThread program([] { calculator::RunCalculator(); });
  program.Start();
  ASSERT_TRUE(WaitUntil([&] { return host.ActiveDialog() != nullptr && host.IsIdle(); }));

  QWidget* form = host.Widget(host.ActiveDialog());
  const dialog::DialogTemplate layout = calculator::CalculatorFormTemplate();
  const BaseUnits units = MeasureDialogFont(layout.font, form->logicalDpiY()).units;
  EXPECT_EQ(form->size(), DialogRectToPixels(0, 0, layout.cx, layout.cy, units).size());
  EXPECT_EQ(form->windowTitle().toStdString(), layout.title);
  for (const QWidget* child : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    EXPECT_TRUE(form->rect().contains(child->geometry())) << child->metaObject()->className();
  }
  // The program icon, from its .ico resource, at the host's icon size.
  int icons = 0;
  for (const QLabel* label : form->findChildren<QLabel*>()) {
    if (label->pixmap().isNull()) continue;
    ++icons;
    EXPECT_EQ(label->pixmap().size(), QSize(32, 32));
  }
  EXPECT_EQ(icons, 1);
  // The same icon names the window.
  EXPECT_FALSE(form->windowIcon().isNull());
  EXPECT_EQ(form->windowIcon().availableSizes().value(0), QSize(64, 64));

  const QPixmap shot = form->grab();
  EXPECT_EQ(shot.size(), form->size());
  EXPECT_TRUE(shot.save(QStringLiteral(QUORVANE_SAMPLE_FORM_PNG)));

  QTest::mouseClick(host.Widget(host.DialogItem(host.ActiveDialog(), kExit)), Qt::LeftButton);
  EXPECT_TRUE(WaitUntil([&] { return program.HasFinished(); }));
  dialog::SetWindowSystem(nullptr);
}

class IgnoredNotifications : public NotificationSink {
 public:
  void Emit(HostDialog&, const dialog::WindowMessage&,
            const std::optional<dialog::WindowMessage>&) override {}
  void StateChanged(HostControl&) override {}
};

// Every static text of the form shows whole, in the face the host picks and
// in the fallback face, at any scale the test runs under. The labels were
// sized to their texts in the template's own face, with little to spare.
TEST(SampleForm, EveryStaticTextFitsItsRectangle) {
  EnsureApplication();
  IgnoredNotifications sink;
  for (const char* face : {"", "DejaVu Sans"}) {
    dialog::DialogTemplate layout = calculator::CalculatorFormTemplate();
    if (*face) layout.font->typeface = face;
    const auto form = BuildDialog(layout, nullptr, sink, dialog::kProgramModule,
                                  [](std::uint16_t) { return std::nullopt; });
    int texts = 0;
    for (const auto& control : form->controls) {
      if (control->kind != ControlKind::StaticText) continue;
      ++texts;
      const auto* label = static_cast<const QLabel*>(control->widget.data());
      EXPECT_LE(QFontMetricsF(label->font()).horizontalAdvance(label->text()),
                label->contentsRect().width())
          << label->text().toStdString() << " in " << (*face ? face : "the substitute face");
    }
    EXPECT_EQ(texts, 17);
  }
}

}  // namespace
}  // namespace quorvane::host::testing
