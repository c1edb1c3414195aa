# Cross build for Windows with the POSIX-threads mingw-w64 compilers (GoogleTest needs
# std::mutex, which the win32-threads variant lacks). Included by the toolchain file of
# each processor, which sets HB_MINGW_PROCESSOR and HB_WIN_BITS.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${HB_MINGW_PROCESSOR})
set(CMAKE_C_COMPILER   ${HB_MINGW_PROCESSOR}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${HB_MINGW_PROCESSOR}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  ${HB_MINGW_PROCESSOR}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${HB_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# the tests run in the prefix of the tree's bitness
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh ${HB_WIN_BITS})
