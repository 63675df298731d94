cmake_minimum_required(VERSION 3.25)
# Fails when a core source includes anything but the C++ standard library or another
# quoted project header. Run with -DCORE_DIR=<folder> -DSTAMP=<file>.
set(allowed_headers
  algorithm any array bit bitset cassert cctype cerrno charconv cinttypes climits cmath
  compare concepts cstddef cstdint cstdio cstdlib cstring cwchar cwctype deque exception
  expected filesystem format fstream functional initializer_list iomanip ios iosfwd iostream
  istream iterator limits list locale map memory memory_resource numeric optional ostream
  queue random ranges ratio set span sstream stack stdexcept streambuf string string_view
  system_error tuple type_traits typeinfo unordered_map unordered_set utility variant vector
  version)
file(GLOB_RECURSE sources "${CORE_DIR}/*.h" "${CORE_DIR}/*.cpp")
set(problems "")
foreach(source IN LISTS sources)
  file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*<")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*<([^>]*)>.*$" "\\1" header "${line}")
    if(NOT header IN_LIST allowed_headers)
      string(APPEND problems "\n  ${source}: <${header}>")
    endif()
  endforeach()
endforeach()
if(problems)
  message(FATAL_ERROR "The core uses the C++ standard library only (no Qt, OS or thread headers):${problems}")
endif()
file(TOUCH "${STAMP}")
