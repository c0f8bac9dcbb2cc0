# Tests on Linux: GoogleTest units beside the code, process-level tests in tests/.
find_package(GTest REQUIRED)
include(GoogleTest)

# The same program over a recording stand-in, for tests without a display.
add_executable(mailview-record platform/main-posix.cpp tests/dialogs-record.cpp
  tests/desktop-record.cpp)
target_link_libraries(mailview-record PRIVATE mailview_core)

add_executable(mailview_tests
  intake/display_text_test.cpp
  intake/read_mail_test.cpp
  intake/text_input_test.cpp
  platform/desktop-posix.cpp
  platform/desktop-posix_test.cpp
  viewer/send_mail_test.cpp)
target_link_libraries(mailview_tests PRIVATE mailview_core GTest::gtest_main)
gtest_discover_tests(mailview_tests PROPERTIES LABELS unit)

# In a tree built for another processor the tests run under its emulator
# (CMAKE_CROSSCOMPILING_EMULATOR), and so must the programs they start: the
# kernel may not know that processor's programs. Each goes through a
# launcher there.
foreach(program mailview mailview-record)
  string(MAKE_C_IDENTIFIER "RUN_${program}" run)
  set(${run} $<TARGET_FILE:${program}>)
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " emulator)
    set(${run} ${CMAKE_BINARY_DIR}/emulated/${program})
    file(GENERATE OUTPUT ${${run}}
      CONTENT "#!/bin/sh\nexec ${emulator} $<TARGET_FILE:${program}> \"$@\"\n"
      FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                       GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()

# add_program_test(NAME SOURCE...): a test executable that runs the real
# programs, told where mailview and its recording twin are.
function(add_program_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE GTest::gtest_main mailview_harness)
  target_compile_definitions(${name} PRIVATE
    MAILVIEW_RECORD="${RUN_mailview_record}" MAILVIEW_EXE="${RUN_mailview}")
  add_dependencies(${name} mailview mailview-record)
endfunction()

add_program_test(process_tests tests/harness_test.cpp tests/process_test.cpp)
gtest_discover_tests(process_tests PROPERTIES LABELS unit
                     SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")

# The programs are built for the processor this tree is for.
add_test(NAME elf.machine
  COMMAND ${CMAKE_SOURCE_DIR}/tests/elf_machine_test.sh ${CMAKE_SYSTEM_PROCESSOR}
          $<TARGET_FILE:mailview> $<TARGET_FILE:mailview-record>)
set_tests_properties(elf.machine PROPERTIES LABELS unit SKIP_RETURN_CODE 77)

# The program loads no C++ runtime: it uses none, and loading libstdc++
# and libgcc_s costs every start-up a few milliseconds. The sanitizers'
# runtimes bring it with them, so their trees are not asked.
if(NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
  add_test(NAME linux.LoadsNoCxxRuntime
    COMMAND sh -c "\"$0\" -p \"$1\" | grep NEEDED && ! \"$0\" -p \"$1\" | grep -E 'NEEDED +lib(stdc[+][+]|gcc_s)'"
            ${CMAKE_OBJDUMP} $<TARGET_FILE:mailview>)
  set_tests_properties(linux.LoadsNoCxxRuntime PROPERTIES LABELS unit)
endif()

# The rest needs a display, PHP or this host's own tools: not in a tree for
# another processor.
if(CMAKE_CROSSCOMPILING)
  return()
endif()
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
include(tests/faults.cmake)

add_test(NAME deps.DemoInstallsNoTestPackages
         COMMAND ${CMAKE_SOURCE_DIR}/tests/deps_test.sh ${CMAKE_SOURCE_DIR})
set_tests_properties(deps.DemoInstallsNoTestPackages PROPERTIES LABELS unit)
add_test(NAME deps.OutOfStepArchive
         COMMAND ${CMAKE_SOURCE_DIR}/tests/deps_archive_test.sh ${CMAKE_SOURCE_DIR})
set_tests_properties(deps.OutOfStepArchive PROPERTIES LABELS unit)
add_test(NAME make.SaysWhatWasSkipped
         COMMAND ${CMAKE_SOURCE_DIR}/tests/skipped_test.sh ${CMAKE_SOURCE_DIR}
                 ${CMAKE_CTEST_COMMAND})
set_tests_properties(make.SaysWhatWasSkipped PROPERTIES LABELS unit)

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

