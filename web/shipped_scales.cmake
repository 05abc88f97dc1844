# Writes OUT, a C++ source holding the text of every scale file in FOLDER,
# for web/shipped_scales.h. Run as a script so that a changed scale file
# rebuilds the core.
file(GLOB scale_files ${FOLDER}/*.json)
list(SORT scale_files)
set(entries "")
foreach(scale_file IN LISTS scale_files)
  get_filename_component(scale_name ${scale_file} NAME_WE)
  file(READ ${scale_file} scale_text)
  string(APPEND entries "    {\"${scale_name}\", R\"quorvane_scale(${scale_text})quorvane_scale\"},\n")
endforeach()
file(WRITE ${OUT}.new "// Written by web/shipped_scales.cmake from scales/*.json.\n"
  "#include \"web/shipped_scales.h\"\n\n"
  "namespace quorvane::web {\n\n"
  "std::span<const ShippedScaleText> ShippedScaleTexts() {\n"
  "  static constexpr ShippedScaleText kScales[] = {\n${entries}  };\n"
  "  return kScales;\n}\n\n}  // namespace quorvane::web\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUT}.new ${OUT})
