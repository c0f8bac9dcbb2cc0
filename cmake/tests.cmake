# Tests on Linux: GoogleTest units beside the code, process-level tests in tests/.
find_package(GTest REQUIRED)
include(GoogleTest)

add_executable(mailview_tests
  intake/display_text_test.cpp
  intake/read_mail_test.cpp
  intake/text_input_test.cpp
  viewer/send_mail_test.cpp)
target_link_libraries(mailview_tests PRIVATE mailview_core GTest::gtest_main)
gtest_discover_tests(mailview_tests)

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
gtest_discover_tests(process_tests)
include(tests/faults.cmake)

add_test(NAME deps.DemoInstallsNoTestPackages
         COMMAND ${CMAKE_SOURCE_DIR}/tests/deps_test.sh ${CMAKE_SOURCE_DIR})

# make demo on a machine without a display: the window on a virtual one,
# a screenshot, closed with Enter.
add_test(NAME demo.WithoutADisplay
  COMMAND env -u DISPLAY -u WAYLAND_DISPLAY ${CMAKE_SOURCE_DIR}/scripts/demo.sh)
set_tests_properties(demo.WithoutADisplay PROPERTIES
  PASS_REGULAR_EXPRESSION "Screenshot: .*demo-screenshot.png" TIMEOUT 120)

# The program loads no C++ runtime: it uses none, and loading libstdc++
# and libgcc_s costs every start-up a few milliseconds.
add_test(NAME linux.LoadsNoCxxRuntime
  COMMAND sh -c "objdump -p \"$1\" | grep NEEDED && ! objdump -p \"$1\" | grep -E 'NEEDED +lib(stdc[+][+]|gcc_s)'"
          sh $<TARGET_FILE:mailview>)
