# Cross build for Windows with Debian's MinGW-w64, win32 thread model: no threading
# runtime (winpthreads) is linked into the PE files, which are linked statically. The
# toolchain file of each architecture sets MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR first;
# CMakeLists.txt names the emulator the cross-built tests run under (Wine).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
