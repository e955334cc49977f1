# 32-bit test programs run under Wine (the end-to-end suite, the benchmark
# host): posix threads, since the test framework needs std::mutex. The DLL
# they drive is the shipped one, built with win32 threads.
set(NIREVO_MINGW_ARCH i686)
set(NIREVO_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
