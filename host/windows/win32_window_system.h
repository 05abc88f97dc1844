#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "dialog/resources.h"
#include "dialog/window_system.h"

// The dialog runtime's windowing system on the Windows dialog manager.
//
// A modal dialog is created from the template bytes as they are and runs its
// loop on the thread that asks for it (the program thread), so the window
// procedure and every operation it calls run on that thread and the
// notifications a change causes arrive before the change returns. A handle is
// the window's own HWND.
namespace quorvane::host {

class Win32WindowSystem : public dialog::WindowSystem {
 public:
  explicit Win32WindowSystem(dialog::ResourceTable& resources = dialog::ProcessResources());

  // The owner of forms that have no parent of their own (the shell's hidden frame).
  void SetDefaultParent(dialog::WindowHandle frame) { frame_.store(frame); }
  // The window icon (an HICON) of every dialog; null: the system's default.
  void SetDialogIcon(void* icon) { icon_ = icon; }

  std::optional<std::span<const std::uint8_t>> FindResource(dialog::ModuleHandle module,
                                                            std::int32_t type,
                                                            std::int32_t id) override;
  dialog::ModuleHandle WindowModule(dialog::WindowHandle window) override;
  dialog::WindowHandle DefaultParent() override;

  std::int32_t RunModalDialog(dialog::ModuleHandle module, std::int32_t templateId,
                              dialog::WindowHandle parent, dialog::WindowProcedure procedure,
                              std::intptr_t creationParameter) override;
  void EndDialog(dialog::WindowHandle dialog, std::int32_t result) override;
  void SetUserData(dialog::WindowHandle window, std::intptr_t value) override;
  std::intptr_t UserData(dialog::WindowHandle window) override;
  void SetMessageResult(dialog::WindowHandle dialog, std::intptr_t value) override;

  dialog::WindowHandle DialogItem(dialog::WindowHandle dialog, std::int32_t id) override;
  std::int32_t ControlId(dialog::WindowHandle control) override;

  void SetText(dialog::WindowHandle control, std::string_view text) override;
  std::string Text(dialog::WindowHandle control) override;
  void Enable(dialog::WindowHandle control, bool enabled) override;
  std::int32_t IsEnabled(dialog::WindowHandle control) override;
  void SetCheck(dialog::WindowHandle control, std::int32_t state) override;
  std::int32_t Check(dialog::WindowHandle control) override;
  void SetSelection(dialog::WindowHandle edit, std::int32_t start, std::int32_t end) override;
  std::int32_t SelectionEnd(dialog::WindowHandle edit) override;

  void SetSpinRange(dialog::WindowHandle spin, std::int16_t lower, std::int16_t upper) override;
  void SetSpinPosition(dialog::WindowHandle spin, std::int32_t position) override;
  std::uint32_t SpinPosition(dialog::WindowHandle spin) override;
  std::uint32_t SpinRange(dialog::WindowHandle spin) override;

  void SetScrollInfo(dialog::WindowHandle bar, const dialog::ScrollInfo& info) override;
  dialog::ScrollInfo GetScrollInfo(dialog::WindowHandle bar) override;
  void SetScrollPosition(dialog::WindowHandle bar, std::int32_t position) override;
  void EnableScrollBar(dialog::WindowHandle bar, bool enabled) override;
  void SetSliderRange(dialog::WindowHandle s, std::int16_t lower, std::int16_t upper) override;
  void SetSliderPosition(dialog::WindowHandle s, std::int32_t v) override;
  void SetSliderLineSize(dialog::WindowHandle s, std::int32_t v) override;
  void SetSliderPageSize(dialog::WindowHandle s, std::int32_t v) override;
  void SetSliderTickFrequency(dialog::WindowHandle s, std::int32_t v) override;
  std::int32_t SliderPosition(dialog::WindowHandle s) override;
  std::int32_t SliderRangeMax(dialog::WindowHandle s) override;
  std::int32_t SliderRangeMin(dialog::WindowHandle s) override;
  std::int32_t SliderLineSize(dialog::WindowHandle s) override;
  std::int32_t SliderPageSize(dialog::WindowHandle s) override;
  void SetProgressRange(dialog::WindowHandle p, std::int16_t lower, std::int16_t upper) override;
  void SetProgressPosition(dialog::WindowHandle p, std::int32_t v) override;

  void ClearItems(dialog::WindowHandle list) override;
  void AddItem(dialog::WindowHandle list, std::string_view text) override;
  std::int32_t ItemCount(dialog::WindowHandle list) override;
  std::string ItemText(dialog::WindowHandle list, std::int32_t index) override;
  void SetCurrentItem(dialog::WindowHandle list, std::int32_t index) override;
  std::int32_t CurrentItem(dialog::WindowHandle list) override;

  void ShowMessage(std::string_view text, std::string_view caption) override;
  [[noreturn]] void EndProgram() override;

 private:
  dialog::ResourceTable& resources_;
  std::atomic<dialog::WindowHandle> frame_{nullptr};
  void* icon_ = nullptr;
};

// The innermost modal dialog the calling thread runs, or null.
dialog::WindowHandle InnermostDialog();

}  // namespace quorvane::host
