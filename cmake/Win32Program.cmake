# The Windows build: setup.exe, a lean PE32 GUI program for Windows 4.0 needing only system
# DLLs, and the Win32 helpers of the end-to-end tests.
enable_language(RC)

set(LEAN_COMPILE_FLAGS -fno-exceptions -fno-rtti -fno-threadsafe-statics
    -fno-asynchronous-unwind-tables -ffunction-sections -fdata-sections)
set(WINDOWS_40_LINK_FLAGS -mwindows -Wl,--subsystem,windows:4.0 -Wl,--major-os-version,4
    -Wl,--minor-os-version,0)

add_executable(setup WIN32
    ${LAUNCHER_LOGIC_SOURCES}
    app/the_app.cpp
    platform/win32_main.cpp
    platform/win32_os_api.cpp
    res/setup.rc)
target_include_directories(setup PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(setup PRIVATE ${WARNING_FLAGS} ${LEAN_COMPILE_FLAGS})
target_link_options(setup PRIVATE ${WINDOWS_40_LINK_FLAGS} -static-libgcc -static-libstdc++ -s
    -Wl,--gc-sections)
target_link_libraries(setup PRIVATE comctl32 advapi32 user32 kernel32)

# Compiles only if the Win32 values of the launcher and of the simulated machine are the SDK's.
add_library(windows_values_check OBJECT sim/windows_values_check.cpp)
target_include_directories(windows_values_check PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(windows_values_check PRIVATE ${WARNING_FLAGS})

add_subdirectory(tests/e2e/helpers)
