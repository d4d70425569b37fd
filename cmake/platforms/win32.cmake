# The 32-bit Windows program: the driver's OpenGL through WGL, waveOut for
# the sound.

set(HEDEN_PLATFORM_SOURCES platform/win32 platform/no_children)
set(HEDEN_PLATFORM_AUDIO waveout)
set(HEDEN_PLATFORM_AUDIO_LIB heden_audio_waveout)
# Windows keeps its driver's GL: no GL over ES.
set(HEDEN_PLATFORM_GLES OFF)
set(HEDEN_PLATFORM_THREADS platform/win32/thread.cpp)
set(HEDEN_PLATFORM_BLOBMAKER ON)
set(HEDEN_GL_LIBS opengl32)
enable_language(RC)
if(CMAKE_CROSSCOMPILING)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

function(heden_platform_libraries backend)
  target_link_libraries(${backend} PUBLIC opengl32 gdi32 user32)
endfunction()

# The manifest: DPI aware, so that Windows does not scale the picture.
function(heden_platform_program program)
  target_sources(${program} PRIVATE ${PROJECT_SOURCE_DIR}/src/platform/win32/heden.rc)
endfunction()
