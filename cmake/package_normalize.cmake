# Run by cpack before a package is made, its files staged
# (CPACK_PRE_BUILD_SCRIPTS), and after (CPACK_POST_BUILD_SCRIPTS, which
# sets CPACK_PACKAGE_FILES), so that its bytes depend only on what it
# holds. Before: every directory gets mode 755, which mkdir and a umask of
# 077 would not give. After: the zip, whose files come in the file system's
# order and with their owners, has them sorted and its owners and times
# cleared by strip-nondeterminism.
if(NOT DEFINED CPACK_PACKAGE_FILES)
  file(CHMOD_RECURSE ${CPACK_TEMPORARY_DIRECTORY} DIRECTORY_PERMISSIONS OWNER_READ
       OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
elseif(CPACK_GENERATOR STREQUAL "ZIP")
  find_program(STRIP_NONDETERMINISM strip-nondeterminism REQUIRED)
  set(timestamp)
  if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(timestamp --timestamp $ENV{SOURCE_DATE_EPOCH})
  endif()
  foreach(zip IN LISTS CPACK_PACKAGE_FILES)
    execute_process(COMMAND ${STRIP_NONDETERMINISM} --type zip ${timestamp} ${zip}
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
endif()
