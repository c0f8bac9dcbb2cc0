# Whether this host runs the 32-bit executable, found by trying: the 32-bit
# Wine loader is asked its version each time the tree is configured. Where
# it cannot run, HOST_32BIT_WHY says why, and every run of the 32-bit
# executable is reported skipped with it: 32-bit Wine not installed (where
# scripts/deps.sh could not install it, it left why in MAILVIEW_UNAVAILABLE),
# or a 64-bit kernel with IA-32 emulation turned off ("Exec format error").
set(MAILVIEW_WINE32_LOADER /usr/lib/wine/wine CACHE FILEPATH
    "The 32-bit Wine loader, tried to learn whether 32-bit programs run here")
set(MAILVIEW_UNAVAILABLE ${PROJECT_SOURCE_DIR}/build/unavailable CACHE PATH
    "Where scripts/deps.sh says why it left out an architecture's packages")
set(HOST_32BIT_WHY)
if(EXISTS ${MAILVIEW_WINE32_LOADER})
  # Through bash, which reports a refused binary as the kernel's error
  # rather than handing it to sh as a script, as execvp does. Its first
  # line, less its "bash: line 1: " prefix.
  execute_process(COMMAND bash -c "exec \"$0\" --version" ${MAILVIEW_WINE32_LOADER}
                  RESULT_VARIABLE ran OUTPUT_QUIET ERROR_VARIABLE err)
  string(REGEX MATCH "[^\n]*" err "${err}")
  string(REGEX REPLACE "^.*: line 1: " "" err "${err}")
  if(NOT ran STREQUAL "0")
    set(HOST_32BIT_WHY "this host cannot execute 32-bit programs (${MAILVIEW_WINE32_LOADER} --version: ${err}, status ${ran})")
  endif()
elseif(EXISTS ${MAILVIEW_UNAVAILABLE}/i386)
  file(STRINGS ${MAILVIEW_UNAVAILABLE}/i386 why LIMIT_COUNT 1)
  string(REPLACE ";" "," why "${why}")  # one CMake list item, whatever apt said
  set(HOST_32BIT_WHY "the 32-bit Wine is not installed: ${why}")
else()
  set(HOST_32BIT_WHY "the 32-bit Wine is not installed (scripts/deps.sh test)")
endif()
if(HOST_32BIT_WHY)
  message(STATUS "Skipping the runs of the 32-bit executable: ${HOST_32BIT_WHY}")
endif()
