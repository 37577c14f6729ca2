# WindowsLibraries.cmake: the libraries of the Windows build (mingw-w64, see
# packaging/windows/mingw-w64-x86_64.cmake), under the names the Linux build
# gets from pkg-config, so that the subsystems' CMake files stay the same.
# They are static libraries that `./quorl windows` builds from Debian's
# sources into QUORL_WINDOWS_PREFIX; CLI11 is Debian's header folder seen
# through QUORL_WINDOWS_CLI11 (a folder holding only CLI/). GL is mingw's
# opengl32 and glu32. Every program is linked statically, the C and C++
# runtimes included, so the zip holds no DLL.
set(QUORL_WINDOWS_PREFIX "" CACHE PATH "Prefix of the Windows libraries built by ./quorl windows")
set(QUORL_WINDOWS_CLI11 "" CACHE PATH "Folder holding CLI11's CLI/ headers for the Windows build")
if(NOT EXISTS "${QUORL_WINDOWS_PREFIX}/lib/libSDL2.a")
  message(FATAL_ERROR "QUORL_WINDOWS_PREFIX (${QUORL_WINDOWS_PREFIX}) holds no Windows libraries: run ./quorl windows")
endif()
set(prefix "${QUORL_WINDOWS_PREFIX}")

# quorl_windows_library(NAME INCLUDES LIBRARIES...): an imported interface target.
function(quorl_windows_library name includes)
  add_library(${name} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${includes}"
                        INTERFACE_LINK_LIBRARIES "${ARGN}")
endfunction()

# SDL2's own system libraries, as its sdl2.pc lists them for static linking.
set(sdl_system m kernel32 user32 gdi32 winmm imm32 ole32 oleaut32 version uuid advapi32 setupapi shell32 dinput8)
quorl_windows_library(PkgConfig::SDL2 "${prefix}/include/SDL2" "${prefix}/lib/libSDL2.a" ${sdl_system})
quorl_windows_library(PkgConfig::SDL2_MIXER "${prefix}/include/SDL2" "${prefix}/lib/libSDL2_mixer.a"
                      PkgConfig::SDL2)
quorl_windows_library(PkgConfig::GL "" opengl32)
quorl_windows_library(PkgConfig::GLU "" glu32 opengl32)
quorl_windows_library(PkgConfig::JPEG "${prefix}/include" "${prefix}/lib/libjpeg.a")
quorl_windows_library(PkgConfig::PNG "${prefix}/include" "${prefix}/lib/libpng16.a" "${prefix}/lib/libz.a")
quorl_windows_library(PkgConfig::CHECK_MPG123 "${prefix}/include" "${prefix}/lib/libmpg123.dll.a")
quorl_windows_library(CLI11::CLI11 "${QUORL_WINDOWS_CLI11}")
# SDL's entry (SDL2main): WinMain, and main's arguments as UTF-8 from the
# wide command line, for the programs whose main is SDL's.
quorl_windows_library(QuorlWindows::SDL2main "" mingw32 "${prefix}/lib/libSDL2main.a")

# The C and C++ runtimes and the threads library linked in; no console
# window of its own (the console a program is started from is attached at
# start-up, see platform/windows/ConsoleAttach.cpp).
add_link_options(-static -static-libgcc -static-libstdc++)
# Unicode file names for the C library's narrow calls are not available on
# mingw; the show opens its data by relative ASCII names from a working
# folder set through the wide calls (std::filesystem), so none is needed.
add_compile_definitions(_WIN32_WINNT=0x0601)
# mingw's GL/gl.h stops at OpenGL 1.1; platform/windows/include/GL/gl.h adds
# glext.h after it, as Mesa's gl.h does on Linux.
include_directories(BEFORE ${PROJECT_SOURCE_DIR}/platform/windows/include)

# quorl_windows_program(TARGET [SDLMAIN]): a Windows program: GUI subsystem
# and the console attach; SDLMAIN for the programs whose main SDL.h renames.
function(quorl_windows_program target)
  cmake_parse_arguments(W "SDLMAIN" "" "" ${ARGN})
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/platform/windows/ConsoleAttach.cpp)
  target_link_options(${target} PRIVATE -mwindows)
  if(W_SDLMAIN)
    # SDL2main first: its WinMain calls the program's SDL_main.
    target_link_libraries(${target} PRIVATE QuorlWindows::SDL2main)
  endif()
  set_target_properties(${target} PROPERTIES SUFFIX .exe)
endfunction()
