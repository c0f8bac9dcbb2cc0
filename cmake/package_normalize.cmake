# Run by cpack once a package is made (CPACK_POST_BUILD_SCRIPTS). CPack's
# zip holds its files in the order the file system lists them, with the
# owner of whoever made it: strip-nondeterminism sorts them and clears the
# owners and times, so that the zip's bytes depend only on what it holds.
if(NOT CPACK_GENERATOR STREQUAL "ZIP")
  return()
endif()
find_program(STRIP_NONDETERMINISM strip-nondeterminism)
if(NOT STRIP_NONDETERMINISM)
  message(FATAL_ERROR "strip-nondeterminism is not installed (scripts/deps.sh test)")
endif()
# Without a time from the last commit or the caller, the zip's are 1980's.
set(timestamp)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(timestamp --timestamp $ENV{SOURCE_DATE_EPOCH})
endif()
foreach(zip IN LISTS CPACK_PACKAGE_FILES)
  execute_process(COMMAND ${STRIP_NONDETERMINISM} --type zip ${timestamp} ${zip}
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "strip-nondeterminism ${zip}: ${status}")
  endif()
endforeach()
