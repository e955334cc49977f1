# The 64-bit build run under Wine: posix threads, since the test framework
# needs std::mutex.
set(NIREVO_MINGW_ARCH x86_64)
set(NIREVO_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
