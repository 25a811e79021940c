# Cross build for 64-bit Windows with Debian's mingw-w64 (the posix thread model, which has
# std::thread and std::mutex). Programs built here run under Wine, which CTest uses to run the
# tests. The libraries built for Windows are found only in the folders given in
# CMAKE_FIND_ROOT_PATH (scripts/windows passes them), never in the host's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TESSALUMA_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TESSALUMA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSALUMA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSALUMA_MINGW}-windres)
set(CMAKE_AR ${TESSALUMA_MINGW}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${TESSALUMA_MINGW}-gcc-ranlib-posix CACHE FILEPATH "")

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${TESSALUMA_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(TESSALUMA_WINE wine)
if(TESSALUMA_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TESSALUMA_WINE})
endif()
