# KX_SANITIZE: sanitizers for every target of the build, as a list, e.g. "address;undefined" or
# "thread". Empty (the default) builds without them.
set(KX_SANITIZE "" CACHE STRING "Sanitizers for every target: address;undefined, or thread")
if(KX_SANITIZE)
  if(KX_FUZZ)
    message(FATAL_ERROR "KX_SANITIZE and KX_FUZZ each choose the sanitizers; use one of them")
  endif()
  list(JOIN KX_SANITIZE "," kx_sanitizers)
  add_compile_options(-fsanitize=${kx_sanitizers} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  # The sanitizers' checks hide value ranges from GCC, which then warns that snprintf output
  # may be cut short where the plain build proves it cannot be.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-format-truncation)
  endif()
  add_link_options(-fsanitize=${kx_sanitizers})
endif()
