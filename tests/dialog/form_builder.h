#pragma once

#include <cstdint>
#include <string>

#include "dialog/dialog_template.h"
#include "dialog/resources.h"
#include "dialog/window_styles.h"

// Short declarations of test templates.
namespace quorvane::dialog {

inline constexpr std::uint32_t kChildStyle = WS_CHILD | WS_VISIBLE;

class FormBuilder {
 public:
  explicit FormBuilder(bool extended = true);

  FormBuilder& Item(std::int32_t id, NameOrOrdinal windowClass, std::string caption,
                    std::uint32_t style);
  FormBuilder& Atom(std::int32_t id, std::uint16_t atom, std::string caption, std::uint32_t style) {
    NameOrOrdinal windowClass;
    windowClass.ordinal = atom;
    return Item(id, windowClass, std::move(caption), style);
  }
  FormBuilder& Named(std::int32_t id, std::string name, std::uint32_t style) {
    NameOrOrdinal windowClass;
    windowClass.name = std::move(name);
    return Item(id, windowClass, {}, style);
  }
  FormBuilder& Edit(std::int32_t id, std::uint32_t extraStyle = 0) {
    return Atom(id, kEditAtom, {},
                kChildStyle | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | extraStyle);
  }
  FormBuilder& Static(std::int32_t id, std::string caption, std::uint32_t extraStyle = 0) {
    return Atom(id, kStaticAtom, std::move(caption), kChildStyle | extraStyle);
  }
  FormBuilder& Button(std::int32_t id, std::string caption, std::uint32_t type,
                      std::uint32_t extraStyle = 0) {
    return Atom(id, kButtonAtom, std::move(caption), kChildStyle | type | extraStyle);
  }
  FormBuilder& Radio(std::int32_t id, std::string caption, std::uint32_t extraStyle = 0) {
    return Button(id, std::move(caption), BS_AUTORADIOBUTTON, extraStyle);
  }
  FormBuilder& Spinner(std::int32_t id) {
    return Named(id, kUpDownClass,
                 kChildStyle | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS);
  }
  FormBuilder& Title(std::string title) {
    dialog_.title = std::move(title);
    return *this;
  }

  const DialogTemplate& Template() const { return dialog_; }
  // Adds the template to the table as dialog templateId of module.
  void Install(ResourceTable& table, std::int32_t templateId,
               ModuleHandle module = kProgramModule) const;

 private:
  DialogTemplate dialog_;
};

}  // namespace quorvane::dialog
