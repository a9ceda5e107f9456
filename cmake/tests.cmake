# Test layers: unit (portable, both builds), win and e2e (Windows build, run
# under Wine), fuzz (native libFuzzer targets run for a bounded time).

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
if(NOT TARGET gtest)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

function(glossira_gtest name)
  file(GLOB srcs CONFIGURE_DEPENDS ${ARGN})
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE gtest gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  if(GLOSSIRA_WINDOWS AND NOT MSVC)
    target_link_options(${name} PRIVATE -static)
  endif()
endfunction()

glossira_gtest(unit_tests tests/unit/*.cpp)
target_link_libraries(unit_tests PRIVATE glossira_portable)
add_test(NAME unit COMMAND unit_tests)

if(GLOSSIRA_WINDOWS)
  glossira_gtest(win_tests tests/win/*.cpp)
  target_link_libraries(win_tests PRIVATE glossira_win)
  add_test(NAME win COMMAND win_tests)
  set_tests_properties(win PROPERTIES TIMEOUT 600)

  glossira_gtest(e2e_tests tests/e2e/*.cpp)
  target_link_libraries(e2e_tests PRIVATE glossira_win version)
  target_include_directories(e2e_tests PRIVATE ${CMAKE_BINARY_DIR}/generated)
  add_dependencies(e2e_tests glossira)
  # Registered as the help viewer by the help tests: records what the shell started.
  add_executable(help_recorder WIN32 tests/e2e/recorder/help_recorder.cpp)
  target_link_options(help_recorder PRIVATE -municode -static)
  target_link_libraries(help_recorder PRIVATE glossira_flags shell32)
  add_dependencies(e2e_tests help_recorder)
  # Once in the C locale (code page 1252), once in the Russian locale (code
  # page 1251, as on a Russian Windows): the program must not depend on it.
  add_test(NAME e2e COMMAND e2e_tests)
  add_test(NAME e2e_ru COMMAND e2e_tests)
  set_tests_properties(e2e PROPERTIES TIMEOUT 1200
    ENVIRONMENT "GLOSSIRA_EXE=$<TARGET_FILE:glossira>;LANG=C;LC_ALL=C;GLOSSIRA_EXPECT_CODEPAGE=1252")
  set_tests_properties(e2e_ru PROPERTIES TIMEOUT 1200
    ENVIRONMENT "GLOSSIRA_EXE=$<TARGET_FILE:glossira>;LANG=ru_RU.UTF-8;LC_ALL=ru_RU.UTF-8;GLOSSIRA_EXPECT_CODEPAGE=1251")
  # tavrex.dll through COM, the shell's data objects and the real program.
  glossira_gtest(shellext_tests tests/shellext/*.cpp tests/e2e/driver.cpp tests/e2e/inspect.cpp)
  target_link_libraries(shellext_tests PRIVATE glossira_win bcrypt crypt32 oleaut32)
  target_include_directories(shellext_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/e2e)
  add_dependencies(shellext_tests glossira tavrex glossira_menu_package command_recorder)
  add_test(NAME shellext COMMAND shellext_tests --gtest_filter=-LargeSelection.*)
  add_test(NAME shellext_large_selection COMMAND shellext_tests --gtest_filter=LargeSelection.*)
  # The menu package as the release makes it, for a test publisher, read back by the tests.
  set(GLOSSIRA_TEST_PACKAGE ${CMAKE_BINARY_DIR}/glossira-menu.msix)
  file(GLOB package_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/installer/package/*)
  add_custom_command(OUTPUT ${GLOSSIRA_TEST_PACKAGE}
    COMMAND ${CMAKE_SOURCE_DIR}/tools/make-package "CN=Glossira Test" ${GLOSSIRA_TEST_PACKAGE}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/installer/package/menu-package.ps1 ${CMAKE_BINARY_DIR}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/make-package ${package_sources} ${CMAKE_SOURCE_DIR}/VERSION
      ${CMAKE_SOURCE_DIR}/res/icons/glossira.ico
    VERBATIM)
  add_custom_target(glossira_menu_package DEPENDS ${GLOSSIRA_TEST_PACKAGE})
  # The release's signing with a throw-away certificate, checked by osslsigncode.
  add_test(NAME signing COMMAND ${CMAKE_SOURCE_DIR}/tests/release/signing $<TARGET_FILE:tavrex>)
  # Shows a file's context menu with the handler's item, for the README's picture.
  add_executable(menu_host WIN32 EXCLUDE_FROM_ALL tests/shellext/host/menu_host.cpp)
  target_link_libraries(menu_host PRIVATE glossira_flags ole32 shell32 uuid)
  add_dependencies(menu_host tavrex)
  if(NOT MSVC)
    target_link_options(menu_host PRIVATE -static -municode)
  endif()
  add_test(NAME imports COMMAND ${CMAKE_SOURCE_DIR}/tools/check-imports $<TARGET_FILE:glossira> $<TARGET_FILE:tavrex>)
  set_tests_properties(shellext PROPERTIES TIMEOUT 600
    ENVIRONMENT "GLOSSIRA_EXE=$<TARGET_FILE:glossira>;GLOSSIRA_PACKAGE=Z:${GLOSSIRA_TEST_PACKAGE};LANG=C;LC_ALL=C")
  set_tests_properties(shellext_large_selection PROPERTIES TIMEOUT 2400
    ENVIRONMENT "GLOSSIRA_EXE=$<TARGET_FILE:glossira>;LANG=C;LC_ALL=C")
  # The disk filling up during a save, on a small tmpfs (root only, else skipped).
  add_test(NAME e2e_disk_full COMMAND ${CMAKE_SOURCE_DIR}/tools/e2e-disk-full $<TARGET_FILE:e2e_tests>)
  set_tests_properties(e2e_disk_full PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77
    ENVIRONMENT "GLOSSIRA_EXE=$<TARGET_FILE:glossira>")
endif()

if(GLOSSIRA_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND NOT GLOSSIRA_WINDOWS)
  set(GLOSSIRA_FUZZ_SECONDS 8 CACHE STRING "Seconds each fuzz target runs in the test command")
  file(GLOB fuzzers CONFIGURE_DEPENDS tests/fuzz/fuzz_*.cpp)
  foreach(src ${fuzzers})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE glossira_portable)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set(seeds ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
    set(scratch ${CMAKE_BINARY_DIR}/fuzz-scratch/${name})
    file(MAKE_DIRECTORY ${scratch} ${seeds})
    add_test(NAME ${name} COMMAND ${name} -max_total_time=${GLOSSIRA_FUZZ_SECONDS}
      -rss_limit_mb=4096 -print_final_stats=1 ${scratch} ${seeds})
  endforeach()
endif()

if(GLOSSIRA_WINDOWS)
  # The setup made from this build's files, installed, used and removed.
  glossira_gtest(install_tests tests/install/*.cpp tests/e2e/driver.cpp tests/e2e/inspect.cpp tests/e2e/system_view.cpp)
  target_include_directories(install_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/e2e)
  target_link_libraries(install_tests PRIVATE glossira_win)
  add_dependencies(install_tests glossira glossira_menu_package)
  # Stands in for icacls, which Wine only pretends to run, and for PowerShell.
  add_executable(command_recorder WIN32 tests/install/recorder/command_recorder.cpp)
  target_link_options(command_recorder PRIVATE -municode -static)
  target_link_libraries(command_recorder PRIVATE glossira_flags)
  add_dependencies(install_tests command_recorder)
  if(TARGET glossira_help)
    add_dependencies(install_tests glossira_help)
  endif()
  add_test(NAME install COMMAND ${CMAKE_SOURCE_DIR}/tests/install/run $<TARGET_FILE:install_tests> $<TARGET_FILE_DIR:glossira>)
  set_tests_properties(install PROPERTIES TIMEOUT 600)
endif()
