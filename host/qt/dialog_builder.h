#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "dialog/dialog_template.h"
#include "host/qt/host_dialog.h"

class QWidget;

// Creates a dialog and its controls from a template: frame, caption and size
// from the header, one widget per item in template order (which is also tab,
// group and buddy order), rectangles mapped from dialog units.
namespace quorvane::host {

// The .ico bytes of an icon resource by ordinal, or nothing.
using IconLookup = std::function<std::optional<std::span<const std::uint8_t>>(std::uint16_t)>;

std::unique_ptr<HostDialog> BuildDialog(const dialog::DialogTemplate& form, QWidget* owner,
                                        NotificationSink& sink, dialog::ModuleHandle module,
                                        const IconLookup& icons);

}  // namespace quorvane::host
