# Debian's MinGW-w64 for the target named by BV_MINGW_TRIPLE, win32 thread
# model (no winpthread DLL). Included by the two toolchain files.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${BV_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${BV_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${BV_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${BV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR bash "${CMAKE_CURRENT_LIST_DIR}/../tests/wine/run-in-wine.sh")
