# The program alone, as it is released: MinGW-w64 i686 with the win32 thread model. Its
# C++ runtime synchronises with Windows critical sections, so the .exe carries no POSIX
# thread library (about 30 KB); the program starts no thread.
set(ORVAND_THREAD_MODEL win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
