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
foreach(zip IN LISTS CPACK_PACKAGE_FILES)
  execute_process(COMMAND ${STRIP_NONDETERMINISM} --type zip
                          --timestamp $ENV{SOURCE_DATE_EPOCH} ${zip}
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "strip-nondeterminism ${zip}: ${status}")
  endif()
endforeach()
