# The Windows builds: nirevo.dll with its export table and version resource,
# the stand-in player, the saori-call host and the end-to-end tests.
enable_language(RC)

# The C and C++ runtimes go into every binary, so that the DLL imports only
# what every Windows has.
add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)
# The same commit gives the same bytes, wherever and whenever it is built: no
# link time in the PE headers, no build paths in what the compiler writes.
add_link_options(-Wl,--no-insert-timestamp)
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=
                    -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
# Small over fast: the module's cost is in the calls it makes, not its code.
set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")

if(NIREVO_PLAIN_EXPORTS)
  set(NIREVO_PLAIN_EXPORT_LINES "  load\n  unload\n  request")
else()
  set(NIREVO_PLAIN_EXPORT_LINES "")
endif()
configure_file(src/windows/nirevo.def.in nirevo.def @ONLY)
configure_file(src/windows/version.rc.in version.rc @ONLY)

add_library(nirevo SHARED ${NIREVO_MODULE_SOURCES} src/platform/win32_platform.cc
            src/platform/win32_current.cc src/windows/runtime_trims.cc
            ${CMAKE_CURRENT_BINARY_DIR}/nirevo.def ${CMAKE_CURRENT_BINARY_DIR}/version.rc)
set_target_properties(nirevo PROPERTIES PREFIX "" OUTPUT_NAME nirevo)
target_include_directories(nirevo PRIVATE src)
target_link_libraries(nirevo PRIVATE nirevo_warnings)

# The SAORI host on the command line, and the stand-in player.
add_library(saori_host STATIC tools/saori_host/saori_host.cc)
target_include_directories(saori_host PUBLIC tools/saori_host)
target_link_libraries(saori_host PUBLIC nirevo_warnings)

add_executable(saori-call tools/saori_call/saori_call.cc)
target_link_libraries(saori-call PRIVATE saori_host)

# nirevo-check: the module's own window search, with a report of each verdict.
add_executable(nirevo-check tools/nirevo_check/nirevo_check.cc
               tools/nirevo_check/check_report.cc src/player/window_search.cc
               src/player/image_path.cc src/platform/win32_platform.cc
               src/platform/win32_current.cc)
target_include_directories(nirevo-check PRIVATE src)
target_link_libraries(nirevo-check PRIVATE nirevo_warnings)

add_executable(standin_player WIN32 tools/standin_player/standin_player.cc)
set_target_properties(standin_player PROPERTIES OUTPUT_NAME winamp)
target_link_libraries(standin_player PRIVATE nirevo_warnings)

# End-to-end tests, run under Wine by scripts/test-wine.sh.
if(NIREVO_TESTS)
  if(NOT EXISTS /usr/src/googletest/CMakeLists.txt)
    message(FATAL_ERROR "the end-to-end tests need GoogleTest's sources in /usr/src/googletest "
                        "(package googletest), or configure with -DNIREVO_TESTS=OFF")
  endif()
  if(NIREVO_MINGW_THREADS STREQUAL "win32")
    message(FATAL_ERROR "GoogleTest needs std::mutex, which the win32-threads runtime lacks: "
                        "build the tests with the posix variant (preset mingw-i686-tests)")
  endif()
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_executable(nirevo_e2e tests/e2e/e2e_main.cc tests/e2e/module_e2e_test.cc
                 tests/e2e/player_process.cc tests/e2e/toolhelp_widening.cc
                 tests/e2e/import_rewrite.cc tests/e2e/block_releases.cc
                 tests/e2e/win32_arguments.cc tests/e2e/exhausted_memory.cc
                 tests/e2e/waits.cc tests/e2e/desktop.cc)
  target_include_directories(nirevo_e2e PRIVATE src tools/standin_player)
  target_link_libraries(nirevo_e2e PRIVATE saori_host gtest)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # Room for a request of 1 GiB, as a host whose image says it handles
    # addresses above 2 GiB has.
    target_link_options(nirevo_e2e PRIVATE -Wl,--large-address-aware)
  endif()

  # The module once more, its platform wrapped in fault injection.
  add_library(nirevo_faults SHARED ${NIREVO_MODULE_SOURCES} src/platform/win32_platform.cc
              src/windows/fault_platform.cc src/testing/fault_injection.cc
              src/windows/nirevo_faults.def)
  set_target_properties(nirevo_faults PROPERTIES PREFIX "" OUTPUT_NAME nirevo_faults)
  target_include_directories(nirevo_faults PRIVATE src)
  target_link_libraries(nirevo_faults PRIVATE nirevo_warnings)
  add_dependencies(nirevo_e2e nirevo_faults)
endif()

# The side-by-side benchmark host: the DLL next to the bare Win32 calls.
if(NIREVO_TESTS)
  add_executable(nirevo_bench_host tools/bench_host/bench_host.cc tests/e2e/player_process.cc
                 tests/e2e/waits.cc)
  target_include_directories(nirevo_bench_host PRIVATE tests/e2e src tools/standin_player)
  target_link_libraries(nirevo_bench_host PRIVATE saori_host)
endif()
