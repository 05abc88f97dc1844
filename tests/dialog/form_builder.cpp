#include "form_builder.h"

namespace quorvane::dialog {

FormBuilder::FormBuilder(bool extended) {
  dialog_.extended = extended;
  dialog_.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  dialog_.cx = 200;
  dialog_.cy = 100;
  dialog_.title = "Test form";
  dialog_.font = DialogFont{8, 0, 0, 0, "MS Sans Serif"};
}

FormBuilder& FormBuilder::Item(std::int32_t id, NameOrOrdinal windowClass, std::string caption,
                               std::uint32_t style) {
  DialogItemTemplate item;
  item.id = id;
  item.windowClass = std::move(windowClass);
  item.title.name = std::move(caption);
  item.style = style;
  item.cx = 40;
  item.cy = 14;
  dialog_.items.push_back(std::move(item));
  return *this;
}

void FormBuilder::Install(ResourceTable& table, std::int32_t templateId,
                          ModuleHandle module) const {
  table.Add(module, RT_DIALOG, templateId, WriteDialogTemplate(dialog_));
}

}  // namespace quorvane::dialog
