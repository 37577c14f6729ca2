# mingw-w64-x86_64.cmake: the CMake toolchain for 64-bit Windows programs
# made on Debian with mingw-w64's GCC, its POSIX-threads variant (the one
# whose C++ library has std::thread and std::mutex), for the show and for
# the libraries built from Debian's sources under build-windows/deps.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUORL_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${QUORL_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORL_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORL_MINGW}-windres)
set(CMAKE_AR ${QUORL_MINGW}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${QUORL_MINGW}-gcc-ranlib-posix CACHE FILEPATH "")

# Headers and libraries come from the cross toolchain and the folders the
# build names (CMAKE_PREFIX_PATH), never from the build machine's /usr.
set(CMAKE_FIND_ROOT_PATH /usr/${QUORL_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
