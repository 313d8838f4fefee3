# 64-bit Windows with MinGW-w64 (posix threads): cross-compiled with Debian's
# compilers, or built natively in an MSYS2 MINGW64 shell.
if(CMAKE_HOST_WIN32)
  # MSYS2's compilers go by their plain names on the PATH; the programs and
  # tests run natively, so there is nothing to emulate and no root to search.
  set(CMAKE_C_COMPILER   gcc)
  set(CMAKE_CXX_COMPILER g++)
  set(CMAKE_RC_COMPILER  windres)
  return()
endif()

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${TOOLCHAIN_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests and tools run under Wine through our runner.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
