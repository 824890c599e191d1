# End-to-end tests of build/win32/setup.exe under Wine, run by the host build's ctest.
# Each case is one test; they share one display and wineserver, started and ended by fixtures.
# Without the win32 build every one of them is reported as skipped, never as passed.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(E2E_DIR ${CMAKE_SOURCE_DIR}/tests/e2e)
set(WIN32_SETUP_EXE ${CMAKE_SOURCE_DIR}/build/win32/setup.exe)
set(E2E_ENV WINEPREFIX=${CMAKE_SOURCE_DIR}/build/wine/prefix)

execute_process(COMMAND ${Python3_EXECUTABLE} ${E2E_DIR}/e2e.py --list
    OUTPUT_VARIABLE E2E_CASES OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "\n" ";" E2E_CASES "${E2E_CASES}")

set(SKIP_WITHOUT_WIN32 "test -f ${WIN32_SETUP_EXE} || { echo 'SKIP: build/win32/setup.exe is absent'; exit 77; }")
# A machine whose kernel runs no 32-bit code cannot start Wine's 32-bit loader.
set(SKIP_WITHOUT_WINE "wine --version >/dev/null 2>&1 || { echo 'SKIP: wine --version fails: this machine cannot run Wine'; exit 77; }")
add_test(NAME e2e.session.start
    COMMAND sh -c "${SKIP_WITHOUT_WIN32}; ${SKIP_WITHOUT_WINE}; exec bash ${E2E_DIR}/wine_session.sh start")
add_test(NAME e2e.session.stop
    COMMAND sh -c "${SKIP_WITHOUT_WIN32}; ${SKIP_WITHOUT_WINE}; exec bash ${E2E_DIR}/wine_session.sh stop")
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

set(E2E_TESTS e2e.session.start e2e.session.stop e2e.executable_properties e2e.imports_checked)
list(TRANSFORM E2E_CASES PREPEND e2e. OUTPUT_VARIABLE E2E_CASE_TESTS)
set_tests_properties(${E2E_TESTS} ${E2E_CASE_TESTS} PROPERTIES
    LABELS e2e ENVIRONMENT "${E2E_ENV}" SKIP_RETURN_CODE 77 RESOURCE_LOCK wine)
