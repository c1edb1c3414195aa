# The 32-bit Windows build: what ships.
set(HB_MINGW_PROCESSOR i686)
set(HB_WIN_BITS 32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
