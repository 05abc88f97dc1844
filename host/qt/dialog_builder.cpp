#include "host/qt/dialog_builder.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <cstring>

#include "dialog/window_styles.h"
#include "host/qt/dialog_units.h"
#include "host/qt/up_down_widget.h"

namespace quorvane::host {
namespace {

using dialog::DialogItemTemplate;

// The host draws static icons at its standard icon size, and up-down
// controls at a fixed width, whatever their template rectangles say.
constexpr int kIconSize = 32;
constexpr int kUpDownWidth = 16;
constexpr std::uint32_t kStaticTypeMask = 0x1Fu;
// What the user may type or paste into an edit box before the program sets
// another limit: the host's default, 32,767 characters.
constexpr int kEditTextLimit = 0x7FFF;
constexpr std::uint32_t SS_RIGHT = 0x2u;
constexpr std::uint32_t ES_CENTER = 0x1u;
constexpr std::uint32_t ES_RIGHT = 0x2u;
constexpr std::uint32_t ES_PASSWORD = 0x20u;
constexpr std::uint32_t ES_READONLY = 0x800u;

QString TitleText(const DialogItemTemplate& item) {
  return item.title.IsOrdinal() ? QString() : QString::fromStdString(item.title.name);
}

bool IsAtom(const DialogItemTemplate& item, std::uint16_t atom) {
  return item.windowClass.ordinal == atom;
}

bool IsClassName(const DialogItemTemplate& item, const char* name) {
  return !item.windowClass.IsOrdinal() && item.windowClass.name == name;
}

QWidget* MakeButton(const DialogItemTemplate& item, QWidget* parent, HostControl& control) {
  const std::uint32_t type = item.style & 0xFu;
  const QString text = TitleText(item);
  switch (type) {
    case dialog::BS_PUSHBUTTON:
    case dialog::BS_DEFPUSHBUTTON: {
      auto* button = new QPushButton(text, parent);
      button->setAutoDefault(false);
      button->setDefault(type == dialog::BS_DEFPUSHBUTTON);
      control.kind = ControlKind::PushButton;
      return button;
    }
    case dialog::BS_CHECKBOX:
    case dialog::BS_AUTOCHECKBOX:
    case dialog::BS_3STATE:
    case dialog::BS_AUTO3STATE: {
      auto* box = new QCheckBox(text, parent);
      box->setTristate(type == dialog::BS_3STATE || type == dialog::BS_AUTO3STATE);
      control.kind = ControlKind::CheckBox;
      control.automatic = type == dialog::BS_AUTOCHECKBOX || type == dialog::BS_AUTO3STATE;
      return box;
    }
    case dialog::BS_RADIOBUTTON:
    case dialog::BS_AUTORADIOBUTTON: {
      // Exclusivity follows the template's groups, not the parent widget.
      auto* radio = new QRadioButton(text, parent);
      radio->setAutoExclusive(false);
      control.kind = ControlKind::RadioButton;
      control.automatic = type == dialog::BS_AUTORADIOBUTTON;
      return radio;
    }
    case dialog::BS_GROUPBOX: {
      auto* group = new QGroupBox(text, parent);
      group->setAttribute(Qt::WA_TransparentForMouseEvents);
      control.kind = ControlKind::GroupBox;
      return group;
    }
    default:
      return nullptr;
  }
}

QLabel* MakeIcon(const DialogItemTemplate& item, QWidget* parent, const IconLookup& icons) {
  auto* label = new QLabel(parent);
  const auto bytes = icons(*item.title.ordinal);
  if (bytes) {
    const QImage image = QImage::fromData(
        QByteArrayView(reinterpret_cast<const char*>(bytes->data()), bytes->size()), "ICO");
    if (!image.isNull()) {
      label->setPixmap(QPixmap::fromImage(
          image.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
      // The form's icon is also its window's icon, as the program's own icon.
      parent->window()->setWindowIcon(QIcon(QPixmap::fromImage(image)));
    }
  }
  return label;
}

QWidget* MakeStatic(const DialogItemTemplate& item, QWidget* parent, const IconLookup& icons,
                    HostControl& control) {
  const std::uint32_t type = item.style & kStaticTypeMask;
  if (type == dialog::SS_ICON && item.title.IsOrdinal()) {
    control.kind = ControlKind::StaticIcon;
    return MakeIcon(item, parent, icons);
  }
  auto* label = new QLabel(TitleText(item), parent);
  label->setTextFormat(Qt::PlainText);
  Qt::Alignment alignment = (item.style & dialog::SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop;
  if (type == dialog::SS_CENTER) {
    alignment |= Qt::AlignHCenter;
  } else if (type == SS_RIGHT) {
    alignment |= Qt::AlignRight;
  } else {
    alignment |= Qt::AlignLeft;
  }
  label->setAlignment(alignment);
  label->setWordWrap(type <= SS_RIGHT && (item.style & dialog::SS_CENTERIMAGE) == 0);
  if ((item.style & dialog::SS_SUNKEN) || (item.exStyle & dialog::WS_EX_STATICEDGE) ||
      (item.exStyle & dialog::WS_EX_CLIENTEDGE)) {
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
  }
  control.kind = ControlKind::StaticText;
  return label;
}

QWidget* MakeEdit(const DialogItemTemplate& item, QWidget* parent, HostControl& control) {
  auto* edit = new QLineEdit(TitleText(item), parent);
  edit->setFrame((item.style & dialog::WS_BORDER) || (item.exStyle & dialog::WS_EX_CLIENTEDGE));
  if (item.style & ES_CENTER) {
    edit->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  } else if (item.style & ES_RIGHT) {
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  edit->setReadOnly((item.style & ES_READONLY) != 0);
  edit->setMaxLength(kEditTextLimit);
  if (item.style & ES_PASSWORD) edit->setEchoMode(QLineEdit::Password);
  edit->setCursorPosition(0);
  control.kind = ControlKind::EditBox;
  return edit;
}

QWidget* MakeWidget(const DialogItemTemplate& item, QWidget* parent, const IconLookup& icons,
                    HostControl& control) {
  if (IsAtom(item, dialog::kButtonAtom)) return MakeButton(item, parent, control);
  if (IsAtom(item, dialog::kEditAtom)) return MakeEdit(item, parent, control);
  if (IsAtom(item, dialog::kStaticAtom)) return MakeStatic(item, parent, icons, control);
  if (IsClassName(item, dialog::kUpDownClass)) {
    control.kind = ControlKind::UpDown;
    return new UpDownWidget(parent);
  }
  return nullptr;
}

QWidget* MakePlaceholder(const DialogItemTemplate& item, QWidget* parent, HostControl& control) {
  auto* frame = new QFrame(parent);
  frame->setFrameStyle(QFrame::Box | QFrame::Plain);
  control.kind = ControlKind::Placeholder;
  control.placeholderText = item.title.IsOrdinal() ? std::string() : item.title.name;
  return frame;
}

// A one-line text drawn narrower where the substitute face would not fit it
// into its rectangle; the host's own face fits it there.
void FitStaticText(QLabel& label) {
  if (label.text().contains(QLatin1Char('\n'))) return;
  label.setFont(NarrowedToFit(label.font(), label.text(), label.contentsRect().width()));
}

// An up-down control with the auto-buddy style takes the control before it;
// aligned right it sits on the buddy's right edge and the buddy gives up the room.
void AttachUpDown(HostDialog& dialog, HostControl& spin) {
  if ((spin.style & dialog::UDS_AUTOBUDDY) == 0 || spin.index == 0) return;
  HostControl& buddy = *dialog.controls[spin.index - 1];
  spin.spin.buddy = buddy.index;
  if (buddy.kind == ControlKind::EditBox) buddy.spinOfBuddy = spin.index;
  if ((spin.style & dialog::UDS_ALIGNRIGHT) == 0) return;
  QRect room = buddy.widget->geometry();
  const int width = std::min(kUpDownWidth, room.width());
  buddy.widget->setGeometry(room.adjusted(0, 0, -width, 0));
  spin.widget->setGeometry(room.right() + 1 - width, room.top(), width, room.height());
}

void ConfigureDialog(HostDialog& dialog, const dialog::DialogTemplate& form, const QFont& font,
                     BaseUnits units) {
  Qt::WindowFlags flags =
      Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;
  if (form.style & dialog::WS_SYSMENU)
    flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
  dialog.setWindowFlags(flags);
  dialog.setFont(font);
  dialog.setWindowTitle(QString::fromStdString(form.title));
  // The template's size is the client area's.
  dialog.setFixedSize(DialogRectToPixels(0, 0, form.cx, form.cy, units).size());
}

}  // namespace

std::unique_ptr<HostDialog> BuildDialog(const dialog::DialogTemplate& form, QWidget* owner,
                                        NotificationSink& sink, dialog::ModuleHandle module,
                                        const IconLookup& icons) {
  auto dialog = std::make_unique<HostDialog>(owner, sink, module);
  const double dotsPerInch = QGuiApplication::primaryScreen()
                                 ? QGuiApplication::primaryScreen()->logicalDotsPerInchY()
                                 : 96.0;
  const DialogMetrics metrics = MeasureDialogFont(form.font, dotsPerInch);
  const BaseUnits units = metrics.units;
  ConfigureDialog(*dialog, form, metrics.textFont, units);

  for (const DialogItemTemplate& item : form.items) {
    auto control = std::make_unique<HostControl>();
    control->dialog = dialog.get();
    control->index = static_cast<int>(dialog->controls.size());
    control->id = item.id;
    control->style = item.style;
    control->exStyle = item.exStyle;
    control->tabStop = (item.style & dialog::WS_TABSTOP) != 0;
    control->groupStart = (item.style & dialog::WS_GROUP) != 0;
    QWidget* widget = MakeWidget(item, dialog.get(), icons, *control);
    if (!widget) widget = MakePlaceholder(item, dialog.get(), *control);
    QRect rect = DialogRectToPixels(item.x, item.y, item.cx, item.cy, units);
    if (control->kind == ControlKind::StaticIcon) rect.setSize(QSize(kIconSize, kIconSize));
    widget->setGeometry(rect);
    if (control->kind == ControlKind::StaticText) FitStaticText(*static_cast<QLabel*>(widget));
    if (!control->TakesFocus()) widget->setFocusPolicy(Qt::NoFocus);
    if (control->kind == ControlKind::StaticText || control->kind == ControlKind::StaticIcon) {
      widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    // The first item is on top, as the host stacks its windows.
    widget->lower();
    widget->setEnabled((item.style & dialog::WS_DISABLED) == 0);
    widget->setVisible((item.style & dialog::WS_VISIBLE) != 0);
    control->widget = widget;
    dialog->controls.push_back(std::move(control));
  }
  for (auto& control : dialog->controls) {
    if (control->kind == ControlKind::UpDown) AttachUpDown(*dialog, *control);
  }
  for (auto& control : dialog->controls) dialog->Attach(*control);
  return dialog;
}

}  // namespace quorvane::host
