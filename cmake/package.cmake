# Packages, made by CPack from this build tree (make package):
#   mailview_<version>_amd64.deb     the Linux program, its manual page, the
#                                    copyright and changelog, as Debian wants
#   mailview-<version>-windows.zip   the 32-bit and 64-bit Windows executables
#                                    from their own build trees, and README.txt
# Each package installs one component: `linux` (also what `cmake --install`
# installs) or `windows`; cmake/package_generators.cmake picks it.

set(MAILVIEW_MAINTAINER "The mailview developers <mailview@example.org>"
  CACHE STRING "Maintainer of the packages: a name and a mail address")
set(MAILVIEW_WIN32_EXE ${CMAKE_SOURCE_DIR}/build/win32/mailview.exe
  CACHE FILEPATH "The 32-bit Windows executable that goes into the zip")
set(MAILVIEW_WIN64_EXE ${CMAKE_SOURCE_DIR}/build/win64/mailview.exe
  CACHE FILEPATH "The 64-bit Windows executable that goes into the zip")

set(PKG_DIR ${CMAKE_BINARY_DIR}/package-files)
file(MAKE_DIRECTORY ${PKG_DIR})

# Debian wants the manual page and the changelog compressed with gzip -9 and
# no name or time stamp in the header (-n), so that the bytes depend only on
# the text.
find_program(GZIP gzip REQUIRED)
set(PKG_GZIPPED)
foreach(source ${MAILVIEW_GENERATED}/mailview.1
               ${CMAKE_SOURCE_DIR}/packaging/changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${PKG_DIR}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${PKG_DIR}/${name}
    COMMAND ${GZIP} -9nf ${PKG_DIR}/${name}
    DEPENDS ${source}
    VERBATIM)
  list(APPEND PKG_GZIPPED ${PKG_DIR}/${name}.gz)
endforeach()
add_custom_target(package_files ALL DEPENDS ${PKG_GZIPPED})

# The licence text: in the Debian copyright file as a DEP-5 "License" field
# (each line indented, an empty line as " ."), whole in the zip's README.txt,
# which has CR LF line ends throughout, as Notepad and every Windows editor
# expect.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE MAILVIEW_LICENSE)
string(STRIP "${MAILVIEW_LICENSE}" MAILVIEW_LICENSE)
string(REGEX REPLACE "^.*\n(Permission )" "\\1" text "${MAILVIEW_LICENSE}")
string(REPLACE "\n\n" "\n.\n" text "${text}")
string(REPLACE "\n" "\n " MAILVIEW_LICENSE_TEXT " ${text}")
configure_file(packaging/copyright.in ${PKG_DIR}/copyright @ONLY)
file(READ ${CMAKE_SOURCE_DIR}/packaging/README.txt.in text)
string(CONFIGURE "${text}" text @ONLY)
file(GENERATE OUTPUT ${PKG_DIR}/README.txt CONTENT "${text}"
  NEWLINE_STYLE CRLF)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/packaging/README.txt.in)

# The manual page as plain text, also with CR LF ends, for the zip: where
# there is no man, the one full statement of how a message is read. Made
# when the tree is configured, as the page itself is.
find_program(GROFF groff)
if(GROFF)
  execute_process(
    COMMAND ${GROFF} -man -Tascii -P-cbou ${MAILVIEW_GENERATED}/mailview.1
    OUTPUT_VARIABLE text ERROR_VARIABLE err RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR err)
    message(FATAL_ERROR "groff could not render the manual page: ${err}")
  endif()
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${PKG_DIR}/mailview.txt "${text}")
else()
  message(STATUS "No groff: the Windows zip cannot be made here")
endif()

install(TARGETS mailview RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  COMPONENT linux)
install(FILES ${PKG_DIR}/mailview.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
  COMPONENT linux)
install(FILES ${PKG_DIR}/copyright ${PKG_DIR}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT linux)
install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
  RENAME mailview COMPONENT linux)
# Read only when the zip is made, so this tree builds without them.
install(FILES ${MAILVIEW_WIN32_EXE} DESTINATION win32
  COMPONENT windows EXCLUDE_FROM_ALL)
install(FILES ${MAILVIEW_WIN64_EXE} DESTINATION win64
  COMPONENT windows EXCLUDE_FROM_ALL)
install(FILES ${PKG_DIR}/README.txt ${PKG_DIR}/mailview.txt DESTINATION .
  COMPONENT windows EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB ZIP)
set(CPACK_VERBATIM_VARIABLES ON)  # the description holds quotes
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/package_generators.cmake)
set(CPACK_MAILVIEW_BINARY_DIR ${CMAKE_BINARY_DIR})
set(CPACK_MAILVIEW_SOURCE_DIR ${CMAKE_SOURCE_DIR})
set(CPACK_PACKAGE_NAME mailview)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})  # CPack's default drops the 4th
set(CPACK_PACKAGE_VENDOR "The mailview developers")
set(CPACK_PACKAGE_CONTACT ${MAILVIEW_MAINTAINER})
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "show outgoing mail in a window instead of sending it")
set(CPACK_PACKAGE_DESCRIPTION [[
mailview stands in for sendmail. Give it to PHP's mail(), git send-email
or a shell script as their mail program, and nothing is delivered: each
message they write is shown, exactly as written, in a read-only,
scrollable, fixed-pitch window titled "Send Mail", closed with OK, Enter
or Esc. The calling program waits until the window is closed.

It lets you see what a program would have mailed while you write or test
it. A message of 10,000 characters or more is refused with an
"Email too long" box. The exit status is always 0; without a display,
mailview reads the message and ends at once. The manual page, mailview(1),
gives the rules by which a message is read.]])
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/package_dirs.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/package_normalize.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION mail)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window marks control bytes with the Control Pictures (U+2400 to
# U+2421), which GTK's own DejaVu lacks. Recommended, not required: without
# it only those marks are boxes, and apt installs what is recommended
# unless told not to.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-freefont-ttf)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# The packages' tests.
if(NOT BUILD_TESTING)
  return()
endif()
set(PACKAGE_TEST ${CMAKE_SOURCE_DIR}/tests/package_test.sh)
add_test(NAME package.deb
  COMMAND ${PACKAGE_TEST} deb ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}
          ${CMAKE_CPACK_COMMAND} ${PROJECT_VERSION})
add_test(NAME package.windows_zip
  COMMAND ${PACKAGE_TEST} zip ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}
          ${CMAKE_CPACK_COMMAND} ${PROJECT_VERSION}
          ${MAILVIEW_WIN32_EXE} ${MAILVIEW_WIN64_EXE})
# One CPack at a time: each first brings this build tree up to date.
set_tests_properties(package.deb package.windows_zip PROPERTIES
  RESOURCE_LOCK cpack TIMEOUT 300 SKIP_RETURN_CODE 77 LABELS package)
# Slow: two more clones, each building the three programs.
add_test(NAME package.reproducible
  COMMAND ${CMAKE_SOURCE_DIR}/tests/reproducible_test.sh ${CMAKE_SOURCE_DIR})
set_tests_properties(package.reproducible PROPERTIES
  LABELS "package;slow" TIMEOUT 900 SKIP_RETURN_CODE 77)
# The program alone, the standard way: tests off, no GoogleTest, no libxtst,
# clang++ (slow: a build tree of its own).
add_test(NAME package.standalone_build
  COMMAND ${CMAKE_SOURCE_DIR}/tests/standalone_build_test.sh ${CMAKE_SOURCE_DIR})
set_tests_properties(package.standalone_build PROPERTIES
  LABELS "package;slow" TIMEOUT 600 SKIP_RETURN_CODE 77)
# In Debian 12 roots made afresh (tests/fresh_root_test.sh): make demo in a
# root holding only make, the README's build with g++, the .deb's font.
foreach(check demo build deb)
  add_test(NAME fresh.${check}
    COMMAND ${CMAKE_SOURCE_DIR}/tests/fresh_root_test.sh ${check}
            ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR} ${CMAKE_CPACK_COMMAND})
  set_tests_properties(fresh.${check} PROPERTIES
    LABELS "fresh;slow" TIMEOUT 1800 SKIP_RETURN_CODE 77)
endforeach()
set_tests_properties(fresh.deb PROPERTIES RESOURCE_LOCK cpack)
add_test(NAME package.version_stated_once
  COMMAND ${CMAKE_SOURCE_DIR}/tests/version_test.sh ${CMAKE_SOURCE_DIR}
          ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
set_tests_properties(package.version_stated_once PROPERTIES LABELS unit)
