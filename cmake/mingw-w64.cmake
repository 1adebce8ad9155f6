# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix).
# Only the index core and quillscan-search build this way; the window needs Qt for Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUILLSCAN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUILLSCAN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLSCAN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLSCAN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILLSCAN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs run on machines without the compiler's runtime DLLs, and under wine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Windows aligns the stack to 16 bytes only, so spilled 32-byte AVX2 values must not be moved
# with aligned instructions.
set(CMAKE_CXX_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")

# Test programs run under wine.
find_program(QUILLSCAN_WINE NAMES wine wine64)
if(QUILLSCAN_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUILLSCAN_WINE})
endif()
