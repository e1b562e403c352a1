# 32-bit Windows, the program's target platform.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(WARBLE_MINGW_TRIPLET i686-w64-mingw32)
# SSE2 arithmetic keeps double results identical to the 64-bit build
# (x87 excess precision would not).
set(WARBLE_ARCH_FLAGS "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
