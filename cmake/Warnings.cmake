# Every target of ours links lcdiag_warnings; third-party code keeps its own flags.
add_library(lcdiag_warnings INTERFACE)
target_compile_options(lcdiag_warnings INTERFACE -Wall -Wextra -Wpedantic)
if(LCDIAG_WERROR)
  target_compile_options(lcdiag_warnings INTERFACE -Werror)
endif()
