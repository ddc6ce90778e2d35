# Warnings for the project's own code: on, and errors.
function(kx_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
    -Wno-sign-conversion -Werror)
endfunction()

# A core library: plain C++, never Qt.
function(kx_core_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  kx_warnings(${name})
  if(KX_FUZZ)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer-no-link,address,undefined
      -fno-sanitize-recover=all)
  endif()
endfunction()
