# The layers of src/, bottom first: a folder includes headers of, and links,
# only folders before it in this list. CMake adds the libraries in this
# order and links programs in the reverse; the LayerRules test checks every
# include and link against it.
set(HEDEN_LAYERS gles platform log config data audio clock gl image mesh lwo iso window shader demo capture app)

# The libraries a layer's folder builds, where they are not just heden_<folder>:
# the sound output and the data library are chosen per program.
set(HEDEN_LAYER_LIBS_platform "")
# GL 1.x over OpenGL ES where the platform draws with it (cmake/platforms/).
if(NOT HEDEN_PLATFORM_GLES)
  set(HEDEN_LAYER_LIBS_gles "")
endif()
set(HEDEN_LAYER_LIBS_audio heden_audio ${HEDEN_PLATFORM_AUDIO_LIB} heden_audio_null)
set(HEDEN_LAYER_LIBS_data HEDEN_DATA)

# The most names the headers under src/ may declare `extern` (`extern Mesh
# a, b;` is two): every process-wide name is one of these.
set(HEDEN_EXTERN_LIMIT 42)
