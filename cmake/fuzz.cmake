# Fuzz targets: clang's libFuzzer with AddressSanitizer and UndefinedBehavior-
# Sanitizer, in a build tree of their own (preset `fuzz`). Each target is also
# a test that fuzzes for MAILVIEW_FUZZ_SECONDS, starting from the seed corpus
# kept in tests/fuzz/corpus/<name>; what it finds goes to the build tree.
# The target fuzz-long (`make fuzz-long RUNS=n`) runs each of them in turn
# for MAILVIEW_FUZZ_RUNS executions instead, and reports their figures.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "The fuzz targets need clang (libFuzzer)")
endif()

set(MAILVIEW_FUZZ_SECONDS 60 CACHE STRING "How long each fuzz test runs")
set(MAILVIEW_FUZZ_RUNS 1000000 CACHE STRING
    "How many executions the target fuzz-long gives each fuzz target")

set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all)
add_compile_options(${SANITIZE} -fsanitize=fuzzer-no-link -fno-omit-frame-pointer)
add_link_options(${SANITIZE} -fsanitize=fuzzer)

set(FUZZ_DIR ${CMAKE_SOURCE_DIR}/tests/fuzz)
set(FUZZ_LONG_DIR ${CMAKE_BINARY_DIR}/long)

# add_fuzz_target(NAME SOURCE...): builds NAME_fuzzer and the test fuzz_NAME,
# and adds its long run to the target fuzz-long.
function(add_fuzz_target name)
  add_executable(${name}_fuzzer ${ARGN})
  target_include_directories(${name}_fuzzer PRIVATE ${MAILVIEW_INCLUDES})
  set(work ${CMAKE_BINARY_DIR}/corpus/${name})
  set(found ${CMAKE_BINARY_DIR}/found/${name}/)
  file(MAKE_DIRECTORY ${work} ${found})
  set(dict)
  if(EXISTS ${FUZZ_DIR}/${name}.dict)
    set(dict -dict=${FUZZ_DIR}/${name}.dict)
  endif()
  set(options -timeout=20 -rss_limit_mb=2048 -print_final_stats=1
      -artifact_prefix=${found} ${dict} ${work} ${FUZZ_DIR}/corpus/${name})
  add_test(NAME fuzz_${name}
    COMMAND ${name}_fuzzer -max_total_time=${MAILVIEW_FUZZ_SECONDS} ${options})
  set_tests_properties(fuzz_${name} PROPERTIES LABELS "fuzz;slow")
  set_property(GLOBAL APPEND PROPERTY FUZZ_LONG_RUNS
    COMMAND ${FUZZ_DIR}/fuzz-long.sh run ${FUZZ_LONG_DIR} ${name}
            $<TARGET_FILE:${name}_fuzzer> -runs=${MAILVIEW_FUZZ_RUNS} ${options})
  set_property(GLOBAL APPEND PROPERTY FUZZ_TARGETS ${name}_fuzzer)
endfunction()

list(APPEND MAILVIEW_INCLUDES platform/linux platform/gtk)

add_fuzz_target(intake
  tests/fuzz/intake_fuzzer.cpp
  intake/display_text.cpp
  intake/read_mail.cpp
  intake/text_input.cpp
  platform/stdin-posix.cpp)
# The reference reader compares every byte it models with the control
# characters; handing each comparison to libFuzzer would cost most of a run
# and teach it nothing that the code's own comparisons do not. Its branches
# still count as coverage.
set_source_files_properties(tests/fuzz/intake_fuzzer.cpp PROPERTIES
  COMPILE_OPTIONS -fno-sanitize-coverage=trace-cmp)

# The Linux window's byte readers: the text conversion (GLib) and the
# compiled-resource and dialog-template readers.
find_package(PkgConfig REQUIRED)
pkg_check_modules(GLIB REQUIRED IMPORTED_TARGET glib-2.0)
add_fuzz_target(edit_text
  tests/fuzz/edit_text_fuzzer.cpp
  platform/gtk/edit_text.cpp)
target_link_libraries(edit_text_fuzzer PRIVATE PkgConfig::GLIB)

add_fuzz_target(dialog_template
  tests/fuzz/dialog_template_fuzzer.cpp
  platform/gtk/dialog_template.cpp
  platform/gtk/res_file.cpp)

# fuzz-long: each target in turn until MAILVIEW_FUZZ_RUNS executions, then
# the figures of every run; it fails if any run found something.
get_property(runs GLOBAL PROPERTY FUZZ_LONG_RUNS)
get_property(targets GLOBAL PROPERTY FUZZ_TARGETS)
add_custom_target(fuzz-long
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${FUZZ_LONG_DIR}
  ${runs}
  COMMAND ${FUZZ_DIR}/fuzz-long.sh report ${FUZZ_LONG_DIR}
  USES_TERMINAL VERBATIM)
add_dependencies(fuzz-long ${targets})
