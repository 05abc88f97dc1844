#include <string>

#include "dialog/control_classes.h"
#include "dialog/dialog_form.h"
#include "dialog/dialog_template.h"
#include "dialog/runtime_messages.h"
#include "dialog/window_styles.h"

namespace quorvane::dialog {
namespace {

void ResetForm(DialogForm& form, std::int32_t templateId, ModuleHandle module) {
  form.templateId = templateId;
  form.window = nullptr;
  form.result = 1;
  form.formChanged = kTrue;
  form.writing = kFalse;
  form.selectionFlag = kTrue;
  form.initHandler = NoOpHandler;
  form.controls.clear();
  form.formRecord = FormRecord{};
  form.formRecord.module = module;
  form.modal = false;
}

// Flags every record with the item's id as duplicate; true when there was one.
bool MarkDuplicates(DialogForm& form, std::int32_t id) {
  bool found = false;
  for (ControlRecord& record : form.controls) {
    if (record.id != id) continue;
    record.duplicate = kTrue;
    found = true;
  }
  return found;
}

// The radio grouping state of one load. Group indices are record numbers
// counted from 1, as the records keep them.
class RadioGrouper {
 public:
  explicit RadioGrouper(const std::vector<DialogItemTemplate>& items) : items_(items) {}

  void Add(DialogForm& form, std::size_t itemIndex) {
    const auto recordNumber = static_cast<std::int32_t>(form.controls.size());
    ControlRecord& record = form.controls.back();
    if (groupStart_ == 0) {
      groupStart_ = recordNumber;
      groupEndId_ = LastAutomaticRadioId(itemIndex, record.id);
      record.logicals[1] = kTrue;
    } else {
      record.logicals[1] = kFalse;
    }
    if (record.id != groupEndId_) return;
    for (auto k = groupStart_; k <= recordNumber; ++k) {
      ControlRecord& member = form.controls[static_cast<std::size_t>(k - 1)];
      if (member.controlClass != ControlClass::RadioButton) continue;
      member.integers[0] = groupStart_;
      member.integers[1] = recordNumber;
    }
    groupStart_ = 0;
  }

 private:
  // The id of the last automatic radio button before the next item that
  // starts a group.
  std::int32_t LastAutomaticRadioId(std::size_t itemIndex, std::int32_t ownId) const {
    std::int32_t endId = ownId;
    for (std::size_t k = itemIndex + 1; k < items_.size(); ++k) {
      if ((items_[k].style & WS_GROUP) != 0) break;
      if (IsButtonWithStyle(items_[k], BS_AUTORADIOBUTTON)) endId = items_[k].id;
    }
    return endId;
  }

  const std::vector<DialogItemTemplate>& items_;
  std::int32_t groupStart_ = 0;
  std::int32_t groupEndId_ = 0;
};

void AddRecords(DialogForm& form, const DialogTemplate& dialog) {
  RadioGrouper grouper(dialog.items);
  form.controls.reserve(dialog.items.size());
  for (std::size_t k = 0; k < dialog.items.size(); ++k) {
    const DialogItemTemplate& item = dialog.items[k];
    const bool duplicate = MarkDuplicates(form, item.id);
    const Classification classification = ClassifyItem(item);
    if (!classification.rejectedStyle.empty()) {
      const std::string id = std::to_string(item.id);
      FailFatally(kInvalidStyle, {classification.rejectedStyle, id});
    }
    if (!classification.controlClass) continue;
    form.controls.push_back(MakeRecord(*classification.controlClass, item));
    form.controls.back().duplicate = duplicate ? kTrue : kFalse;
    if (*classification.controlClass == ControlClass::ActiveX) form.formRecord.hasActiveX = kTrue;
    if (*classification.controlClass == ControlClass::RadioButton) grouper.Add(form, k);
  }
}

}  // namespace

Logical LoadFormFromModule(DialogForm& form, std::int32_t templateId, ModuleHandle module) {
  ResetForm(form, templateId, module);
  const auto bytes = CurrentWindowSystem().FindResource(module, RT_DIALOG, templateId);
  if (!bytes) return kFalse;
  const auto dialog = ReadDialogTemplate(*bytes);
  if (!dialog) return kFalse;
  AddRecords(form, *dialog);
  return kTrue;
}

Logical LoadForm(DialogForm& form, std::int32_t templateId) {
  return LoadFormFromModule(form, templateId, kProgramModule);
}

}  // namespace quorvane::dialog
