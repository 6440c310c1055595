# Cross-compiling for 32-bit Windows with mingw-w64.
# MINGW_THREADS picks the compiler variant: "win32" (the default, smallest
# programs) or "posix" (needed by GoogleTest, which uses std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
if(NOT DEFINED MINGW_THREADS)
    set(MINGW_THREADS win32)
endif()
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-${MINGW_THREADS})
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-${MINGW_THREADS})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
