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

DialogTemplate CalculatorLikeTemplate() {
  constexpr std::uint32_t kLabel = SS_LEFT | WS_GROUP;
  constexpr std::uint32_t kNote = SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN | WS_GROUP;
  FormBuilder form;
  form.Title("Quorvane v6.0")
      .Button(8, "Exit", BS_PUSHBUTTON, WS_TABSTOP)
      .Static(1003, "Pressure", kLabel)
      .Edit(1000)
      .Button(1005, "Pressure-Volume-Temperature", BS_GROUPBOX)
      .Static(1004, "Volume", kLabel)
      .Edit(1001)
      .Static(-1, "V/V(0,0)", kLabel)
      .Edit(1002)
      .Button(1006, "EoS Parameters", BS_GROUPBOX)
      .Static(1007, "Vo", kLabel)
      .Edit(1008)
      .Static(1009, "Ko", kLabel)
      .Edit(1010)
      .Static(1011, "K'o", kLabel)
      .Edit(1012)
      .Static(1016, "Precision", kLabel)
      .Button(1017, "Display Control", BS_GROUPBOX)
      .Radio(1021, "Murnaghan")
      .Radio(1022, "Birch-Murnaghan")
      .Radio(1023, "Vinet")
      .Radio(1024, "Natural strain")
      .Button(-1, "Eos Type", BS_GROUPBOX)
      .Radio(1025, "2nd", WS_GROUP)
      .Radio(1026, "3rd")
      .Radio(1027, "4th")
      .Button(1028, "Eos Order", BS_GROUPBOX)
      .Static(1029, "Quorvane equation-of-state calculator", kNote)
      .Static(1030, "K''o", kLabel)
      .Edit(1031)
      .Static(1033, "Implied values in gray", kNote)
      .Edit(1038, ES_NUMBER)
      .Spinner(1039)
      .Static(1041, "V/V(T,0)", kLabel)
      .Edit(1043)
      .Static(1013, "alpha0 x 10^5", kLabel)
      .Edit(1014)
      .Static(1015, "alpha1 x10^8", kLabel)
      .Edit(1018)
      .Static(1019, "T(ref)", kLabel)
      .Edit(1020)
      .Static(1051, "V(T,0)", kLabel)
      .Edit(1032)
      .Static(1034, "dK/dT", kLabel)
      .Edit(1035)
      .Static(1036, "Temperature", kLabel)
      .Edit(1037);
  DialogTemplate dialog = form.Template();
  DialogItemTemplate icon;
  icon.id = -1;
  icon.windowClass.ordinal = kStaticAtom;
  icon.title.ordinal = 107;
  icon.style = kChildStyle | SS_ICON;
  dialog.items.push_back(icon);
  dialog.items[26].exStyle = WS_EX_TRANSPARENT;  // the credit line
  return dialog;
}

}  // namespace quorvane::dialog
