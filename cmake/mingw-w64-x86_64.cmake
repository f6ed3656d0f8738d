# Cross build for 64-bit Windows with Debian's mingw-w64 (packages g++-mingw-w64-x86-64-posix,
# gcc-mingw-w64-x86-64-posix). A Windows SDK prefix given as WINDOWS_SDK (cache variable or
# environment; scripts/windows-sdk.sh prints one) is searched for Qt, SDL2 and QCustomPlot.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# std::thread and std::mutex need the compiler's posix thread model; Debian's
# default alternative is the win32 model, which (in GCC 12) has neither.
find_program(CMAKE_CXX_COMPILER NAMES x86_64-w64-mingw32-g++-posix REQUIRED)
find_program(CMAKE_C_COMPILER NAMES x86_64-w64-mingw32-gcc-posix)
find_program(CMAKE_RC_COMPILER NAMES x86_64-w64-mingw32-windres)

if(NOT WINDOWS_SDK AND DEFINED ENV{WINDOWS_SDK})
    set(WINDOWS_SDK "$ENV{WINDOWS_SDK}")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${WINDOWS_SDK})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
