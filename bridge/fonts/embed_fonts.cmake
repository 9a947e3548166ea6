# SPDX-License-Identifier: GPL-3.0-or-later
# Writes OUT, a C++ source holding the font files FONTS (a ;-list of
# NAME=PATH) as byte arrays, so every build draws text with the same fonts
# whatever is installed where it runs. Run with cmake -P.
set(body "// Generated from the DejaVu fonts by embed_fonts.cmake; do not edit.\n")
string(APPEND body "#include \"font_files.h\"\n\nnamespace korvane {\n\nnamespace {\n")
set(table "")
foreach(entry IN LISTS FONTS)
  string(REPLACE "=" ";" pair "${entry}")
  list(GET pair 0 name)
  list(GET pair 1 path)
  file(READ "${path}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # Line breaks keep the generated lines a sane length for the compiler.
  string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
  string(APPEND body "const unsigned char kDejaVu${name}[] = {\n${bytes}};\n")
  string(APPEND table "    {kDejaVu${name}, sizeof kDejaVu${name}},\n")
endforeach()
string(APPEND body "\n}  // namespace\n\nconst FontFile kFontFiles[kFontCount] = {\n${table}};\n\n}  // namespace korvane\n")
file(WRITE "${OUT}.tmp" "${body}")
file(RENAME "${OUT}.tmp" "${OUT}")
