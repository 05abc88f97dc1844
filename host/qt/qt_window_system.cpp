#include "host/qt/qt_window_system.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QWidget>

#include "dialog/dialog_template.h"
#include "host/qt/dialog_builder.h"

namespace quorvane::host {
namespace {

dialog::WindowHandle ToHandle(std::uintptr_t handle) {
  return reinterpret_cast<dialog::WindowHandle>(handle);
}

std::uintptr_t FromHandle(dialog::WindowHandle window) {
  return reinterpret_cast<std::uintptr_t>(window);
}

}  // namespace

QtWindowSystem::QtWindowSystem(dialog::ResourceTable& resources)
    : resources_(resources),
      guiThread_(QThread::currentThread()),
      guiContext_(std::make_unique<QObject>()),
      serializer_(std::make_unique<InputSerializer>([](QObject* receiver) {
        auto* widget = qobject_cast<QWidget*>(receiver);
        return widget && qobject_cast<HostDialog*>(widget->window()) != nullptr;
      })) {}

QtWindowSystem::~QtWindowSystem() {
  for (auto& run : runs_) {
    if (HostDialog* dialog = FindDialog(ToHandle(run->handle))) {
      run->destroyed = true;
      delete dialog;
    }
  }
}

void QtWindowSystem::SetDefaultParent(QWidget* frame) {
  if (const std::uintptr_t old = frameHandle_.exchange(0)) {
    windows_.erase(old);
    views_.Remove(old);
  }
  if (!frame) return;
  const std::uintptr_t handle = Register(WindowEntry{nullptr, nullptr, frame});
  views_.Put(handle, WindowView{});
  frameHandle_ = handle;
}

bool QtWindowSystem::OnGuiThread() const {
  return QThread::currentThread() == guiThread_;
}

void QtWindowSystem::Perform(const std::function<void()>& operation) {
  std::vector<QueuedMessage> collected;
  auto onGui = [&] {
    std::vector<QueuedMessage>* saved = collecting_;
    collecting_ = &collected;
    operation();
    collecting_ = saved;
  };
  if (OnGuiThread()) {
    onGui();
  } else {
    ++programOperations_;
    QMetaObject::invokeMethod(
        guiContext_.get(),
        [&] {
          // The program is running code, so input for its dialogs waits.
          ++guiGeneration_;
          serializer_->SetBusy();
          onGui();
        },
        Qt::BlockingQueuedConnection);
  }
  DeliverCollected(collected);
}

void QtWindowSystem::Emit(HostDialog& dialog, const dialog::WindowMessage& message,
                          const std::optional<dialog::WindowMessage>& fallback) {
  std::shared_ptr<ModalRun> run;
  for (auto& open : runs_) {
    if (open->handle == dialog.handle) run = open;
  }
  if (!run) return;
  QueuedMessage queued{run, message, fallback};
  if (collecting_) {
    collecting_->push_back(std::move(queued));
    return;
  }
  std::vector<QueuedMessage> single{std::move(queued)};
  DeliverCollected(single);
}

void QtWindowSystem::DeliverCollected(std::vector<QueuedMessage>& collected) {
  for (QueuedMessage& queued : collected) {
    if (queued.run->onGuiThread == OnGuiThread()) {
      DeliverMessage(queued);
    } else if (queued.run->onGuiThread) {
      QMetaObject::invokeMethod(
          guiContext_.get(), [queued] { DeliverMessage(queued); }, Qt::QueuedConnection);
    } else if (!queued.run->ended) {
      ++guiGeneration_;
      serializer_->SetBusy();
      queue_.Post(std::move(queued));
    }
  }
}

void QtWindowSystem::OnProgramIdle(std::uint64_t generation) {
  if (generation == guiGeneration_) serializer_->SetIdle();
}

bool QtWindowSystem::IsIdle() const {
  return !serializer_->IsBusy() && !serializer_->HasHeldInput();
}

std::int32_t QtWindowSystem::RunModalDialog(dialog::ModuleHandle module, std::int32_t templateId,
                                            dialog::WindowHandle parent,
                                            dialog::WindowProcedure procedure,
                                            std::intptr_t creationParameter) {
  if (procedure == nullptr) return -1;
  auto run = std::make_shared<ModalRun>();
  run->procedure = procedure;
  run->onGuiThread = OnGuiThread();
  bool created = false;
  Perform([&] { created = CreateDialog(module, templateId, parent, run); });
  if (!created) return -1;
  const dialog::WindowHandle window = ToHandle(run->handle);

  const bool focusFirst =
      procedure(window, {dialog::Message::InitDialog, 0, creationParameter}) != 0;
  if (!run->ended) Perform([&] { ShowDialog(*run, focusFirst); });
  RunLoop(*run);
  procedure(window, {dialog::Message::Destroy, 0, 0});
  Perform([&] { DestroyDialog(*run); });
  return run->result;
}

void QtWindowSystem::RunLoop(ModalRun& run) {
  if (run.onGuiThread) {
    while (!run.ended) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return;
  }
  const auto idle = [this](std::uint64_t taken) {
    const std::uint64_t generation = taken + programOperations_.load();
    QMetaObject::invokeMethod(
        guiContext_.get(), [this, generation] { OnProgramIdle(generation); }, Qt::QueuedConnection);
  };
  while (!run.ended) {
    std::optional<QueuedMessage> next = queue_.Take(run, idle);
    if (!next) break;
    // Whatever reached an ended dialog is dropped with it.
    if (!next->run->ended) DeliverMessage(*next);
  }
}

bool QtWindowSystem::CreateDialog(dialog::ModuleHandle module, std::int32_t templateId,
                                  dialog::WindowHandle parent,
                                  const std::shared_ptr<ModalRun>& run) {
  const auto bytes = resources_.Find(module, dialog::RT_DIALOG, templateId);
  if (!bytes) return false;
  const auto form = dialog::ReadDialogTemplate(*bytes);
  if (!form) return false;
  const IconLookup icons = [this, module](std::uint16_t ordinal) {
    return resources_.Find(module, dialog::RT_GROUP_ICON, ordinal);
  };
  HostDialog* built = BuildDialog(*form, OwnerWidget(parent), *this, module, icons).release();
  built->handle = Register(WindowEntry{built, nullptr, nullptr});
  std::vector<std::uintptr_t> handles{built->handle};
  WindowView dialogView;
  dialogView.module = module;
  for (auto& control : built->controls) {
    control->handle = Register(WindowEntry{nullptr, control.get(), nullptr});
    handles.push_back(control->handle);
    dialogView.items.emplace_back(control->id, control->handle);
    WindowView view;
    view.dialog = built->handle;
    view.id = control->id;
    view.module = module;
    views_.Put(control->handle, std::move(view));
    RefreshView(*control);
  }
  views_.Put(built->handle, std::move(dialogView));
  RefreshView(*built);
  // An owner that goes first takes the dialog with it; its handles go too.
  QObject::connect(built, &QObject::destroyed, guiContext_.get(), [this, handles] {
    for (const std::uintptr_t handle : handles) {
      windows_.erase(handle);
      views_.Remove(handle);
    }
  });
  run->handle = built->handle;
  runs_.push_back(run);
  return true;
}

void QtWindowSystem::ShowDialog(const ModalRun& run, bool focusFirst) {
  HostDialog* dialog = FindDialog(ToHandle(run.handle));
  if (!dialog) return;
  dialog->setWindowModality(Qt::ApplicationModal);
  if (focusFirst) dialog->FocusFirstTabStop();
  dialog->show();
  dialog->activateWindow();
}

void QtWindowSystem::DestroyDialog(ModalRun& run) {
  run.destroyed = true;
  std::erase_if(runs_, [&](const auto& open) { return open.get() == &run; });
  delete FindDialog(ToHandle(run.handle));
  // With no modal loop left there is no dialog whose input could wait.
  if (runs_.empty()) serializer_->SetIdle();
}

std::uintptr_t QtWindowSystem::Register(WindowEntry entry) {
  const std::uintptr_t handle = nextHandle_++;
  windows_[handle] = std::move(entry);
  return handle;
}

QtWindowSystem::WindowEntry* QtWindowSystem::Find(dialog::WindowHandle window) {
  const auto found = windows_.find(FromHandle(window));
  return found == windows_.end() ? nullptr : &found->second;
}

HostDialog* QtWindowSystem::FindDialog(dialog::WindowHandle window) {
  WindowEntry* entry = Find(window);
  return entry ? entry->dialog : nullptr;
}

HostControl* QtWindowSystem::FindControl(dialog::WindowHandle window) {
  WindowEntry* entry = Find(window);
  return entry ? entry->control : nullptr;
}

QWidget* QtWindowSystem::OwnerWidget(dialog::WindowHandle parent) {
  if (WindowEntry* entry = parent ? Find(parent) : nullptr) {
    if (entry->dialog) return entry->dialog;
    if (entry->control) return entry->control->widget->window();
    if (entry->frame) return entry->frame;
  }
  WindowEntry* frame = Find(ToHandle(frameHandle_));
  return frame ? frame->frame.data() : nullptr;
}

QWidget* QtWindowSystem::Widget(dialog::WindowHandle window) {
  WindowEntry* entry = Find(window);
  if (!entry) return nullptr;
  if (entry->dialog) return entry->dialog;
  if (entry->control) return entry->control->widget;
  return entry->frame;
}

dialog::WindowHandle QtWindowSystem::ActiveDialog() {
  for (auto run = runs_.rbegin(); run != runs_.rend(); ++run) {
    if (!(*run)->ended) return ToHandle((*run)->handle);
  }
  return nullptr;
}

dialog::WindowHandle QtWindowSystem::DefaultParent() {
  return ToHandle(frameHandle_);
}

}  // namespace quorvane::host
