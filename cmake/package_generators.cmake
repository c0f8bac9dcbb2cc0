# Read by cpack once for each generator (CPACK_PROJECT_CONFIG_FILE): the
# Debian package holds the `linux` component, stripped; the zip holds the
# `windows` one, the executables as they were built.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_MAILVIEW_BINARY_DIR};mailview;linux;/")
  set(CPACK_STRIP_FILES ON)
elseif(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_MAILVIEW_BINARY_DIR};mailview;windows;/")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-windows")
endif()
