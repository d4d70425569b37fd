# The Linux program on X11: GLX, or OpenGL ES through EGL with --gl es; ALSA
# for the sound.

# The backend's folders under src/: its own, and the ES window system it
# shares with the page.
set(HEDEN_PLATFORM_SOURCES platform/x11 platform/es)
# The sound output: src/audio/<name>/, whose library is heden_audio_<name>.
# Headless whole-demo runs (sanitizer runs, soaks) play into the paced null
# device instead: the real audio thread at real speed without a sound card.
set(HEDEN_PLATFORM_AUDIO alsa)
set(HEDEN_PLATFORM_AUDIO_LIB heden_audio_alsa)
if(HEDEN_NULL_SOUND)
  set(HEDEN_PLATFORM_AUDIO_LIB heden_audio_null_default)
endif()
# GL 1.x over OpenGL ES (src/gles) is built, and the programs route the GL
# 1.x names through it.
set(HEDEN_PLATFORM_GLES ON)
# The fake platform of the unit tests runs real threads: the backend's.
set(HEDEN_PLATFORM_THREADS platform/x11/thread.cpp)
# The archive maker records blob.dat here.
set(HEDEN_PLATFORM_BLOBMAKER ON)

# OpenGL 1.1 is called directly from portable code.
if(HEDEN_LINUX_PACKAGE)
  # libGL.so.1 is on every machine with OpenGL (GLX included); glvnd's
  # libOpenGL.so.0 is a package of its own that a desktop may lack.
  set(OpenGL_GL_PREFERENCE LEGACY)
  find_package(OpenGL REQUIRED)
  set(HEDEN_GL_LIBS OpenGL::GL)
  # The package runs on other distributions: the C++ runtime goes into the
  # program, the system's C library, X11, GL and ALSA stay shared. Unused
  # sections are dropped: libstdc++'s std::random_device comes along with its
  # string code and would otherwise need glibc 2.36 (arc4random) for nothing.
  add_link_options(-static-libgcc -static-libstdc++ -Wl,--gc-sections)
else()
  find_package(OpenGL REQUIRED COMPONENTS OpenGL GLX)
  set(HEDEN_GL_LIBS OpenGL::GL OpenGL::GLX)
endif()

# What the backend links: X11, GL, and for --gl es the GL library and libEGL
# (opened at run time).
function(heden_platform_libraries backend)
  find_package(X11 REQUIRED)
  target_link_libraries(${backend} PUBLIC X11::X11 X11::Xrandr ${HEDEN_GL_LIBS} heden_gles ${CMAKE_DL_LIBS})
endfunction()

function(heden_platform_program program)
  heden_gles_route(${program})
endfunction()
