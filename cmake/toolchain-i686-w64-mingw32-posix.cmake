# The 32-bit Windows cross build of the unit tests: the `-posix` MinGW-w64
# compilers, whose C++ library has std::mutex and std::thread (GoogleTest
# and the tests use them); the programs use the default ones. The tests run
# under wine.
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-i686-w64-mingw32.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
