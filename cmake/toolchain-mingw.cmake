# Cross-compiling for Windows with mingw-w64.
# MINGW_ARCH picks the processor: "i686" (the default: Setup.exe is a 32-bit
# program) or "x86_64" (the same sources for 64-bit Windows, for testing
# under 64-bit Wine on machines that run no 32-bit code).
# MINGW_THREADS picks the compiler variant: "win32" (the default, smallest
# programs) or "posix" (needed by GoogleTest, which uses std::mutex).
set(MINGW_ARCH i686 CACHE STRING "Processor of the Windows build: i686 or x86_64")
set(MINGW_THREADS win32 CACHE STRING "Thread model of the mingw-w64 compiler: win32 or posix")
# The checks CMake compiles while configuring use the same compiler.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MINGW_ARCH MINGW_THREADS)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MINGW_ARCH})
set(CMAKE_C_COMPILER ${MINGW_ARCH}-w64-mingw32-gcc-${MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${MINGW_ARCH}-w64-mingw32-g++-${MINGW_THREADS})
set(CMAKE_RC_COMPILER ${MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
