# Windows side: the product, and the tests that run under Wine.
enable_language(RC)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(KUVELLA_DIST_DIR "${CMAKE_BINARY_DIR}/dist/kuvella" CACHE PATH "Where kuvella.exe and its files go")
set(KUVELLA_WIN_FLAGS -finput-charset=UTF-8 -fexec-charset=CP932)
set(KUVELLA_WIN_DEFS _WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX STRICT)

foreach(lib kuvella_engine kuvella_rules)
  target_compile_options(${lib} PRIVATE ${KUVELLA_WIN_FLAGS})
endforeach()

add_library(kuvella_shell STATIC
  platform/Timer.cpp
  platform/Win32Desktop.cpp
  shell/Application.cpp
  shell/IniFile.cpp
  shell/PopupMenu.cpp
  shell/untMain.cpp)
target_include_directories(kuvella_shell PUBLIC platform shell res)
target_compile_definitions(kuvella_shell PUBLIC ${KUVELLA_WIN_DEFS})
target_compile_options(kuvella_shell PRIVATE ${KUVELLA_WARNINGS} ${KUVELLA_WIN_FLAGS})
target_link_libraries(kuvella_shell PUBLIC kuvella_engine kuvella_rules
  comctl32 comdlg32 shell32 winmm gdi32 user32 kernel32)

add_executable(kuvella WIN32 app/main.cpp res/kuvella.rc)
target_compile_options(kuvella PRIVATE ${KUVELLA_WARNINGS} ${KUVELLA_WIN_FLAGS})
target_link_libraries(kuvella PRIVATE kuvella_shell)
target_link_options(kuvella PRIVATE -static -static-libgcc -static-libstdc++ -mwindows)
set_target_properties(kuvella PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${KUVELLA_DIST_DIR}"
  OUTPUT_NAME kuvella)
set_property(SOURCE res/kuvella.rc APPEND PROPERTY OBJECT_DEPENDS
  ${CMAKE_SOURCE_DIR}/res/kuvella.ico ${CMAKE_SOURCE_DIR}/res/paused.ico
  ${CMAKE_SOURCE_DIR}/res/kuvella.manifest)

# The files shipped beside the executable, made from our own sources.
add_custom_command(OUTPUT "${KUVELLA_DIST_DIR}/readme.txt"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${KUVELLA_DIST_DIR}"
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make-readme.py
          ${CMAKE_SOURCE_DIR}/res/readme.txt.in "${KUVELLA_DIST_DIR}/readme.txt"
  DEPENDS ${CMAKE_SOURCE_DIR}/res/readme.txt.in ${CMAKE_SOURCE_DIR}/tools/make-readme.py)
add_custom_command(OUTPUT "${KUVELLA_DIST_DIR}/snap.wav"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${KUVELLA_DIST_DIR}"
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make-wav.py "${KUVELLA_DIST_DIR}/snap.wav"
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make-wav.py)
add_custom_target(kuvella_files ALL DEPENDS "${KUVELLA_DIST_DIR}/readme.txt" "${KUVELLA_DIST_DIR}/snap.wav")

if(KUVELLA_TESTS)
  enable_testing()
  set(gtest_disable_pthreads OFF)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  # In-process tests of the adapters and the shell against real windows.
  file(GLOB KUVELLA_WIN32_SOURCES CONFIGURE_DEPENDS tests/win32/unit_*.cpp)
  if(KUVELLA_WIN32_SOURCES)
    add_executable(kuvella_win32_tests ${KUVELLA_WIN32_SOURCES} res/kuvella.rc)
    target_include_directories(kuvella_win32_tests PRIVATE tests/win32/support)
    target_compile_options(kuvella_win32_tests PRIVATE ${KUVELLA_WARNINGS} ${KUVELLA_WIN_FLAGS})
    target_link_libraries(kuvella_win32_tests PRIVATE kuvella_shell gtest gtest_main)
    target_link_options(kuvella_win32_tests PRIVATE -static)
    add_test(NAME win32_in_process COMMAND kuvella_win32_tests)
  endif()

  # End-to-end: drives the real kuvella.exe the way a user and Windows would.
  file(GLOB KUVELLA_E2E_SOURCES CONFIGURE_DEPENDS tests/win32/e2e_*.cpp)
  if(KUVELLA_E2E_SOURCES)
    add_executable(kuvella_e2e_tests ${KUVELLA_E2E_SOURCES} tests/win32/support/TestSupport.cpp)
    target_include_directories(kuvella_e2e_tests PRIVATE tests/win32/support)
    target_compile_options(kuvella_e2e_tests PRIVATE ${KUVELLA_WARNINGS} ${KUVELLA_WIN_FLAGS})
    target_compile_definitions(kuvella_e2e_tests PRIVATE ${KUVELLA_WIN_DEFS})
    target_link_libraries(kuvella_e2e_tests PRIVATE kuvella_rules gtest gtest_main user32 gdi32 shell32)
    target_link_options(kuvella_e2e_tests PRIVATE -static)
    add_dependencies(kuvella_e2e_tests kuvella kuvella_files)
    add_test(NAME win32_end_to_end COMMAND kuvella_e2e_tests)
    set_tests_properties(win32_end_to_end PROPERTIES
      ENVIRONMENT "KUVELLA_DIST=${KUVELLA_DIST_DIR}" TIMEOUT 900)
  endif()
endif()

# Used by tools/run on a machine without a display.
add_executable(kuvella_demo tools/demo/kuvella_demo.cpp)
target_compile_definitions(kuvella_demo PRIVATE ${KUVELLA_WIN_DEFS})
target_compile_options(kuvella_demo PRIVATE ${KUVELLA_WARNINGS})
target_link_libraries(kuvella_demo PRIVATE user32)
target_link_options(kuvella_demo PRIVATE -static)

# Bare programs for the whole-process figures (bench/process-figures).
add_executable(kuvella_bench_driver bench/bench_driver.cpp)
target_compile_definitions(kuvella_bench_driver PRIVATE ${KUVELLA_WIN_DEFS})
target_compile_options(kuvella_bench_driver PRIVATE ${KUVELLA_WARNINGS})
target_link_libraries(kuvella_bench_driver PRIVATE user32 shell32)
target_link_options(kuvella_bench_driver PRIVATE -static)

# The settings window at 144 DPI; tools/test runs it in a prefix of that DPI.
if(KUVELLA_TESTS)
  add_executable(kuvella_dpi_tests tests/win32/dpi/dpi_test.cpp)
  target_compile_definitions(kuvella_dpi_tests PRIVATE ${KUVELLA_WIN_DEFS})
  target_compile_options(kuvella_dpi_tests PRIVATE ${KUVELLA_WARNINGS})
  target_link_libraries(kuvella_dpi_tests PRIVATE gtest gtest_main user32 gdi32)
  target_link_options(kuvella_dpi_tests PRIVATE -static)
  add_dependencies(kuvella_dpi_tests kuvella)
  add_test(NAME win32_high_dpi COMMAND kuvella_dpi_tests)
  set_tests_properties(win32_high_dpi PROPERTIES ENVIRONMENT "KUVELLA_DIST=${KUVELLA_DIST_DIR}"
    LABELS dpi144)
endif()
