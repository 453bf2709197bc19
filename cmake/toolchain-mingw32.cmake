# Cross build for Windows x86 with Debian's mingw-w64 (posix threads). Built, never run:
# there is no 32-bit Wine on the build machines.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR X86)
set(VELMO_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
