#include <algorithm>
#include <charconv>
#include <string>

#include "dialog/window_styles.h"
#include "scripted_host.h"
#include "scripted_window.h"

// Up-down, scroll bar, slider, progress bar and list operations of the
// scripted host.
namespace quorvane::dialog {
namespace {

std::int32_t SpinMin(const ScriptedWindow& w) {
  return std::min(w.spinLower, w.spinUpper);
}
std::int32_t SpinMax(const ScriptedWindow& w) {
  return std::max(w.spinLower, w.spinUpper);
}

// The text an up-down control writes into its buddy: plain decimal digits
// (the scripted host leaves out thousands separators).
std::string SpinText(std::int32_t position) {
  return std::to_string(position);
}

}  // namespace

ScriptedWindow* SpinBuddy(ScriptedWindow& spin) {
  if ((spin.item.style & UDS_AUTOBUDDY) == 0 || spin.dialog == nullptr) return nullptr;
  auto& controls = spin.dialog->controls;
  const auto self = std::find(controls.begin(), controls.end(), &spin);
  if (self == controls.begin() || self == controls.end()) return nullptr;
  ScriptedWindow* buddy = *(self - 1);
  return buddy->windowClass == ScriptedClass::Edit ? buddy : nullptr;
}

// Rewrites the buddy's text when it differs, as the control does.
void ScriptedHost::MoveSpin(ScriptedWindow& spin, std::int32_t position) {
  spin.spinPosition = std::clamp(position, SpinMin(spin), SpinMax(spin));
  ScriptedWindow* buddy = SpinBuddy(spin);
  if (buddy == nullptr || (spin.item.style & UDS_SETBUDDYINT) == 0) return;
  const std::string text = SpinText(spin.spinPosition);
  if (buddy->text == text) return;
  buddy->text = text;
  buddy->selectionStart = buddy->selectionEnd = 0;
  NotifyCommand(*buddy, EN_UPDATE);
  NotifyCommand(*buddy, EN_CHANGE);
}

// The position the buddy's text gives; high word set when it gives none
// within the range (the low word then holds the last good position).
std::uint32_t ScriptedHost::SpinReply(ScriptedWindow& spin) {
  ScriptedWindow* buddy = SpinBuddy(spin);
  std::uint32_t invalid = 1;
  if (buddy != nullptr && (spin.item.style & UDS_SETBUDDYINT) != 0) {
    std::int32_t value = 0;
    const std::string& text = buddy->text;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool whole = error == std::errc() && end == text.data() + text.size();
    if (whole && value >= SpinMin(spin) && value <= SpinMax(spin)) {
      spin.spinPosition = value;
      invalid = 0;
    }
  }
  const std::int32_t position = std::clamp(spin.spinPosition, SpinMin(spin), SpinMax(spin));
  return (invalid << 16) | (static_cast<std::uint32_t>(position) & 0xFFFF);
}

void ScriptedHost::SetSpinRange(WindowHandle spin, std::int16_t lower, std::int16_t upper) {
  ScriptedWindow* w = Live(spin, "SetSpinRange", {lower, upper});
  if (w == nullptr) return;
  w->spinLower = lower;
  w->spinUpper = upper;
}

void ScriptedHost::SetSpinPosition(WindowHandle spin, std::int32_t position) {
  ScriptedWindow* w = Live(spin, "SetSpinPosition", {position});
  if (w != nullptr) MoveSpin(*w, position);
}

std::uint32_t ScriptedHost::SpinPosition(WindowHandle spin) {
  ScriptedWindow* w = Live(spin, "SpinPosition");
  return w == nullptr ? 0 : SpinReply(*w);
}

std::uint32_t ScriptedHost::SpinRange(WindowHandle spin) {
  ScriptedWindow* w = Live(spin, "SpinRange");
  if (w == nullptr) return 0;
  return (static_cast<std::uint32_t>(w->spinUpper) & 0xFFFF) |
         ((static_cast<std::uint32_t>(w->spinLower) & 0xFFFF) << 16);
}

void ScriptedHost::SetScrollInfo(WindowHandle bar, const ScrollInfo& info) {
  ScriptedWindow* w =
      Live(bar, "SetScrollInfo", {info.minimum, info.maximum, info.page, info.position});
  if (w != nullptr) w->scroll = info;
}

ScrollInfo ScriptedHost::GetScrollInfo(WindowHandle bar) {
  ScriptedWindow* w = Live(bar, "GetScrollInfo");
  return w == nullptr ? ScrollInfo{} : w->scroll;
}

void ScriptedHost::SetScrollPosition(WindowHandle bar, std::int32_t position) {
  ScriptedWindow* w = Live(bar, "SetScrollPosition", {position});
  if (w != nullptr) w->scroll.position = position;
}

void ScriptedHost::EnableScrollBar(WindowHandle bar, bool enabled) {
  ScriptedWindow* w = Live(bar, "EnableScrollBar", {enabled});
  if (w != nullptr) w->scrollEnabled = enabled;
}

void ScriptedHost::SetSliderRange(WindowHandle s, std::int16_t lower, std::int16_t upper) {
  ScriptedWindow* w = Live(s, "SetSliderRange", {lower, upper});
  if (w == nullptr) return;
  w->sliderMin = lower;
  w->sliderMax = upper;
}

void ScriptedHost::SetSliderPosition(WindowHandle s, std::int32_t v) {
  ScriptedWindow* w = Live(s, "SetSliderPosition", {v});
  if (w != nullptr)
    w->sliderPosition = std::clamp(v, w->sliderMin, std::max(w->sliderMin, w->sliderMax));
}

void ScriptedHost::SetSliderLineSize(WindowHandle s, std::int32_t v) {
  ScriptedWindow* w = Live(s, "SetSliderLineSize", {v});
  if (w != nullptr) w->sliderLine = v;
}

void ScriptedHost::SetSliderPageSize(WindowHandle s, std::int32_t v) {
  ScriptedWindow* w = Live(s, "SetSliderPageSize", {v});
  if (w != nullptr) w->sliderPage = v;
}

void ScriptedHost::SetSliderTickFrequency(WindowHandle s, std::int32_t v) {
  ScriptedWindow* w = Live(s, "SetSliderTickFrequency", {v});
  if (w != nullptr) w->sliderTicks = v;
}

std::int32_t ScriptedHost::SliderPosition(WindowHandle s) {
  ScriptedWindow* w = Live(s, "SliderPosition");
  return w == nullptr ? 0 : w->sliderPosition;
}

std::int32_t ScriptedHost::SliderRangeMax(WindowHandle s) {
  ScriptedWindow* w = Live(s, "SliderRangeMax");
  return w == nullptr ? 0 : w->sliderMax;
}

std::int32_t ScriptedHost::SliderRangeMin(WindowHandle s) {
  ScriptedWindow* w = Live(s, "SliderRangeMin");
  return w == nullptr ? 0 : w->sliderMin;
}

std::int32_t ScriptedHost::SliderLineSize(WindowHandle s) {
  ScriptedWindow* w = Live(s, "SliderLineSize");
  return w == nullptr ? 0 : w->sliderLine;
}

std::int32_t ScriptedHost::SliderPageSize(WindowHandle s) {
  ScriptedWindow* w = Live(s, "SliderPageSize");
  return w == nullptr ? 0 : w->sliderPage;
}

void ScriptedHost::SetProgressRange(WindowHandle p, std::int16_t lower, std::int16_t upper) {
  ScriptedWindow* w = Live(p, "SetProgressRange", {lower, upper});
  if (w == nullptr) return;
  w->progressLower = lower;
  w->progressUpper = upper;
}

void ScriptedHost::SetProgressPosition(WindowHandle p, std::int32_t v) {
  ScriptedWindow* w = Live(p, "SetProgressPosition", {v});
  if (w != nullptr) w->progressPosition = v;
}

void ScriptedHost::ClearItems(WindowHandle list) {
  ScriptedWindow* w = Live(list, "ClearItems");
  if (w == nullptr) return;
  w->items.clear();
  w->currentItem = -1;
}

void ScriptedHost::AddItem(WindowHandle list, std::string_view text) {
  ScriptedWindow* w = Live(list, "AddItem", {}, text);
  if (w != nullptr) w->items.emplace_back(text);
}

std::int32_t ScriptedHost::ItemCount(WindowHandle list) {
  ScriptedWindow* w = Live(list, "ItemCount");
  return w == nullptr ? 0 : static_cast<std::int32_t>(w->items.size());
}

std::string ScriptedHost::ItemText(WindowHandle list, std::int32_t index) {
  ScriptedWindow* w = Live(list, "ItemText", {index});
  if (w == nullptr || index < 0 || index >= static_cast<std::int32_t>(w->items.size())) return {};
  return w->items[static_cast<std::size_t>(index)];
}

void ScriptedHost::SetCurrentItem(WindowHandle list, std::int32_t index) {
  ScriptedWindow* w = Live(list, "SetCurrentItem", {index});
  if (w == nullptr) return;
  const bool valid = index >= 0 && index < static_cast<std::int32_t>(w->items.size());
  w->currentItem = valid ? index : -1;
}

std::int32_t ScriptedHost::CurrentItem(WindowHandle list) {
  ScriptedWindow* w = Live(list, "CurrentItem");
  return w == nullptr ? -1 : w->currentItem;
}

}  // namespace quorvane::dialog
