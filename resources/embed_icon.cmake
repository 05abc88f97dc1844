# cmake -DINPUT=<.ico> -DOUTPUT=<.cpp> -P embed_icon.cmake
# Writes the icon's bytes as a C++ array so the program needs no file at run time.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from quorvane.ico by embed_icon.cmake.\n"
"#include \"resources/program_icon.h\"\n\n"
"namespace quorvane::resources {\nnamespace {\n"
"const std::uint8_t kIconBytes[] = {${bytes}};\n"
"}  // namespace\n\n"
"std::span<const std::uint8_t> ProgramIconBytes() { return kIconBytes; }\n\n"
"}  // namespace quorvane::resources\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
