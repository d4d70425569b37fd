# The layer rules of src/, run as a test: cmake -DSOURCE_DIR=<repository> -P layer_rules.cmake
# Fails on an include of a header from a layer above the including folder
# (indented or inside an #if too), on a library linking one above its own,
# on an `extern` declaration in a .cpp file, and on more names declared
# `extern` in the headers than cmake/layers.cmake allows.
include(${SOURCE_DIR}/cmake/layers.cmake)
function(fault message)
  message(SEND_ERROR "${message}")
endfunction()

# A fault when `folder` is no layer or one above `own`, the layer of `file`.
function(check_reach own folder file what)
  list(FIND HEDEN_LAYERS "${folder}" place)
  list(FIND HEDEN_LAYERS "${own}" own_place)
  if(place LESS 0 OR place GREATER own_place)
    file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
    fault("${name}: ${what}, up from ${own} to ${folder}")
  endif()
endfunction()

# Every include of a folder's header, however it is indented or spaced.
set(include_line "^[ \t]*#[ \t]*include[ \t]*\"([a-z0-9_]+)/")

foreach(layer IN LISTS HEDEN_LAYERS)
  file(GLOB_RECURSE sources ${SOURCE_DIR}/src/${layer}/*.h ${SOURCE_DIR}/src/${layer}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "${include_line}")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "${include_line}.*" "\\1" folder "${line}")
      string(STRIP "${line}" shown)
      check_reach(${layer} ${folder} ${source} "${shown}")
    endforeach()
  endforeach()

  file(GLOB_RECURSE lists ${SOURCE_DIR}/src/${layer}/CMakeLists.txt)
  foreach(list_file IN LISTS lists)
    file(READ ${list_file} text)
    string(REGEX MATCHALL "target_link_libraries\\([^)]*\\)" links "${text}")
    foreach(link IN LISTS links)
      # What the first argument, the library that links, links.
      string(REGEX REPLACE "^target_link_libraries\\([^ ]+" "" linked "${link}")
      string(REGEX MATCHALL "heden_[a-z0-9]+" libraries "${linked}")
      foreach(library IN LISTS libraries)
        string(REGEX REPLACE "^heden_" "" folder ${library})
        check_reach(${layer} ${folder} ${list_file} "links ${library}")
      endforeach()
    endforeach()
  endforeach()
endforeach()

# A process-wide name is declared in the header of its folder, where it is
# counted, never in a .cpp that reaches into another file (extern "C" only
# gives a function C linkage).
file(GLOB_RECURSE cpp_files ${SOURCE_DIR}/src/*.cpp)
foreach(cpp IN LISTS cpp_files)
  file(STRINGS ${cpp} lines REGEX "^[ \t]*extern[ \t]")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^[ \t]*extern[ \t]+\"C\"")
      file(RELATIVE_PATH name ${SOURCE_DIR} ${cpp})
      string(STRIP "${line}" shown)
      fault("${name}: `${shown}`: extern declarations belong in headers")
    endif()
  endforeach()
endforeach()

# Names, not lines: `extern Mesh a, b;` declares two.
file(GLOB_RECURSE headers ${SOURCE_DIR}/src/*.h)
set(externs 0)
foreach(header IN LISTS headers)
  file(STRINGS ${header} lines REGEX "^[ \t]*extern[ \t]")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "//.*" "" line "${line}")
    string(REGEX REPLACE "<[^<>]*>" "" line "${line}")  # commas of template arguments
    string(REGEX REPLACE "\\[[^]]*\\]" "" line "${line}")
    string(REGEX MATCHALL "," commas "${line}")
    list(LENGTH commas n)
    math(EXPR externs "${externs} + ${n} + 1")
  endforeach()
endforeach()
if(externs GREATER HEDEN_EXTERN_LIMIT)
  fault("${externs} names declared extern in src/ headers, more than the ${HEDEN_EXTERN_LIMIT} allowed")
endif()
message(STATUS "layers: ${HEDEN_LAYERS}; ${externs} names declared extern")
