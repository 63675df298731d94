cmake_minimum_required(VERSION 3.25)
# Fails when a C++ file of the project differs from what clang-format makes of it.
# Run with -DSOURCE_DIR=<repository root>.
find_program(CLANG_FORMAT clang-format REQUIRED)
set(files "")
foreach(folder src tests bench fuzz tools)
  file(GLOB_RECURSE found "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  list(APPEND files ${found})
endforeach()
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
                WORKING_DIRECTORY "${SOURCE_DIR}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Run clang-format -i on the files named above.")
endif()
