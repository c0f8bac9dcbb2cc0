# Whether this host executes 32-bit programs, found by trying: the 32-bit
# Wine loader is asked its version each time the tree is configured. Some
# 64-bit kernels have IA-32 emulation turned off and answer "Exec format
# error"; there every run of the 32-bit executable is skipped, with the
# reason in HOST_32BIT_WHY.
set(MAILVIEW_WINE32_LOADER /usr/lib/wine/wine CACHE FILEPATH
    "The 32-bit Wine loader, tried to learn whether 32-bit programs run here")

if(NOT EXISTS ${MAILVIEW_WINE32_LOADER})
  set(ran "it is not installed")
  # scripts/deps.sh leaves there why it could not install it.
  set(deps_said ${CMAKE_SOURCE_DIR}/build/unavailable/i386)
  if(EXISTS ${deps_said})
    file(STRINGS ${deps_said} deps_said LIMIT_COUNT 1)
    set(HOST_32BIT_WHY "the 32-bit Wine is not installed: ${deps_said}")
  endif()
else()
  # Through bash, which reports a refused binary as the kernel's error
  # ("cannot execute binary file: Exec format error") rather than handing
  # it to sh as a script, as execvp does.
  execute_process(COMMAND bash -c "exec \"$0\" --version"
                          ${MAILVIEW_WINE32_LOADER}
                  RESULT_VARIABLE ran OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT ran STREQUAL "0" AND err)
    # bash's first line, less its "bash: line 1: " prefix.
    string(REGEX MATCH "[^\n]+" err "${err}")
    string(REGEX REPLACE "^.*: line 1: " "" ran "${err}")
  endif()
endif()

if(ran STREQUAL "0")
  set(HOST_RUNS_32BIT TRUE)
  message(STATUS "32-bit programs run on this host")
else()
  set(HOST_RUNS_32BIT FALSE)
  if(NOT HOST_32BIT_WHY)
    set(HOST_32BIT_WHY "this host cannot execute 32-bit programs (${MAILVIEW_WINE32_LOADER} --version: ${ran})")
  endif()
  message(STATUS "Skipping the runs of the 32-bit executable: ${HOST_32BIT_WHY}")
endif()
