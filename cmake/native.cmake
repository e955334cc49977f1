# The native build: the module against the C heap and an empty desktop, and
# the tests that drive it against a simulated desktop.
add_library(nirevo_module STATIC ${NIREVO_MODULE_SOURCES} src/platform/native_platform.cc)
target_include_directories(nirevo_module PUBLIC src)
target_link_libraries(nirevo_module PUBLIC nirevo_warnings)

if(NIREVO_TESTS OR NIREVO_BENCHMARKS OR NIREVO_FUZZ)
  add_library(nirevo_testing STATIC src/testing/allocation_faults.cc src/testing/fault_injection.cc
              src/testing/sim_desktop.cc src/testing/sim_player.cc
              src/testing/test_host.cc)
  target_link_libraries(nirevo_testing PUBLIC nirevo_module)
endif()

if(NIREVO_TESTS)
  # Bounds on what only a broken build never brings, generous for a busy
  # machine (the sanitized programs run several times slower there): the
  # listing of a program's tests when ctest starts (CMake's own default is
  # 5 s), and each test (ctest sets none).
  set(NIREVO_TEST_DISCOVERY_TIMEOUT 600)
  set(NIREVO_TEST_TIMEOUT 1800)
  enable_testing()
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_executable(nirevo_tests
      src/interface/entry_points_test.cc
      src/interface/evaluate_request_test.cc
      src/interface/handle_request_test.cc
      src/interface/tmmap_test.cc
      src/platform/owned_test.cc
      src/player/dispatch_command_test.cc
      src/player/numeric_tail_test.cc
      src/player/platform_faults_test.cc
      src/player/player_arithmetic_test.cc
      src/player/volume_level_test.cc
      src/player/status_queries_test.cc
      src/player/title_commands_test.cc
      src/player/unanswered_player_test.cc
      src/player/window_search_test.cc
      tools/nirevo_check/check_report.cc
      tools/nirevo_check/check_report_test.cc)
  target_link_libraries(nirevo_tests PRIVATE nirevo_testing GTest::gtest GTest::gtest_main)
  target_compile_definitions(nirevo_tests PRIVATE NIREVO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(nirevo_tests DISCOVERY_MODE PRE_TEST
                       DISCOVERY_TIMEOUT ${NIREVO_TEST_DISCOVERY_TIMEOUT}
                       PROPERTIES TIMEOUT ${NIREVO_TEST_TIMEOUT})

  # Tests that count, fail and measure every allocation: their own binary,
  # since they replace the global operator new.
  add_executable(nirevo_memory_tests
      src/interface/bad_input_test.cc
      src/interface/out_of_memory_test.cc
      src/testing/counting_operator_new.cc)
  target_link_libraries(nirevo_memory_tests PRIVATE nirevo_testing GTest::gtest GTest::gtest_main)
  gtest_discover_tests(nirevo_memory_tests DISCOVERY_MODE PRE_TEST
                       DISCOVERY_TIMEOUT ${NIREVO_TEST_DISCOVERY_TIMEOUT}
                       PROPERTIES TIMEOUT ${NIREVO_TEST_TIMEOUT})
endif()

# The libFuzzer target over the `request` boundary (clang only).
if(NIREVO_FUZZ)
  add_executable(nirevo_fuzz src/fuzz/request_fuzzer.cc)
  target_link_libraries(nirevo_fuzz PRIVATE nirevo_testing)
  target_link_options(nirevo_fuzz PRIVATE -fsanitize=fuzzer)
endif()

# Benchmarks of the module's own cost (Google Benchmark).
if(NIREVO_BENCHMARKS)
  find_package(benchmark REQUIRED)
  add_executable(nirevo_bench src/bench/request_bench.cc)
  target_link_libraries(nirevo_bench PRIVATE nirevo_testing benchmark::benchmark)
endif()
