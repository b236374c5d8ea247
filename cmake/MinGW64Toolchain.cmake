# Cross-builds for 64-bit Windows with Debian's MinGW-w64 compiler (posix threads).
# VELMO_WINDOWS_PREFIXES: the prefixes that hold the Windows Qt, Hunspell and GoogleTest
# (read from the environment as well, since try_compile projects do not see the cache).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(NOT VELMO_WINDOWS_PREFIXES AND DEFINED ENV{VELMO_WINDOWS_PREFIXES})
  set(VELMO_WINDOWS_PREFIXES "$ENV{VELMO_WINDOWS_PREFIXES}")
endif()
if(NOT VELMO_WINDOWS_PREFIXES)
  set(VELMO_WINDOWS_PREFIXES /opt/qt6-mingw64)
endif()
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${VELMO_WINDOWS_PREFIXES})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELMO_WINDOWS_PREFIXES)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Qt's code generators (moc, rcc, uic) run on the build machine.
if(NOT QT_HOST_PATH)
  set(QT_HOST_PATH /usr)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
endif()

# pkg-config answers for the Windows libraries in those prefixes, never for the build machine's.
set(velmo_pkgconfig_dirs)
foreach(prefix ${VELMO_WINDOWS_PREFIXES})
  list(APPEND velmo_pkgconfig_dirs ${prefix}/lib/pkgconfig)
endforeach()
string(REPLACE ";" ":" velmo_pkgconfig_dirs "${velmo_pkgconfig_dirs}")
set(ENV{PKG_CONFIG_LIBDIR} "${velmo_pkgconfig_dirs}")
set(ENV{PKG_CONFIG_PATH} "")

# ctest runs the tests under Wine when it is there.
find_program(VELMO_WINE wine)
if(VELMO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
endif()
