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

# PHP's mail() through the recording stand-in, and through the real window
# on a virtual display.
add_executable(caller_tests tests/caller_test.cpp tests/child.cpp tests/run_process.cpp)
target_include_directories(caller_tests PRIVATE tests)
target_link_libraries(caller_tests PRIVATE GTest::gtest_main)
target_compile_definitions(caller_tests PRIVATE
  MAILVIEW_RECORD="$<TARGET_FILE:mailview-record>"
  MAILVIEW_EXE="$<TARGET_FILE:mailview>")
add_dependencies(caller_tests mailview mailview-record)
add_test(NAME Callers.PhpMailShowsExactlyWhatPhpWrote
         COMMAND caller_tests --gtest_filter=Callers.PhpMailShowsExactlyWhatPhpWrote)
add_test(NAME Callers.PhpMailInTheRealWindow
         COMMAND ${CMAKE_SOURCE_DIR}/tests/with-display.sh $<TARGET_FILE:caller_tests>
                 --gtest_filter=Callers.PhpMailInTheRealWindow)
set_tests_properties(Callers.PhpMailInTheRealWindow PROPERTIES TIMEOUT 300)
