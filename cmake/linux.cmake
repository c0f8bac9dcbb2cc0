# Linux: the program over a small GTK 3 stand-in for the Windows dialog
# functions, and the tests.
find_package(PkgConfig REQUIRED)
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
find_program(LLVM_RC NAMES llvm-rc llvm-rc-14 REQUIRED)

# Hardened as Debian builds its packages: what dpkg-buildflags gives with
# hardening=+all (tests/package_test.sh compares the two), and the
# control-flow protection that newer dpkg adds on amd64. _FORTIFY_SOURCE at
# level 3, as at level 2 no copy into the message store is checked (their
# offsets are not constants); it needs the optimiser, so not in Debug.
add_compile_options(-fstack-protector-strong -fcf-protection -fPIE
  -Wformat -Werror=format-security -Wdate-time
  $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=3>)
add_link_options(-pie -Wl,-z,relro -Wl,-z,now)

# The Windows-facing headers come from platform/linux on this side.
list(APPEND MAILVIEW_INCLUDES platform/linux)

# mailview.rc compiled to a .res and embedded: the dialog stand-in reads the
# window's layout from the same bytes as Windows does. llvm-rc takes any
# argument that starts with '/' as an option (/check/... is /C "heck/..."),
# so the input file comes after "--".
set(RES ${CMAKE_BINARY_DIR}/mailview.res)
add_custom_command(OUTPUT ${RES}
  COMMAND ${LLVM_RC} /I ${CMAKE_SOURCE_DIR}/platform/linux
          /I ${CMAKE_SOURCE_DIR}/resources /I ${MAILVIEW_GENERATED} /FO ${RES}
          -- ${CMAKE_SOURCE_DIR}/resources/mailview.rc
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/resources
  DEPENDS resources/mailview.rc resources/resource.h resources/mailview.ico
          resources/mailview.manifest platform/linux/windows.h
          ${MAILVIEW_GENERATED}/version.h
  VERBATIM)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/program_res.cpp
  COMMAND ${CMAKE_COMMAND} -DINPUT=${RES}
          -DOUTPUT=${CMAKE_BINARY_DIR}/program_res.cpp -DNAME=programRes
          -P ${CMAKE_SOURCE_DIR}/cmake/embed.cmake
  DEPENDS ${RES} cmake/embed.cmake
  VERBATIM)

# Everything but the dialog functions: shared by the program and its tests.
add_library(mailview_core STATIC
  ${MAILVIEW_SOURCES}
  platform/desktop-posix.cpp
  platform/stdin-posix.cpp
  platform/program_instance.cpp
  ${CMAKE_BINARY_DIR}/program_res.cpp)
target_include_directories(mailview_core PUBLIC ${MAILVIEW_INCLUDES})

# The dialog functions on GTK 3 (platform/gtk).
# An object library: the Pango override in no_hyphens.cpp is found by GTK
# at run time, never by the linker, so nothing may leave it out.
add_library(mailview_gtk OBJECT
  platform/gtk/dialog-gtk.cpp
  platform/gtk/dialog_template.cpp
  platform/gtk/dialog_window-gtk.cpp
  platform/gtk/edit_text.cpp
  platform/gtk/gtk_display.cpp
  platform/gtk/msgbox-gtk.cpp
  platform/gtk/no_hyphens.cpp
  platform/gtk/res_file.cpp
  platform/gtk/short_items.cpp)
target_include_directories(mailview_gtk PUBLIC ${MAILVIEW_INCLUDES} platform/gtk)
target_link_libraries(mailview_gtk PUBLIC PkgConfig::GTK3)

# The program talks to the display from a child process; the tests that
# drive dialogs in their own process use tests/display_in_process.cpp.
add_executable(mailview platform/main-posix.cpp platform/gtk/display_child.cpp)
target_link_libraries(mailview PRIVATE mailview_core mailview_gtk)

# The same program over a recording stand-in, for tests without a display.
add_executable(mailview-record platform/main-posix.cpp tests/dialogs-record.cpp)
target_link_libraries(mailview-record PRIVATE mailview_core)

include(cmake/tests.cmake)
include(cmake/gtk_tests.cmake)
include(cmake/bench.cmake)
