# The page: WebGL 2 through the GL library over OpenGL ES, Web Audio for the
# sound, in a canvas of our own page (web/index.html).

set(HEDEN_PLATFORM_SOURCES platform/web platform/es platform/no_children)
set(HEDEN_PLATFORM_AUDIO web)
set(HEDEN_PLATFORM_AUDIO_LIB heden_audio_web)
# There is no desktop GL: the GL library defines the GL 1.x names itself.
set(HEDEN_PLATFORM_GLES ON)
set(HEDEN_GL_LIBS "")
set(HEDEN_PLATFORM_THREADS "")
# The page plays the blob.dat a desktop build recorded.
set(HEDEN_PLATFORM_BLOBMAKER OFF)

function(heden_platform_libraries backend)
  target_link_libraries(${backend} PUBLIC heden_gles)
endfunction()

# The page's program: WebAssembly and its JavaScript loader, no HTML (the
# page is web/index.html). The portable main loop stays as it is: its waits
# (the swap, the message wait, sleeps) hand the browser its turn through
# Asyncify, and the swap waits for the next animation frame. config.xml
# rides inside; blob.dat is fetched by the page.
function(heden_platform_program target)
  heden_gles_route(${target})
  set_target_properties(${target} PROPERTIES SUFFIX ".js")
  target_link_options(${target} PRIVATE
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
    -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
    -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=134217728
    -sINVOKE_RUN=0 -sENVIRONMENT=web
    "-sEXPORTED_FUNCTIONS=['_main','_malloc','_free']"
    "-sEXPORTED_RUNTIME_METHODS=['FS','ccall','UTF8ToString','stringToUTF8','lengthBytesUTF8','addRunDependency','removeRunDependency']"
    "--embed-file=${PROJECT_SOURCE_DIR}/config.xml@/config.xml")
endfunction()
