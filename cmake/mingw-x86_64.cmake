# The 64-bit Windows build of the same sources, for machines that cannot execute i386
# code; what ships is the 32-bit build.
set(HB_MINGW_PROCESSOR x86_64)
set(HB_WIN_BITS 64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
