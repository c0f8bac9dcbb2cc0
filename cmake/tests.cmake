# Tests on Linux: GoogleTest units beside the code, process-level tests in tests/.
find_package(GTest REQUIRED)
include(GoogleTest)

add_executable(mailview_tests
  intake/display_text_test.cpp
  intake/read_mail_test.cpp
  intake/text_input_test.cpp
  platform/desktop-posix.cpp
  platform/desktop-posix_test.cpp
  viewer/send_mail_test.cpp)
target_link_libraries(mailview_tests PRIVATE mailview_core GTest::gtest_main)
gtest_discover_tests(mailview_tests PROPERTIES LABELS unit)

# add_program_test(NAME SOURCE...): a test executable that runs the real
# programs, told where mailview and its recording twin are.
function(add_program_test name)
  add_executable(${name} ${ARGN} tests/run_process.cpp)
  target_include_directories(${name} PRIVATE tests)
  target_link_libraries(${name} PRIVATE GTest::gtest_main util)
  target_compile_definitions(${name} PRIVATE
    MAILVIEW_RECORD="$<TARGET_FILE:mailview-record>"
    MAILVIEW_EXE="$<TARGET_FILE:mailview>")
  add_dependencies(${name} mailview mailview-record)
endfunction()

add_program_test(process_tests tests/process_test.cpp)
gtest_discover_tests(process_tests PROPERTIES LABELS unit)
include(tests/faults.cmake)

add_test(NAME deps.DemoInstallsNoTestPackages
         COMMAND ${CMAKE_SOURCE_DIR}/tests/deps_test.sh ${CMAKE_SOURCE_DIR})
set_tests_properties(deps.DemoInstallsNoTestPackages PROPERTIES LABELS unit)

# make demo on a machine without a display: the window on a virtual one,
# a screenshot, closed with Enter. With this tree's program, whose picture
# goes beside it.
string(REGEX REPLACE "([][.*+?^$()|\\])" "\\\\\\1" tree_regex
       "${CMAKE_BINARY_DIR}")
add_test(NAME demo.WithoutADisplay
  COMMAND env -u DISPLAY -u WAYLAND_DISPLAY ${CMAKE_SOURCE_DIR}/scripts/demo.sh
          $<TARGET_FILE:mailview>)
set_tests_properties(demo.WithoutADisplay PROPERTIES
  PASS_REGULAR_EXPRESSION "Screenshot: ${tree_regex}/demo-screenshot\\.png"
  TIMEOUT 120 LABELS window)

# The program loads no C++ runtime: it uses none, and loading libstdc++
# and libgcc_s costs every start-up a few milliseconds. The sanitizers'
# runtimes bring it with them, so their trees are not asked.
if(NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
  add_test(NAME linux.LoadsNoCxxRuntime
    COMMAND sh -c "objdump -p \"$1\" | grep NEEDED && ! objdump -p \"$1\" | grep -E 'NEEDED +lib(stdc[+][+]|gcc_s)'"
            sh $<TARGET_FILE:mailview>)
  set_tests_properties(linux.LoadsNoCxxRuntime PROPERTIES LABELS unit)
endif()
