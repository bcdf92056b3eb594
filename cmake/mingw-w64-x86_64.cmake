# Cross-compiling for 64-bit Windows with Debian's MinGW-w64, in the POSIX-threads variant
# that Qt's threads need. Used for the Qt build in the cache and for Blikon itself.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw}-windres)
set(CMAKE_AR /usr/bin/${mingw}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB /usr/bin/${mingw}-ranlib CACHE FILEPATH "")

# Libraries and headers come only from the MinGW tree and the prefixes given (the Qt
# cache); programs run during the build are the host's.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
