# Cross-building for 64-bit Windows with Debian's MinGW-w64 compilers (POSIX threads, for
# std::thread and the C++ runtime's locks). Libraries built for Windows are found under the
# prefixes named in CMAKE_PREFIX_PATH, never the build machine's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(Target x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${Target}-gcc-posix)
set(CMAKE_CXX_COMPILER ${Target}-g++-posix)
set(CMAKE_RC_COMPILER ${Target}-windres)
set(CMAKE_AR ${Target}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${Target}-gcc-ranlib-posix CACHE FILEPATH "")
set(CMAKE_STRIP ${Target}-strip CACHE FILEPATH "")
set(CMAKE_FIND_ROOT_PATH /usr/${Target})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The prefixes of the cross-built Qt and GoogleTest are roots of their own.
foreach(Prefix IN LISTS CMAKE_PREFIX_PATH)
  list(APPEND CMAKE_FIND_ROOT_PATH ${Prefix})
endforeach()
