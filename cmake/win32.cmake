# The real program: a GUI executable for 32-bit or 64-bit Windows.
enable_language(RC)

add_executable(mailview WIN32
  ${MAILVIEW_SOURCES}
  platform/desktop-win32.cpp
  platform/stdin-win32.cpp
  resources/mailview.rc)
target_include_directories(mailview PRIVATE ${MAILVIEW_INCLUDES}
                           ${MAILVIEW_GENERATED})
# The resource compiler reads the icon and the manifest, but CMake only sees
# its #includes.
set(RC_READS ${CMAKE_SOURCE_DIR}/resources/mailview.ico
    ${CMAKE_SOURCE_DIR}/resources/mailview.manifest)
set_source_files_properties(resources/mailview.rc PROPERTIES
  OBJECT_DEPENDS "${RC_READS}")
# Only the DLLs every Windows has: the C and C++ runtimes go in statically.
# Stripped: nothing reads the symbols, and a small file starts fast. No link
# time in the header, so that two builds of one commit are the same bytes.
target_link_options(mailview PRIVATE -static-libgcc -static-libstdc++ -static
                    -s -Wl,--no-insert-timestamp)

# Tests of the real executable, under Wine on a virtual display. GoogleTest
# is built from Debian's sources for Windows, as Debian ships it only for
# Linux.
if(NOT BUILD_TESTING)
  return()
endif()
set(MAILVIEW_GTEST_SOURCE_DIR /usr/src/googletest/googletest CACHE PATH
    "GoogleTest's sources, built for Windows for the tests")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${MAILVIEW_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest
                 EXCLUDE_FROM_ALL)
# mingw's default thread model has no std::mutex: GoogleTest's extension
# point supplies the one class that wants it.
target_include_directories(gtest BEFORE PUBLIC
  ${CMAKE_SOURCE_DIR}/tests/wine/gtest-custom)

# Every test source of the Windows tests, found by its name: a new file is
# built and its tests run with nothing to list.
file(GLOB WINE_TEST_SOURCES CONFIGURE_DEPENDS tests/wine/*_test.cpp
     tests/*-win32_test.cpp)
add_executable(wine_tests ${WINE_TEST_SOURCES} tests/harness-win32.cpp)
target_link_libraries(wine_tests PRIVATE gtest_main shell32 version)
target_include_directories(wine_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
# The version the executable's version block must show.
target_compile_definitions(wine_tests PRIVATE
  MAILVIEW_VERSION="${PROJECT_VERSION}")
target_link_options(wine_tests PRIVATE -static)

# Which Windows this tree builds for, and the Wine that runs it.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(WINE_ARCH win32)
  set(WINE_TESTS wine32)
  set(PE_FORMAT pei-i386)
else()
  set(WINE_ARCH win64)
  set(WINE_TESTS wine64)
  set(PE_FORMAT pei-x86-64)
endif()
set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(WITH_DISPLAY ${CMAKE_SOURCE_DIR}/tests/with-display.sh)
set(WINE_SCRIPTS ${CMAKE_SOURCE_DIR}/tests/wine)

# Every test here is of the Windows executable: label `wine`.
add_test(NAME exe.imports
  COMMAND ${WINE_SCRIPTS}/check-imports.sh ${CMAKE_OBJDUMP}
          $<TARGET_FILE:mailview> ${PE_FORMAT})
set_tests_properties(exe.imports PROPERTIES LABELS wine)
if(WINE_ARCH STREQUAL win32)
  add_test(NAME exe.icon_drawing
    COMMAND ${WINE_SCRIPTS}/check-icon.sh ${CMAKE_SOURCE_DIR})
  set_tests_properties(exe.icon_drawing PROPERTIES LABELS wine)
  include(${CMAKE_SOURCE_DIR}/cmake/host32.cmake)
endif()

# wine_tests runs as any program built for another system does: through
# its emulator, here Wine in the tests' prefix on a virtual display of its
# own.
set_property(TARGET wine_tests PROPERTY CROSSCOMPILING_EMULATOR
  ${WITH_DISPLAY} ${WINE_SCRIPTS}/run.sh ${WINE_ARCH} ${WINE_PREFIX})

# A fresh Wine prefix for each run: Wine's first start is the slow part, so
# it happens once, and every test after it shares the prefix in turn.
add_test(NAME ${WINE_TESTS}.prefix_create
  COMMAND ${WITH_DISPLAY} ${WINE_SCRIPTS}/prefix.sh create ${WINE_PREFIX}
          ${WINE_ARCH})
add_test(NAME ${WINE_TESTS}.prefix_remove
  COMMAND ${WINE_SCRIPTS}/prefix.sh remove ${WINE_PREFIX} ${WINE_ARCH})
set_tests_properties(${WINE_TESTS}.prefix_create PROPERTIES
  FIXTURES_SETUP wine TIMEOUT 600 LABELS "wine;slow")
set_tests_properties(${WINE_TESTS}.prefix_remove PROPERTIES
  FIXTURES_CLEANUP wine LABELS wine)

# Each TEST of the sources is a test of its own, read from the sources:
# discovering them would run Wine at build time, which the 32-bit tree
# cannot where this host does not run 32-bit programs. Against this tree's
# mailview.exe; in the 64-bit tree, the files that read an executable's
# resources without running it (resources*_test.cpp) read the 32-bit one's
# too, so that it is checked on hosts that cannot run it.
include(GoogleTest)
gtest_add_tests(TARGET wine_tests SOURCES ${WINE_TEST_SOURCES}
                TEST_PREFIX ${WINE_TESTS}. TEST_LIST WINE_RUNS)
set_tests_properties(${WINE_RUNS} PROPERTIES
  ENVIRONMENT MAILVIEW_EXE=$<TARGET_FILE:mailview>)
if(WINE_ARCH STREQUAL win64)
  set(MAILVIEW_WIN32_EXE ${CMAKE_SOURCE_DIR}/build/win32/mailview.exe
      CACHE FILEPATH "The 32-bit mailview.exe whose resources are checked")
  file(GLOB READING_SOURCES CONFIGURE_DEPENDS tests/wine/resources*_test.cpp)
  gtest_add_tests(TARGET wine_tests SOURCES ${READING_SOURCES}
                  TEST_PREFIX ${WINE_TESTS}.win32_exe. TEST_LIST WIN32_RUNS)
  set_tests_properties(${WIN32_RUNS} PROPERTIES
    ENVIRONMENT MAILVIEW_EXE=${MAILVIEW_WIN32_EXE})
  list(APPEND WINE_RUNS ${WIN32_RUNS})
endif()
# A TEST that the sources show and the program lacks (one in a comment, say)
# runs nothing, and fails.
set_tests_properties(${WINE_RUNS} PROPERTIES
  FIXTURES_REQUIRED wine TIMEOUT 600 LABELS wine
  FAIL_REGULAR_EXPRESSION "Running 0 tests"
  SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
# Where this host cannot run the tree's programs (host32.cmake), each test
# that would run one says why and is skipped (tests/wine/env.sh).
set(WINE_USERS ${WINE_RUNS} ${WINE_TESTS}.prefix_create
    ${WINE_TESTS}.prefix_remove)
set_tests_properties(${WINE_USERS} PROPERTIES RESOURCE_LOCK wine
                     SKIP_RETURN_CODE 77)
set_property(TEST ${WINE_USERS} APPEND PROPERTY ENVIRONMENT
             "WINE_SKIP=${HOST_32BIT_WHY}")
