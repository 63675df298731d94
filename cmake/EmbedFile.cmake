cmake_minimum_required(VERSION 3.25)
# Turns a data file into a C++ source that defines its bytes, so that the file stays the
# single source of the data. Run with -DINPUT=<file> -DOUTPUT=<file.cpp> -DSYMBOL=<name>;
# defines lcdiag::<name>[] (unsigned char, NUL appended) and lcdiag::<name>Size (without it).
file(READ "${INPUT}" content HEX)
string(LENGTH "${content}" hex_length)
math(EXPR size "${hex_length} / 2")
set(bytes "")
foreach(offset RANGE 0 ${hex_length} 32)
  string(SUBSTRING "${content}" ${offset} 32 row)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," row "${row}")
  string(APPEND bytes "${row}\n    ")
endforeach()
file(WRITE "${OUTPUT}.new"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <cstddef>\n\n"
  "namespace lcdiag {\n"
  "extern const unsigned char ${SYMBOL}[];\n"
  "extern const std::size_t ${SYMBOL}Size;\n"
  "const unsigned char ${SYMBOL}[] = {\n    ${bytes}0x00};\n"
  "const std::size_t ${SYMBOL}Size = ${size};\n"
  "} // namespace lcdiag\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
