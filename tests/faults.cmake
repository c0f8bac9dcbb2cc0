# Tests of the real program against faults, real callers and installation.
add_executable(fault_tests tests/fault_test.cpp tests/child.cpp tests/run_process.cpp)
target_include_directories(fault_tests PRIVATE tests)
target_link_libraries(fault_tests PRIVATE GTest::gtest_main util)
target_compile_definitions(fault_tests PRIVATE
  MAILVIEW_RECORD="$<TARGET_FILE:mailview-record>"
  MAILVIEW_EXE="$<TARGET_FILE:mailview>")
add_dependencies(fault_tests mailview mailview-record)
gtest_discover_tests(fault_tests)

add_test(NAME install COMMAND ${CMAKE_SOURCE_DIR}/tests/install_test.sh
         ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
