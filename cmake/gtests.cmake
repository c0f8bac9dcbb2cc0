# add_gtests(LABEL FILES file... LIBS lib...): each GoogleTest file becomes
# a program of its own, named after the file and linked with LIBS; CTest
# asks it for its cases and gives each the label LABEL, the kind of its
# file (CONTRIBUTING.md). A `window` test program gets an X display of its
# own from the harness (tests/own_display.cpp); as it needs this host's
# display tools, a tree for another processor has none. Linux only: a
# Windows tree's tests run under Wine (tests/wine), and the fuzz tree has
# fuzz targets in their place.
set(MAILVIEW_GTESTS ${BUILD_TESTING})
if(WIN32 OR MAILVIEW_FUZZ)
  set(MAILVIEW_GTESTS OFF)
elseif(BUILD_TESTING)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

function(add_gtests label)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "FILES;LIBS")
  if(NOT MAILVIEW_GTESTS OR (label STREQUAL window AND CMAKE_CROSSCOMPILING))
    return()
  endif()
  if(label STREQUAL window)
    list(APPEND arg_LIBS own_display)
  endif()
  foreach(file ${arg_FILES})
    get_filename_component(name ${file} NAME_WE)
    add_executable(${name} ${file})
    target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gtest_main)
    gtest_discover_tests(${name} PROPERTIES LABELS ${label} TIMEOUT 300
                         SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
  endforeach()
endfunction()
