# The 32-bit DLL we ship: win32 threads, so no threading runtime in the DLL.
set(NIREVO_MINGW_ARCH i686)
set(NIREVO_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
