# Shared build helpers.
#
# Every portable library is a static library made with heden_library().
# Portable libraries call the platform seam (src/platform/platform.h) but do not
# link a backend: the program links the real backend, the tests link the fake.
# Static libraries resolve in link order, so programs link the portable
# libraries from the top of the layering down and the backend last.

set(HEDEN_WARNINGS -Wall -Wextra -Wshadow -Wno-unused-parameter)

if(HEDEN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Fuzzing: everything but fuzz_coverage_ignore.txt is instrumented for
# coverage; only the fuzz targets link libFuzzer's driver.
if(HEDEN_FUZZ)
  add_compile_options(-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined -fno-omit-frame-pointer
                      -fsanitize-coverage-ignorelist=${CMAKE_CURRENT_LIST_DIR}/fuzz_coverage_ignore.txt)
  add_link_options(-fsanitize=address,undefined)
endif()

function(heden_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${HEDEN_WARNINGS})
endfunction()

# Links `target` with the given portable libraries (top layer first) and then
# the platform backend, so that every seam call resolves.
function(heden_link target backend)
  target_link_libraries(${target} PRIVATE ${ARGN} ${backend})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${target} PRIVATE ${HEDEN_WARNINGS})
endfunction()
