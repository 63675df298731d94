# Sanitizers apply to the whole build so that every object and the test runner agree.
if(LCDIAG_SANITIZE)
  set(lcdiag_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${lcdiag_sanitize_flags})
  add_link_options(${lcdiag_sanitize_flags})
endif()
