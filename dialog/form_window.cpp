#include "dialog/form_window.h"

#include "dialog/form_access.h"
#include "dialog/item_lists.h"

namespace quorvane::dialog {
namespace {

bool Enabled(const ControlRecord& record) {
  return IsTrue(record.logicals[0]);
}
std::int16_t Low16(std::int32_t value) {
  return static_cast<std::int16_t>(value);
}
std::int32_t SignedLow(std::uint32_t reply) {
  return static_cast<std::int16_t>(reply & 0xFFFF);
}
std::int32_t SignedHigh(std::uint32_t reply) {
  return static_cast<std::int16_t>(reply >> 16);
}

// Index (from 0) of the first item carrying text, -1 when none does.
std::int32_t ItemWithText(const ControlRecord& record) {
  for (std::size_t k = 0; k < record.itemTexts.size(); ++k) {
    if (record.itemTexts[k] == record.text) return static_cast<std::int32_t>(k);
  }
  return -1;
}

void WriteItems(WindowSystem& host, WindowHandle control, ControlRecord& record) {
  host.Enable(control, Enabled(record));
  host.ClearItems(control);
  for (const std::string& item : record.itemTexts) host.AddItem(control, TrimTrailingBlanks(item));
  switch (record.controlClass) {
    case ControlClass::ListBox:
      host.SetCurrentItem(control, record.integers[1] - 1);
      return;
    case ControlClass::ComboBox:
      if (record.hasText) host.SetText(control, record.text);
      return;
    default:
      // Drop-down list and tab control: a current text set since the last
      // write selects its item, else the stored selection stands.
      if (IsTrue(record.logicals[1]) && ItemWithText(record) >= 0) {
        record.integers[1] = ItemWithText(record) + 1;
      }
      record.logicals[1] = kFalse;
      host.SetCurrentItem(control, record.integers[1] - 1);
      return;
  }
}

void WriteRecord(WindowSystem& host, WindowHandle control, ControlRecord& record) {
  const auto& v = record.integers;
  switch (record.controlClass) {
    case ControlClass::StaticText:
    case ControlClass::GroupBox:
    case ControlClass::PushButton:
      host.SetText(control, record.text);
      host.Enable(control, Enabled(record));
      return;
    case ControlClass::CheckBox:
    case ControlClass::RadioButton:
      host.SetText(control, record.text);
      host.Enable(control, Enabled(record));
      host.SetCheck(control, record.logicals[1] & 1);
      return;
    case ControlClass::EditBox:
      host.SetText(control, record.text);
      host.Enable(control, Enabled(record));
      host.SetSelection(control, v[1], v[1]);
      return;
    case ControlClass::ScrollBar:
      host.SetScrollInfo(control, ScrollInfo{v[4], v[1], v[3], v[0]});
      host.EnableScrollBar(control, Enabled(record));
      return;
    case ControlClass::Spinner:
      host.Enable(control, Enabled(record));
      host.SetSpinRange(control, Low16(v[4]), Low16(v[1]));
      host.SetSpinPosition(control, v[0]);
      return;
    case ControlClass::Slider:
      host.Enable(control, Enabled(record));
      host.SetSliderRange(control, Low16(v[4]), Low16(v[1]));
      host.SetSliderPosition(control, v[0]);
      host.SetSliderLineSize(control, v[2]);
      host.SetSliderPageSize(control, v[3]);
      host.SetSliderTickFrequency(control, v[5]);
      return;
    case ControlClass::ProgressBar:
      host.Enable(control, Enabled(record));
      host.SetProgressRange(control, Low16(v[2]), Low16(v[1]));
      host.SetProgressPosition(control, v[0]);
      return;
    case ControlClass::ActiveX:
      host.Enable(control, Enabled(record));
      return;
    default:
      WriteItems(host, control, record);
      return;
  }
}

void ReadItems(WindowSystem& host, WindowHandle control, ControlRecord& record) {
  const std::int32_t count = host.ItemCount(control);
  if (!ResizeItems(record, count)) return;
  for (std::int32_t k = 0; k < count; ++k) {
    record.itemTexts[static_cast<std::size_t>(k)] = host.ItemText(control, k);
  }
  if (record.controlClass == ControlClass::ComboBox) {
    record.text = host.Text(control);
    record.hasText = true;
    return;
  }
  record.integers[1] = host.CurrentItem(control) + 1;
  // A drop-down list or tab control shows the text of its current item.
  if (record.controlClass != ControlClass::ListBox && record.integers[1] >= 1 &&
      record.integers[1] <= count) {
    record.text = record.itemTexts[static_cast<std::size_t>(record.integers[1]) - 1];
    record.hasText = true;
  }
}

void ReadRecord(WindowSystem& host, WindowHandle control, ControlRecord& record) {
  auto& v = record.integers;
  switch (record.controlClass) {
    case ControlClass::StaticText:
    case ControlClass::GroupBox:
    case ControlClass::PushButton:
    case ControlClass::CheckBox:
    case ControlClass::RadioButton:
      record.text = host.Text(control);
      record.logicals[0] = host.IsEnabled(control);
      if (record.controlClass == ControlClass::CheckBox ||
          record.controlClass == ControlClass::RadioButton) {
        record.logicals[1] = host.Check(control) != 0 ? kTrue : kFalse;
      }
      return;
    case ControlClass::EditBox:
      record.text = host.Text(control);
      v[0] = static_cast<std::int32_t>(record.text.size());
      v[1] = host.SelectionEnd(control);
      record.logicals[0] = host.IsEnabled(control);
      return;
    case ControlClass::ScrollBar: {
      record.logicals[0] = host.IsEnabled(control);
      const ScrollInfo info = host.GetScrollInfo(control);
      v[4] = info.minimum;
      v[1] = info.maximum;
      v[0] = info.position;
      v[3] = info.page;
      return;
    }
    case ControlClass::Spinner: {
      record.logicals[0] = host.IsEnabled(control);
      v[0] = SignedLow(host.SpinPosition(control));
      const std::uint32_t range = host.SpinRange(control);
      v[1] = SignedLow(range);
      v[4] = SignedHigh(range);
      return;
    }
    case ControlClass::Slider:
      record.logicals[0] = host.IsEnabled(control);
      v[0] = host.SliderPosition(control);
      v[1] = host.SliderRangeMax(control);
      v[4] = host.SliderRangeMin(control);
      v[2] = host.SliderLineSize(control);
      v[3] = host.SliderPageSize(control);
      return;
    case ControlClass::ProgressBar:
    case ControlClass::ActiveX:
      record.logicals[0] = host.IsEnabled(control);
      return;
    default:
      record.logicals[0] = host.IsEnabled(control);
      ReadItems(host, control, record);
      return;
  }
}

void WriteRecords(DialogForm& form, bool forced) {
  if (!IsShown(form)) return;
  WindowSystem& host = CurrentWindowSystem();
  form.writing = kTrue;
  if (forced || IsTrue(form.formChanged)) {
    form.formChanged = kFalse;
    // By index: a write can make the host call back into the runtime.
    for (std::size_t k = 0; k < form.controls.size() && IsShown(form); ++k) {
      ControlRecord& record = form.controls[k];
      if (!forced && !IsTrue(record.changed)) continue;
      record.changed = kFalse;
      if (IsTrue(record.duplicate)) continue;
      WindowHandle control = host.DialogItem(form.window, record.id);
      if (control != nullptr) WriteRecord(host, control, form.controls[k]);
    }
  }
  form.writing = kFalse;
}

}  // namespace

void WriteChangedRecords(DialogForm& form) {
  WriteRecords(form, false);
}
void WriteEveryRecord(DialogForm& form) {
  WriteRecords(form, true);
}

void ReadRecordBack(DialogForm& form, ControlRecord& record) {
  if (!IsShown(form) || IsTrue(record.duplicate)) return;
  WindowSystem& host = CurrentWindowSystem();
  WindowHandle control = host.DialogItem(form.window, record.id);
  if (control != nullptr) ReadRecord(host, control, record);
}

void ReadEveryRecordBack(DialogForm& form) {
  for (ControlRecord& record : form.controls) {
    ReadRecordBack(form, record);
    record.changed = kFalse;
  }
}

}  // namespace quorvane::dialog
