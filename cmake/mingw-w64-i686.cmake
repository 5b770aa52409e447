# 32-bit Windows build with MinGW-w64; the shipped target. SSE2 arithmetic keeps every
# double at 53 bits, as the date arithmetic expects (x87 would carry 64-bit mantissas).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TALLYVANE_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
