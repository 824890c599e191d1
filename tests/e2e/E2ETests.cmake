# End-to-end tests of the Windows build under Wine, run by the host build's ctest.
# Each case is one test; they share one display and wineserver, started and ended by fixtures.
# They run in this machine's Wine lane (wine_lane.py): the shipped 32-bit build under Wine's
# 32-bit loader, or, where the kernel runs no 32-bit code, a 64-bit build of the same sources
# under wine64. Without a lane, or without the lane's build, every one of them is reported as
# skipped, never as passed. The PE-format and import checks read the 32-bit setup.exe, which is
# what ships, and need no Wine.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(E2E_DIR ${CMAKE_SOURCE_DIR}/tests/e2e)
set(WIN32_SETUP_EXE ${CMAKE_SOURCE_DIR}/build/win32/setup.exe)

execute_process(COMMAND ${Python3_EXECUTABLE} ${E2E_DIR}/e2e.py --list
    OUTPUT_VARIABLE E2E_CASES OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "\n" ";" E2E_CASES "${E2E_CASES}")

set(SKIP_WITHOUT_WIN32 "test -f ${WIN32_SETUP_EXE} || { echo 'SKIP: build/win32/setup.exe is absent'; exit 77; }")
add_test(NAME e2e.session.start COMMAND ${Python3_EXECUTABLE} ${E2E_DIR}/winelab.py start)
add_test(NAME e2e.session.stop COMMAND ${Python3_EXECUTABLE} ${E2E_DIR}/winelab.py stop)
set_tests_properties(e2e.session.start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(e2e.session.stop PROPERTIES FIXTURES_CLEANUP wine)

foreach(case IN LISTS E2E_CASES)
  add_test(NAME e2e.${case} COMMAND ${Python3_EXECUTABLE} ${E2E_DIR}/e2e.py ${case})
  set_tests_properties(e2e.${case} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300)
endforeach()

add_test(NAME e2e.executable_properties
    COMMAND sh -c "${SKIP_WITHOUT_WIN32}; exec ${Python3_EXECUTABLE} ${E2E_DIR}/check_pe.py ${WIN32_SETUP_EXE}")

# Every function setup.exe imports is checked present on 98 SE, Me, 2000 and XP.
add_test(NAME e2e.imports_checked
    COMMAND sh -c "${SKIP_WITHOUT_WIN32}; exec ${Python3_EXECUTABLE} ${E2E_DIR}/check_imports.py ${WIN32_SETUP_EXE} ${E2E_DIR}/imports_checked.txt")

# The lane choice's own rules need no Wine.
add_test(NAME e2e.wine_lane COMMAND ${Python3_EXECUTABLE} ${E2E_DIR}/wine_lane_test.py)
set_tests_properties(e2e.wine_lane PROPERTIES LABELS e2e)

# The lane's own prefix, whatever WINEPREFIX the caller's shell names.
set(E2E_TESTS e2e.session.start e2e.session.stop e2e.executable_properties e2e.imports_checked)
list(TRANSFORM E2E_CASES PREPEND e2e. OUTPUT_VARIABLE E2E_CASE_TESTS)
set_tests_properties(${E2E_TESTS} ${E2E_CASE_TESTS} PROPERTIES
    LABELS e2e ENVIRONMENT_MODIFICATION "WINEPREFIX=unset:" SKIP_RETURN_CODE 77
    RESOURCE_LOCK wine)
