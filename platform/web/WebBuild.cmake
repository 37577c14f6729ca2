# WebBuild.cmake: the show as a web page, built with emscripten (emcmake).
#
# The show's own sources, unchanged, draw through the GL 1.x layer (gles/)
# on WebGL 2: their GL/gl.h is the layer's. The platform is platform/web,
# the page's entry app/web/main.cpp.
# JPEG pictures are decoded by libjpeg-turbo built for WebAssembly from
# Debian's source by `./quorl web` (QUORL_JPEG_SOURCE and QUORL_JPEG_BUILD),
# so the page gets the same pixels as the desktop program. The show's data
# folder (QUORL_WEB_DATA) is packed as the page's data, except the music,
# which the page plays itself from data/musik.mp3.
set(QUORL_JPEG_SOURCE "" CACHE PATH "libjpeg-turbo's source folder")
set(QUORL_JPEG_BUILD "" CACHE PATH "libjpeg-turbo's emscripten build folder (libjpeg.a, jconfig.h)")
set(QUORL_WEB_DATA "" CACHE PATH "The show's data folder to pack")

add_library(quorl_show STATIC)
target_include_directories(quorl_show PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/gles/include
                           ${QUORL_JPEG_SOURCE} ${QUORL_JPEG_BUILD})
foreach(dir common shell image reader3ds model effects)
  add_subdirectory(${dir})
endforeach()
target_sources(quorl_show PRIVATE platform/Platform.cpp platform/DataFolder.cpp)
target_compile_definitions(quorl_show PRIVATE QUORL_DATA_FROM_BIN="data" QUORL_GLES=1)
add_subdirectory(gles)
target_link_libraries(quorl_show PUBLIC quorl_gles ${QUORL_JPEG_BUILD}/libjpeg.a)

add_executable(quorl-h app/web/main.cpp platform/web/WebPlatform.cpp)
target_link_libraries(quorl-h PRIVATE quorl_show)
target_link_options(quorl-h PRIVATE
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=134217728
  -sEXPORTED_FUNCTIONS=_main,_malloc,_free,_quorl_set_hidden -sEXPORTED_RUNTIME_METHODS=callMain,FS
  -sENVIRONMENT=web
  "--preload-file=${QUORL_WEB_DATA}@/data" "--exclude-file=*.mp3")
