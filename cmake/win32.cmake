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

add_executable(wine_tests
  tests/harness-win32.cpp
  tests/harness-win32_test.cpp
  tests/wine/caller_test.cpp
  tests/wine/manifest_test.cpp
  tests/wine/resources_test.cpp
  tests/wine/station_test.cpp
  tests/wine/version_test.cpp
  tests/wine/window_test.cpp)
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
set(WINE_SUITES HarnessWin32 Resources Manifest VersionFunctions
    SendMailWindow RefusalBox ThroughCmd InvisibleStation)

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

if(WINE_ARCH STREQUAL win32 AND NOT HOST_RUNS_32BIT)
  # Nothing here can run: say so for every run of the 32-bit executable.
  # Its header, imports and resources are still checked, above and by the
  # 64-bit tree's tests.
  foreach(suite prefix_create ${WINE_SUITES})
    add_test(NAME ${WINE_TESTS}.${suite}
      COMMAND sh -c "echo \"skipped: $1\"; exit 77" sh ${HOST_32BIT_WHY})
    set_tests_properties(${WINE_TESTS}.${suite} PROPERTIES
      SKIP_RETURN_CODE 77 LABELS wine)
  endforeach()
  return()
endif()

# A fresh Wine prefix for each run: Wine's first start is the slow part, so
# it happens once, and every test after it shares the prefix in turn.
add_test(NAME ${WINE_TESTS}.prefix_create
  COMMAND ${WITH_DISPLAY} ${WINE_SCRIPTS}/prefix.sh create ${WINE_PREFIX}
          ${WINE_ARCH})
add_test(NAME ${WINE_TESTS}.prefix_remove
  COMMAND ${WINE_SCRIPTS}/prefix.sh remove ${WINE_PREFIX} ${WINE_ARCH})
set_tests_properties(${WINE_TESTS}.prefix_create PROPERTIES
  FIXTURES_SETUP wine RESOURCE_LOCK wine TIMEOUT 600 LABELS "wine;slow")
set_tests_properties(${WINE_TESTS}.prefix_remove PROPERTIES
  FIXTURES_CLEANUP wine RESOURCE_LOCK wine LABELS wine)

# wine_add_suite(NAME EXE FILTER): the test NAME runs the suites FILTER of
# wine_tests against EXE.
function(wine_add_suite name exe filter)
  add_test(NAME ${name}
    COMMAND ${WITH_DISPLAY} ${WINE_SCRIPTS}/run.sh ${WINE_ARCH} ${WINE_PREFIX}
            ${exe} $<TARGET_FILE:wine_tests> --gtest_filter=${filter})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine RESOURCE_LOCK wine TIMEOUT 600 LABELS wine)
endfunction()

foreach(suite ${WINE_SUITES})
  wine_add_suite(${WINE_TESTS}.${suite} $<TARGET_FILE:mailview> ${suite}.*)
endforeach()

# The 32-bit executable's resources, read without running it, so that they
# are checked on hosts that cannot run it too.
if(WINE_ARCH STREQUAL win64)
  set(MAILVIEW_WIN32_EXE ${CMAKE_SOURCE_DIR}/build/win32/mailview.exe
      CACHE FILEPATH "The 32-bit mailview.exe whose resources are checked")
  wine_add_suite(${WINE_TESTS}.ResourcesOfTheWin32Exe ${MAILVIEW_WIN32_EXE}
                 Resources.*:Manifest.*:VersionFunctions.*)
endif()
