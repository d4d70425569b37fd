# Included by tests/CMakeLists.txt in the 32-bit Windows cross build. Every
# test program runs once under wine (one wine start per program, not per
# test case: starting wine is what takes the time).
function(heden_unit_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  heden_link(${name} heden_fake_platform ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS "unit;wine" TIMEOUT 300)
endfunction()

# Windows on the X display need the generated pool: native builds only.
function(heden_display_test name)
endfunction()

add_subdirectory(log)
add_subdirectory(config)
add_subdirectory(data)
add_subdirectory(image)
add_subdirectory(mesh)
add_subdirectory(lwo)
add_subdirectory(iso)
add_subdirectory(gl)
add_subdirectory(shader)
add_subdirectory(platform/win32)
add_subdirectory(audio/waveout)
