# The same sources for 64-bit Wine, on machines that run no 32-bit code.
set(KUVELLA_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
