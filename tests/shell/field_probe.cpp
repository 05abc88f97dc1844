#include "shell/field_probe.h"

#include <chrono>
#include <filesystem>
#include <fstream>

namespace quorvane::shell::testing {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(20);

}  // namespace

FieldProbe::FieldProbe(dialog::WindowSystem& host, std::string path,
                       std::vector<std::int32_t> fields, std::vector<std::int32_t> buttons)
    : host_(host),
      path_(std::move(path)),
      fields_(std::move(fields)),
      buttons_(std::move(buttons)) {
  watcher_ = std::thread([this] { Watch(); });
}

FieldProbe::~FieldProbe() {
  stopping_ = true;
  watcher_.join();
}

std::int32_t FieldProbe::RunModalDialog(dialog::ModuleHandle module, std::int32_t templateId,
                                        dialog::WindowHandle parent,
                                        dialog::WindowProcedure procedure,
                                        std::intptr_t creationParameter) {
  return host_.RunModalDialog(module, templateId, parent, procedure, creationParameter);
}

void FieldProbe::EndDialog(dialog::WindowHandle d, std::int32_t result) {
  {
    std::lock_guard lock(mutex_);
    windows_.clear();
  }
  host_.EndDialog(d, result);
}

dialog::WindowHandle FieldProbe::DialogItem(dialog::WindowHandle dialog, std::int32_t id) {
  dialog::WindowHandle item = host_.DialogItem(dialog, id);
  if (item != nullptr) {
    std::lock_guard lock(mutex_);
    windows_[id] = item;
  }
  return item;
}

// One line per field, "id=text", in the order the fields were given, then one
// line of the buttons' check states; a control whose window is not known yet
// shows as "id?". The texts are read without
// the lock: reading one may wait for the thread that runs the form.
std::string FieldProbe::Snapshot() {
  std::map<std::int32_t, dialog::WindowHandle> known;
  {
    std::lock_guard lock(mutex_);
    known = windows_;
  }
  // The marks appended apart from the values: GCC 12 at -O2 takes "=" + a
  // temporary for an overlapping copy and warns (-Wrestrict, its bug 105651).
  std::string lines;
  for (std::int32_t id : fields_) {
    auto found = known.find(id);
    lines += std::to_string(id);
    if (found == known.end()) {
      lines += '?';
    } else {
      lines += '=';
      lines += host_.Text(found->second);
    }
    lines += '\n';
  }
  for (std::int32_t id : buttons_) {
    auto found = known.find(id);
    lines += std::to_string(id);
    if (found == known.end()) {
      lines += '?';
    } else {
      lines += '#';
      lines += std::to_string(host_.Check(found->second));
    }
    lines += ' ';
  }
  return lines + '\n';
}

void FieldProbe::Watch() {
  std::string written;
  const std::string partial = path_ + ".partial";
  while (!stopping_) {
    std::string now = Snapshot();
    if (now != written) {
      {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << now;
      }
      std::error_code error;
      std::filesystem::rename(partial, path_, error);
      if (!error) written = std::move(now);
    }
    std::this_thread::sleep_for(kPollInterval);
  }
}

}  // namespace quorvane::shell::testing
