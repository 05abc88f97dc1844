#include <algorithm>
#include <cctype>

#include "dialog/window_styles.h"
#include "scripted_host.h"
#include "scripted_window.h"

// Dialog creation, the modal loop and the user's actions.
namespace quorvane::dialog {
namespace {

std::uintptr_t CommandParameter(std::int32_t id, std::int32_t code) {
  return (static_cast<std::uintptr_t>(id) & 0xFFFF) |
         ((static_cast<std::uintptr_t>(code) & 0xFFFF) << 16);
}

bool IsAutomaticRadio(const ScriptedWindow& w) {
  return w.windowClass == ScriptedClass::Button && (w.item.style & 0xF) == BS_AUTORADIOBUTTON;
}

bool IsRadio(const ScriptedWindow& w) {
  const auto type = w.item.style & 0xF;
  return w.windowClass == ScriptedClass::Button &&
         (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON);
}

std::string ParentName(const ScriptedWindow* parent) {
  if (parent == nullptr) return "none";
  if (parent->windowClass == ScriptedClass::Frame) return "frame";
  return "dialog " + std::to_string(parent->templateId);
}

void InitialiseControl(ScriptedWindow& control) {
  const DialogItemTemplate& item = control.item;
  control.id = item.id;
  control.windowClass = ClassOfItem(item);
  control.enabled = (item.style & WS_DISABLED) == 0;
  if (!item.title.IsOrdinal()) control.text = item.title.name;
}

}  // namespace

ScriptedWindow* ScriptedHost::CreateDialog(ModuleHandle module, std::int32_t templateId,
                                           const DialogTemplate& dialogTemplate,
                                           WindowProcedure procedure) {
  auto dialog = std::make_unique<ScriptedWindow>();
  dialog->windowClass = ScriptedClass::Dialog;
  dialog->templateId = templateId;
  dialog->module = module;
  dialog->procedure = procedure;
  dialog->text = dialogTemplate.title;
  for (const DialogItemTemplate& item : dialogTemplate.items) {
    auto control = std::make_unique<ScriptedWindow>();
    control->item = item;
    control->dialog = dialog.get();
    control->module = module;
    InitialiseControl(*control);
    dialog->controls.push_back(control.get());
    windows_.push_back(std::move(control));
  }
  windows_.push_back(std::move(dialog));
  return windows_.back().get();
}

std::int32_t ScriptedHost::RunModalDialog(ModuleHandle module, std::int32_t templateId,
                                          WindowHandle parent, WindowProcedure procedure,
                                          std::intptr_t creationParameter) {
  Log("RunModalDialog " + std::to_string(module) + " " + std::to_string(templateId) + " " +
      ParentName(WindowOf(parent)));
  const auto bytes = resources_.Find(module, RT_DIALOG, templateId);
  const auto dialogTemplate = bytes ? ReadDialogTemplate(*bytes) : std::nullopt;
  if (refuseDialogs_ || !dialogTemplate || procedure == nullptr) return -1;
  ScriptedWindow& dialog = *CreateDialog(module, templateId, *dialogTemplate, procedure);
  running_.push_back(&dialog);
  Send(dialog, {Message::InitDialog, 0, creationParameter});
  RunLoop(dialog);
  Send(dialog, {Message::Destroy, 0, 0});
  dialog.destroyed = true;
  for (ScriptedWindow* control : dialog.controls) control->destroyed = true;
  running_.erase(std::find(running_.begin(), running_.end(), &dialog));
  return dialog.ended ? dialog.result : -1;
}

void ScriptedHost::RunLoop(ScriptedWindow& dialog) {
  while (!dialog.ended) {
    if (script_.empty() || stepsRun_ >= kStepLimit) {
      safetyStopped_ = true;
      Log("SafetyStop");
      return;
    }
    auto step = std::move(script_.front());
    script_.pop_front();
    ++stepsRun_;
    step();
  }
}

std::intptr_t ScriptedHost::Send(ScriptedWindow& dialog, const WindowMessage& message) {
  if (dialog.destroyed || dialog.procedure == nullptr) return 0;
  return dialog.procedure(HandleOf(&dialog), message);
}

void ScriptedHost::NotifyCommand(ScriptedWindow& control, std::int32_t code) {
  if (control.dialog == nullptr) return;
  Send(*control.dialog, {Message::Command, CommandParameter(control.id, code),
                         reinterpret_cast<std::intptr_t>(HandleOf(&control))});
}

ScriptedWindow* ScriptedHost::Innermost() const {
  return running_.empty() ? nullptr : running_.back();
}

ScriptedWindow* ScriptedHost::ShownControl(std::int32_t controlId) const {
  ScriptedWindow* dialog = Innermost();
  if (dialog == nullptr) return nullptr;
  for (ScriptedWindow* control : dialog->controls) {
    if (control->id == controlId) return control;
  }
  return nullptr;
}

void ScriptedHost::Queue(std::function<void()> step) {
  script_.push_back(std::move(step));
}

void ScriptedHost::Then(std::function<void()> step) {
  Queue(std::move(step));
}

// Types at the selection, as the user does: the whole text is selected first,
// and each character replaces the selection and leaves the caret behind it.
// A program that rewrites the field meanwhile decides where the caret is.
void ScriptedHost::TypeInto(ScriptedWindow& edit, std::string_view text) {
  const bool digitsOnly = (edit.item.style & ES_NUMBER) != 0;
  edit.selectionStart = 0;
  edit.selectionEnd = static_cast<std::int32_t>(edit.text.size());
  for (char c : text) {
    if (digitsOnly && !std::isdigit(static_cast<unsigned char>(c))) continue;
    const auto length = static_cast<std::int32_t>(edit.text.size());
    const std::int32_t from =
        std::clamp(std::min(edit.selectionStart, edit.selectionEnd), 0, length);
    const std::int32_t to = std::clamp(std::max(edit.selectionStart, edit.selectionEnd), 0, length);
    edit.text.replace(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from), 1, c);
    edit.selectionStart = edit.selectionEnd = from + 1;
    NotifyCommand(edit, EN_UPDATE);
    NotifyCommand(edit, EN_CHANGE);
    if (edit.destroyed) return;
  }
}

void ScriptedHost::TypeText(std::int32_t controlId, std::string_view text) {
  Queue([this, controlId, typed = std::string(text)] {
    ScriptedWindow* edit = ShownControl(controlId);
    if (edit == nullptr || !edit->enabled || edit->windowClass != ScriptedClass::Edit) return;
    TypeInto(*edit, typed);
  });
}

void ScriptedHost::ClickAutomaticRadio(ScriptedWindow& radio) {
  auto& controls = radio.dialog->controls;
  const auto self = std::find(controls.begin(), controls.end(), &radio);
  auto first = self;
  while (first != controls.begin() && ((*first)->item.style & WS_GROUP) == 0) --first;
  auto last = self + 1;
  while (last != controls.end() && ((*last)->item.style & WS_GROUP) == 0) ++last;
  for (auto k = first; k != last; ++k) {
    if (IsRadio(**k)) (*k)->check = 0;
  }
  radio.check = 1;
}

void ScriptedHost::Click(std::int32_t controlId) {
  Queue([this, controlId] {
    ScriptedWindow* control = ShownControl(controlId);
    if (control == nullptr || !control->enabled || control->windowClass != ScriptedClass::Button) {
      return;
    }
    const auto type = control->item.style & 0xF;
    if (IsAutomaticRadio(*control)) ClickAutomaticRadio(*control);
    if (type == BS_AUTOCHECKBOX) control->check = control->check == 0 ? 1 : 0;
    if (type == BS_AUTO3STATE) control->check = (control->check + 1) % 3;
    NotifyCommand(*control, BN_CLICKED);
  });
}

void ScriptedHost::PressCommand(std::int32_t id) {
  ScriptedWindow* dialog = Innermost();
  if (dialog == nullptr) return;
  ScriptedWindow* control = ShownControl(id);
  if (control != nullptr && !control->enabled) return;
  Send(*dialog, {Message::Command, CommandParameter(id, BN_CLICKED),
                 reinterpret_cast<std::intptr_t>(HandleOf(control))});
}

void ScriptedHost::PressEscape() {
  Queue([this] { PressCommand(IDCANCEL); });
}

void ScriptedHost::PressCloseBox() {
  Queue([this] {
    if (ScriptedWindow* dialog = Innermost()) Send(*dialog, {Message::Close, 0, 0});
    PressCommand(IDCANCEL);
  });
}

void ScriptedHost::PressEnter() {
  Queue([this] {
    ScriptedWindow* dialog = Innermost();
    if (dialog == nullptr) return;
    std::int32_t id = IDOK;
    for (ScriptedWindow* control : dialog->controls) {
      if (control->windowClass == ScriptedClass::Button &&
          (control->item.style & 0xF) == BS_DEFPUSHBUTTON) {
        id = control->id;
        break;
      }
    }
    PressCommand(id);
  });
}

void ScriptedHost::StepSpinner(std::int32_t spinnerId, int direction) {
  ScriptedWindow* spin = ShownControl(spinnerId);
  if (spin == nullptr || !spin->enabled || spin->windowClass != ScriptedClass::UpDown) return;
  ScriptedWindow& dialog = *spin->dialog;
  SpinReply(*spin);  // the position starts from the buddy's text
  NotifyHeader header{HandleOf(spin), static_cast<std::uintptr_t>(spin->id), UDN_DELTAPOS};
  Send(dialog, {Message::Notify, 0, reinterpret_cast<std::intptr_t>(&header)});
  // "Up" moves toward the upper end of the range, whichever way it lies.
  const int towardUpper = spin->spinUpper >= spin->spinLower ? direction : -direction;
  MoveSpin(*spin, spin->spinPosition + towardUpper);
  const auto handle = reinterpret_cast<std::intptr_t>(HandleOf(spin));
  Send(dialog, {Message::VScroll, CommandParameter(SB_THUMBPOSITION, spin->spinPosition), handle});
  Send(dialog, {Message::VScroll, CommandParameter(SB_ENDSCROLL, spin->spinPosition), handle});
}

void ScriptedHost::SpinUp(std::int32_t spinnerId) {
  Queue([this, spinnerId] { StepSpinner(spinnerId, +1); });
}

void ScriptedHost::SpinDown(std::int32_t spinnerId) {
  Queue([this, spinnerId] { StepSpinner(spinnerId, -1); });
}

void ScriptedHost::SelectItem(std::int32_t controlId, std::int32_t index) {
  Queue([this, controlId, index] {
    ScriptedWindow* list = ShownControl(controlId);
    if (list == nullptr || !list->enabled) return;
    if (list->windowClass == ScriptedClass::Tab) {
      NotifyHeader changing{HandleOf(list), static_cast<std::uintptr_t>(controlId),
                            TCN_SELCHANGING};
      Send(*list->dialog, {Message::Notify, 0, reinterpret_cast<std::intptr_t>(&changing)});
      list->currentItem = index;
      NotifyHeader changed{HandleOf(list), static_cast<std::uintptr_t>(controlId), TCN_SELCHANGE};
      Send(*list->dialog, {Message::Notify, 0, reinterpret_cast<std::intptr_t>(&changed)});
      return;
    }
    list->currentItem = index;
    if (list->windowClass == ScriptedClass::ComboBox && index >= 0 &&
        index < static_cast<std::int32_t>(list->items.size())) {
      list->text = list->items[static_cast<std::size_t>(index)];
    }
    NotifyCommand(*list, LBN_SELCHANGE);
  });
}

void ScriptedHost::SendCommand(std::int32_t controlId, std::int32_t code) {
  Queue([this, controlId, code] {
    ScriptedWindow* dialog = Innermost();
    if (dialog == nullptr) return;
    Send(*dialog, {Message::Command, CommandParameter(controlId, code),
                   reinterpret_cast<std::intptr_t>(HandleOf(ShownControl(controlId)))});
  });
}

void ScriptedHost::SendNotify(std::int32_t controlId, std::int32_t code) {
  Queue([this, controlId, code] {
    ScriptedWindow* dialog = Innermost();
    if (dialog == nullptr) return;
    NotifyHeader header{HandleOf(ShownControl(controlId)), static_cast<std::uintptr_t>(controlId),
                        code};
    Send(*dialog, {Message::Notify, 0, reinterpret_cast<std::intptr_t>(&header)});
  });
}

void ScriptedHost::SendScroll(std::int32_t controlId, std::int32_t code, std::int32_t position,
                              bool vertical) {
  Queue([this, controlId, code, position, vertical] {
    ScriptedWindow* dialog = Innermost();
    if (dialog == nullptr) return;
    Send(*dialog, {vertical ? Message::VScroll : Message::HScroll, CommandParameter(code, position),
                   reinterpret_cast<std::intptr_t>(HandleOf(ShownControl(controlId)))});
  });
}

void ScriptedHost::SendSize(std::int32_t sizeType) {
  Queue([this, sizeType] {
    if (ScriptedWindow* dialog = Innermost()) {
      Send(*dialog, {Message::Size, static_cast<std::uintptr_t>(sizeType), 0});
    }
  });
}

bool ScriptedHost::IsShowing() const {
  return Innermost() != nullptr;
}

std::string ScriptedHost::ShownText(std::int32_t controlId) const {
  const ScriptedWindow* control = ShownControl(controlId);
  return control == nullptr ? std::string() : control->text;
}

bool ScriptedHost::ShownEnabled(std::int32_t controlId) const {
  const ScriptedWindow* control = ShownControl(controlId);
  return control != nullptr && control->enabled;
}

std::int32_t ScriptedHost::ShownCheck(std::int32_t controlId) const {
  const ScriptedWindow* control = ShownControl(controlId);
  return control == nullptr ? 0 : control->check;
}

std::int32_t ScriptedHost::ShownSpinPosition(std::int32_t controlId) const {
  const ScriptedWindow* control = ShownControl(controlId);
  return control == nullptr ? 0 : control->spinPosition;
}

std::int32_t ScriptedHost::ShownSelectionEnd(std::int32_t controlId) const {
  const ScriptedWindow* control = ShownControl(controlId);
  return control == nullptr ? 0 : std::max(control->selectionStart, control->selectionEnd);
}

std::string ScriptedHost::ShownTitle() const {
  const ScriptedWindow* dialog = Innermost();
  return dialog == nullptr ? std::string() : dialog->text;
}

}  // namespace quorvane::dialog
