set(CMAKE_C_COMPILER ${VELMO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMO_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VELMO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The driver is loaded into the spooler and every printing application: it must need no
# runtime DLL beyond the system's own, so the C, C++ and thread runtimes are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
