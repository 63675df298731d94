# Every target of ours links lcdiag_warnings; third-party code keeps its own flags.
add_library(lcdiag_warnings INTERFACE)
target_compile_options(lcdiag_warnings INTERFACE -Wall -Wextra -Wpedantic)
if(LCDIAG_WERROR)
  target_compile_options(lcdiag_warnings INTERFACE -Werror)
endif()
# GCC 12's optimiser reports overlapping copies inside std::string concatenation that cannot
# happen (a known false positive of -Wrestrict at -O2 and above); the release build would
# otherwise stop on correct code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(lcdiag_warnings INTERFACE -Wno-restrict)
endif()
