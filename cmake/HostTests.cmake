# The host build: the launcher's logic on the fake operating system, with its unit tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the end-to-end tests of the Windows build.
find_package(GTest REQUIRED)
include(GoogleTest)
enable_testing()

option(LAUNCHER_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
option(LAUNCHER_FUZZERS "Build the libFuzzer targets (clang)" OFF)
option(LAUNCHER_BENCHMARKS "Build the benchmarks" OFF)

# The fuzz preset builds the fuzzers alone; the host preset runs them from its ctest.
if(LAUNCHER_FUZZERS)
  add_subdirectory(fuzz)
  return()
endif()

set(SANITIZER_FLAGS)
if(LAUNCHER_SANITIZE)
  set(SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
endif()

add_library(launcher_logic STATIC ${LAUNCHER_LOGIC_SOURCES})
target_include_directories(launcher_logic PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(launcher_logic PUBLIC ${WARNING_FLAGS} ${SANITIZER_FLAGS})
target_link_options(launcher_logic PUBLIC ${SANITIZER_FLAGS})

add_library(sim STATIC ${SIM_SOURCES})
target_link_libraries(sim PUBLIC launcher_logic)

# The fault sweep's table, made by the tests' own code: unit_tests compares it with the one kept,
# and scripts/update-fault-sweep.sh writes it over that one after a deliberate change.
add_library(fault_sweep STATIC tests/fault_sweep.cpp tests/expected_outcomes.cpp)
target_link_libraries(fault_sweep PUBLIC sim)
target_compile_definitions(fault_sweep PRIVATE SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_executable(print_fault_sweep tests/print_fault_sweep.cpp)
target_link_libraries(print_fault_sweep PRIVATE fault_sweep)

add_executable(unit_tests
    tests/cstring_test.cpp
    tests/shipped_boxes_test.cpp
    tests/detect_os_type_test.cpp
    tests/launcher_flow_test.cpp
    tests/key_file_test.cpp
    tests/device_key_search_test.cpp
    tests/installer_nt_test.cpp
    tests/driver_files_9x_test.cpp
    tests/fault_sweep_test.cpp
    tests/simulated_machine_test.cpp)
target_link_libraries(unit_tests PRIVATE fault_sweep sim GTest::gtest_main)
target_compile_definitions(unit_tests PRIVATE SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(unit_tests PROPERTIES LABELS unit)

include(tests/e2e/E2ETests.cmake)

# The tree keeps one format.
find_program(CLANG_FORMAT clang-format REQUIRED)
add_test(NAME lint.clang_format
    COMMAND sh -c "git ls-files '*.cpp' '*.h' | xargs ${CLANG_FORMAT} --dry-run --Werror"
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
set_tests_properties(lint.clang_format PROPERTIES LABELS lint)

# Bounded fuzzing of the fuzz preset's targets; a longer run is fuzz/run_fuzzer.sh TARGET SECONDS.
foreach(fuzzer key_file launcher inf_reader reg_reader hive txtsetup disk_image catalog creg
               machine_disk)
  add_test(NAME fuzz.${fuzzer} COMMAND bash ${CMAKE_SOURCE_DIR}/fuzz/run_fuzzer.sh fuzz_${fuzzer} 30)
  set_tests_properties(fuzz.${fuzzer} PROPERTIES LABELS fuzz SKIP_RETURN_CODE 77 TIMEOUT 120)
endforeach()
