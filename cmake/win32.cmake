# The real program: a GUI executable for 32-bit or 64-bit Windows.
enable_language(RC)

add_executable(mailview WIN32
  ${MAILVIEW_SOURCES}
  platform/stdin-win32.cpp
  resources/mailview.rc)
target_include_directories(mailview PRIVATE ${MAILVIEW_INCLUDES})
# The resource compiler reads the icon, but CMake only sees its #includes.
set_source_files_properties(resources/mailview.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/resources/mailview.ico)
# Only the DLLs every Windows has: the C and C++ runtimes go in statically.
# Stripped: nothing reads the symbols, and a small file starts fast.
target_link_options(mailview PRIVATE -static-libgcc -static-libstdc++ -static
                    -s)

# Tests of the real executable, under Wine on a virtual display. GoogleTest
# is built from Debian's sources for Windows, as Debian ships it only for
# Linux.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest
                 ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# mingw's default thread model has no std::mutex: GoogleTest's extension
# point supplies the one class that wants it.
target_include_directories(gtest BEFORE PUBLIC
  ${CMAKE_SOURCE_DIR}/tests/wine/gtest-custom)

add_executable(wine_tests
  tests/wine/caller_test.cpp
  tests/wine/child.cpp
  tests/wine/resources_test.cpp
  tests/wine/version_test.cpp
  tests/wine/window_test.cpp)
target_link_libraries(wine_tests PRIVATE gtest_main version)
target_link_options(wine_tests PRIVATE -static)

set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(WITH_DISPLAY ${CMAKE_SOURCE_DIR}/tests/with-display.sh)
set(WINE_SCRIPTS ${CMAKE_SOURCE_DIR}/tests/wine)

add_test(NAME exe.imports
  COMMAND ${WINE_SCRIPTS}/check-imports.sh ${CMAKE_OBJDUMP}
          $<TARGET_FILE:mailview>)
add_test(NAME exe.icon_drawing
  COMMAND ${WINE_SCRIPTS}/check-icon.sh ${CMAKE_SOURCE_DIR})

# A fresh Wine prefix for each run: Wine's first start is the slow part, so
# it happens once, and every test after it shares the prefix in turn.
add_test(NAME wine.prefix_create
  COMMAND ${WITH_DISPLAY} ${WINE_SCRIPTS}/prefix.sh create ${WINE_PREFIX})
add_test(NAME wine.prefix_remove
  COMMAND ${WINE_SCRIPTS}/prefix.sh remove ${WINE_PREFIX})
set_tests_properties(wine.prefix_create PROPERTIES
  FIXTURES_SETUP wine RESOURCE_LOCK wine TIMEOUT 600)
set_tests_properties(wine.prefix_remove PROPERTIES
  FIXTURES_CLEANUP wine RESOURCE_LOCK wine)

foreach(suite Resources VersionFunctions SendMailWindow RefusalBox ThroughCmd)
  add_test(NAME wine.${suite}
    COMMAND ${WITH_DISPLAY} ${WINE_SCRIPTS}/run.sh ${WINE_PREFIX}
            $<TARGET_FILE:mailview> $<TARGET_FILE:wine_tests>
            --gtest_filter=${suite}.*)
  set_tests_properties(wine.${suite} PROPERTIES
    FIXTURES_REQUIRED wine RESOURCE_LOCK wine TIMEOUT 600)
endforeach()
