# Cross build for 64-bit Windows with mingw-w64 (Debian: g++-mingw-w64-x86-64-posix). The
# programs it makes run here under Wine, which CTest uses as the emulator.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PENDREL_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model: std::thread and std::mutex need it.
set(CMAKE_C_COMPILER ${PENDREL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PENDREL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PENDREL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PENDREL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Without -static the programs need libwinpthread-1.dll and the runtime DLLs beside them,
# and exit silently where those are missing.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(PENDREL_WINE NAMES wine wine64 PATHS /usr/lib/wine)
if(PENDREL_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PENDREL_WINE})
endif()
