#pragma once

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "dialog/window_system.h"

// A test build's window of the calculator's fields from outside: stands
// between the runtime and the real host, learns the fields' windows as the
// runtime asks for them, and keeps a file holding every field's text and every
// button's check state, rewritten whenever one changes. Tests that drive the program with real
// input read the file; the shipped program never contains this.
namespace quorvane::shell::testing {

class FieldProbe final : public dialog::WindowSystem {
 public:
  FieldProbe(dialog::WindowSystem& host, std::string path, std::vector<std::int32_t> fields,
             std::vector<std::int32_t> buttons);
  ~FieldProbe() override;
  FieldProbe(const FieldProbe&) = delete;
  FieldProbe& operator=(const FieldProbe&) = delete;

  std::optional<std::span<const std::uint8_t>> FindResource(dialog::ModuleHandle module,
                                                            std::int32_t type,
                                                            std::int32_t id) override {
    return host_.FindResource(module, type, id);
  }
  dialog::ModuleHandle WindowModule(dialog::WindowHandle w) override {
    return host_.WindowModule(w);
  }
  dialog::WindowHandle DefaultParent() override { return host_.DefaultParent(); }
  std::int32_t RunModalDialog(dialog::ModuleHandle module, std::int32_t templateId,
                              dialog::WindowHandle parent, dialog::WindowProcedure procedure,
                              std::intptr_t creationParameter) override;
  void EndDialog(dialog::WindowHandle d, std::int32_t result) override;
  void SetUserData(dialog::WindowHandle w, std::intptr_t v) override { host_.SetUserData(w, v); }
  std::intptr_t UserData(dialog::WindowHandle w) override { return host_.UserData(w); }
  void SetMessageResult(dialog::WindowHandle d, std::intptr_t v) override {
    host_.SetMessageResult(d, v);
  }
  dialog::WindowHandle DialogItem(dialog::WindowHandle dialog, std::int32_t id) override;
  std::int32_t ControlId(dialog::WindowHandle c) override { return host_.ControlId(c); }
  void SetText(dialog::WindowHandle c, std::string_view text) override { host_.SetText(c, text); }
  std::string Text(dialog::WindowHandle c) override { return host_.Text(c); }
  void Enable(dialog::WindowHandle c, bool e) override { host_.Enable(c, e); }
  std::int32_t IsEnabled(dialog::WindowHandle c) override { return host_.IsEnabled(c); }
  void SetCheck(dialog::WindowHandle c, std::int32_t s) override { host_.SetCheck(c, s); }
  std::int32_t Check(dialog::WindowHandle c) override { return host_.Check(c); }
  void SetSelection(dialog::WindowHandle e, std::int32_t s, std::int32_t end) override {
    host_.SetSelection(e, s, end);
  }
  std::int32_t SelectionEnd(dialog::WindowHandle e) override { return host_.SelectionEnd(e); }
  void SetSpinRange(dialog::WindowHandle s, std::int16_t l, std::int16_t u) override {
    host_.SetSpinRange(s, l, u);
  }
  void SetSpinPosition(dialog::WindowHandle s, std::int32_t p) override {
    host_.SetSpinPosition(s, p);
  }
  std::uint32_t SpinPosition(dialog::WindowHandle s) override { return host_.SpinPosition(s); }
  std::uint32_t SpinRange(dialog::WindowHandle s) override { return host_.SpinRange(s); }
  void ShowMessage(std::string_view text, std::string_view caption) override {
    host_.ShowMessage(text, caption);
  }
  [[noreturn]] void EndProgram() override {
    host_.EndProgram();
    std::abort();
  }

 private:
  void Watch();
  std::string Snapshot();

  dialog::WindowSystem& host_;
  std::string path_;
  std::vector<std::int32_t> fields_;
  std::vector<std::int32_t> buttons_;
  std::mutex mutex_;
  std::map<std::int32_t, dialog::WindowHandle> windows_;  // by control id
  std::atomic<bool> stopping_{false};
  std::thread watcher_;
};

}  // namespace quorvane::shell::testing
