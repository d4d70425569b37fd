# The layer rules catch what they are for: each fault below, planted in a
# copy of the sources, fails layer_rules.cmake, and the copy without one
# passes. Run as a test: cmake -DSOURCE_DIR=<repository> -DWORK_DIR=<dir> -P planted_faults.cmake
set(rules ${CMAKE_CURRENT_LIST_DIR}/layer_rules.cmake)

# plant(NAME FILE TEXT EXPECTED): appends TEXT to FILE (under src/) of a
# fresh copy and expects the rules to fail, saying EXPECTED; with FILE
# empty the copy is left as it is and must pass.
function(plant name file text expected)
  set(copy ${WORK_DIR}/${name})
  file(REMOVE_RECURSE ${copy})
  file(COPY ${SOURCE_DIR}/src ${SOURCE_DIR}/cmake DESTINATION ${copy})
  if(file)
    file(APPEND ${copy}/src/${file} "${text}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${copy} -P ${rules}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  file(REMOVE_RECURSE ${copy})
  string(REGEX REPLACE "[ \n]+" " " out "${out}")  # CMake wraps its messages
  if(NOT file AND NOT result EQUAL 0)
    message(SEND_ERROR "${name}: the sources as they are fail the rules:\n${out}")
  elseif(file AND (result EQUAL 0 OR NOT out MATCHES "${expected}"))
    message(SEND_ERROR "${name}: planted in src/${file}, not caught (expected `${expected}`):\n${out}")
  endif()
endfunction()

plant(clean "" "" "")
plant(indented_in_if log/log.cpp "#if 0\n  #include \"app/options.h\"\n#endif\n" "up from log to app")
plant(spaced config/xml.cpp "# include \"demo/precalc.h\"\n" "up from config to demo")
plant(extern_in_cpp mesh/mesh.cpp "extern float demo_time;\n" "extern declarations belong in headers")
plant(two_names log/log.h "extern int planted_a, planted_b;\n" "names declared extern")
