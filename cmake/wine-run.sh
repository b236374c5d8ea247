#!/bin/sh
# Runs a cross-built Windows program under Wine with the Windows Qt and the MinGW runtime on
# its DLL path (ctest uses it as the cross-compiling emulator). WINEPREFIX as set by the caller.
qt=${VELMO_WINDOWS_QT_PREFIX:-/opt/qt6-mingw64}
gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEPATH="$qt/bin;$gcc_dir;/usr/x86_64-w64-mingw32/lib"
exec wine "$@"
