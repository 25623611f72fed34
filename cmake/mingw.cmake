# Cross-compiling the Windows program with MinGW-w64; its tests run under Wine.
# The presets set ORVAND_ARCH (win32: i686, win64: x86_64) and ORVAND_THREAD_MODEL: the
# tests need the POSIX thread model (GoogleTest uses std::mutex), the released program is
# built with the win32 one, whose C++ runtime needs no POSIX thread library.
set(CMAKE_SYSTEM_NAME Windows)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ORVAND_ARCH ORVAND_THREAD_MODEL)

if(ORVAND_ARCH STREQUAL "win32")
    set(CMAKE_SYSTEM_PROCESSOR i686)
elseif(ORVAND_ARCH STREQUAL "win64")
    set(CMAKE_SYSTEM_PROCESSOR x86_64)
else()
    message(FATAL_ERROR "ORVAND_ARCH must be win32 or win64, not '${ORVAND_ARCH}'")
endif()
if(NOT ORVAND_THREAD_MODEL)
    set(ORVAND_THREAD_MODEL posix)
endif()

set(triple ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-${ORVAND_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${triple}-g++-${ORVAND_THREAD_MODEL})
set(CMAKE_RC_COMPILER ${triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
