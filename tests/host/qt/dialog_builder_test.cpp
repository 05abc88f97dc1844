#include "host/qt/dialog_builder.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "dialog/form_builder.h"
#include "host/qt/dialog_units.h"
#include "qt_host_fixture.h"

namespace quorvane::host::testing {
namespace {

using dialog::FormBuilder;

class IgnoredNotifications : public NotificationSink {
 public:
  void Emit(HostDialog&, const dialog::WindowMessage&,
            const std::optional<dialog::WindowMessage>&) override {}
  void StateChanged(HostControl&) override {}
};

std::unique_ptr<HostDialog> Build(const dialog::DialogTemplate& form) {
  EnsureApplication();
  static IgnoredNotifications sink;
  return BuildDialog(form, nullptr, sink, dialog::kProgramModule,
                     [](std::uint16_t) { return std::nullopt; });
}

TEST(DialogBuilder, SizesTheClientAreaAndEveryItemInDialogUnits) {
  FormBuilder form;
  form.Title("Sized").Edit(1);
  dialog::DialogTemplate layout = form.Template();
  layout.cx = 200;
  layout.cy = 100;
  layout.items[0].x = 10;
  layout.items[0].y = 20;
  layout.items[0].cx = 50;
  layout.items[0].cy = 14;
  const auto dialog = Build(layout);
  const BaseUnits units = FontBaseUnits(dialog->font());
  EXPECT_EQ(dialog->size(), QSize(MulDiv(200, units.x, 4), MulDiv(100, units.y, 8)));
  EXPECT_EQ(dialog->controls[0]->widget->geometry(),
            QRect(MulDiv(10, units.x, 4), MulDiv(20, units.y, 8), MulDiv(50, units.x, 4),
                  MulDiv(14, units.y, 8)));
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Sized"));
}

TEST(DialogBuilder, StaticTextFollowsItsAlignmentAndEdgeStyles) {
  FormBuilder form;
  form.Static(1, "left")
      .Static(2, "note", dialog::SS_CENTER | dialog::SS_CENTERIMAGE | dialog::SS_SUNKEN)
      .Button(3, "group", dialog::BS_GROUPBOX);
  const auto dialog = Build(form.Template());
  auto* left = qobject_cast<QLabel*>(dialog->controls[0]->widget.data());
  auto* note = qobject_cast<QLabel*>(dialog->controls[1]->widget.data());
  ASSERT_TRUE(left && note);
  EXPECT_EQ(left->alignment(), Qt::AlignLeft | Qt::AlignTop);
  EXPECT_EQ(left->frameShape(), QFrame::NoFrame);
  EXPECT_EQ(note->alignment(), Qt::AlignHCenter | Qt::AlignVCenter);
  EXPECT_EQ(note->frameShadow(), QFrame::Sunken);
  EXPECT_TRUE(note->testAttribute(Qt::WA_TransparentForMouseEvents));
  EXPECT_TRUE(qobject_cast<QGroupBox*>(dialog->controls[2]->widget.data()));
  EXPECT_TRUE(dialog->controls[2]->widget->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST(DialogBuilder, AnyTemplateLoadsWithPlaceholdersForUnknownClasses) {
  FormBuilder form;
  form.Named(1, "SysListView32", dialog::kChildStyle)
      .Atom(2, dialog::kComboBoxAtom, "combo", dialog::kChildStyle)
      .Atom(3, dialog::kStaticAtom, "", dialog::kChildStyle | dialog::SS_ICON)
      .Button(4, "owner drawn", dialog::BS_OWNERDRAW)
      .Edit(5, dialog::WS_DISABLED)
      .Atom(6, dialog::kEditAtom, "hidden", dialog::WS_CHILD);
  dialog::DialogTemplate layout = form.Template();
  layout.items[2].title = dialog::NameOrOrdinal{std::uint16_t{999}, {}};  // no such icon
  layout.items[0].cx = -40;
  const auto dialog = Build(layout);
  ASSERT_EQ(dialog->controls.size(), 6u);
  EXPECT_EQ(dialog->controls[0]->kind, ControlKind::Placeholder);
  EXPECT_EQ(dialog->controls[1]->kind, ControlKind::Placeholder);
  EXPECT_EQ(dialog->controls[1]->placeholderText, "combo");
  EXPECT_EQ(dialog->controls[2]->kind, ControlKind::StaticIcon);
  EXPECT_EQ(dialog->controls[3]->kind, ControlKind::Placeholder);
  EXPECT_FALSE(dialog->controls[4]->widget->isEnabled());
  EXPECT_TRUE(dialog->controls[5]->widget->isHidden());
  EXPECT_EQ(qobject_cast<QLineEdit*>(dialog->controls[5]->widget.data())->text(),
            QStringLiteral("hidden"));
}

}  // namespace
}  // namespace quorvane::host::testing
