# Read by cpack once for each generator (CPACK_PROJECT_CONFIG_FILE): the
# Debian package holds the components `program` (the program stripped, and
# its manual page) and `deb` (Debian's own files); the zip holds `windows`,
# the executables as they were built.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_MAILVIEW_BINARY_DIR};mailview;program;/;${CPACK_MAILVIEW_BINARY_DIR};mailview;deb;/")
  set(CPACK_STRIP_FILES ON)
elseif(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_MAILVIEW_BINARY_DIR};mailview;windows;/")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-windows")
endif()

# Every time in the packages is that of the last commit, unless the caller
# gives one: CPack's archives, and the gzip headers, take it from
# SOURCE_DATE_EPOCH.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${CPACK_MAILVIEW_SOURCE_DIR}
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(epoch MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} ${epoch})
  else()
    message(WARNING "Not a git checkout and no SOURCE_DATE_EPOCH: the "
                    "packages will hold the time they were made")
  endif()
endif()
