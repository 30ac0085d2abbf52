# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix).
# The posix thread model gives the full <thread>/<mutex> of the standard library, and it is the
# model the Qt for Windows in CMAKE_PREFIX_PATH was built with: the program and Qt share one
# C++ runtime (libstdc++-6.dll), shipped beside somado.exe.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SOMADO_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${SOMADO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SOMADO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${SOMADO_MINGW}-windres)
set(CMAKE_AR ${SOMADO_MINGW}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${SOMADO_MINGW}-ranlib CACHE FILEPATH "")
set(CMAKE_STRIP ${SOMADO_MINGW}-strip CACHE FILEPATH "")

# The target's libraries come from the mingw-w64 sysroot and from the prefixes given in
# CMAKE_PREFIX_PATH (Qt and QPDF for Windows), wherever they were unpacked.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${SOMADO_MINGW} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# CTest starts the test executables through wine when it is there.
find_program(SOMADO_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(SOMADO_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SOMADO_WINE64})
endif()
