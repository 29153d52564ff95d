# mingw-w64-x86_64.cmake -- cross-builds the Windows program with Debian's MinGW-w64 (posix
# threads: the win32 thread model has no std::thread). Everything is looked up in the MinGW
# sysroot only, so a configure can never take the host's pkg-config or libraries for Windows ones.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QM_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QM_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QM_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QM_MINGW_TRIPLE}-windres)

# The sysroot, and the prefix scripts/install-deps.sh cross-builds GoogleTest into.
set(CMAKE_FIND_ROOT_PATH /usr/${QM_MINGW_TRIPLE} /usr/local/${QM_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Should anything ask pkg-config, it gets MinGW's wrapper, which searches the sysroot alone.
set(PKG_CONFIG_EXECUTABLE ${QM_MINGW_TRIPLE}-pkg-config CACHE FILEPATH "MinGW pkg-config")
set(ENV{PKG_CONFIG_LIBDIR} /usr/${QM_MINGW_TRIPLE}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# One self-contained program: the C and C++ runtimes and winpthreads linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine (scripts/wine-run.sh: a private prefix, output through files).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
