# Tests of the GTK stand-in for the dialog functions. The byte-level readers
# need no display; everything that opens a window runs each test on a
# virtual display of its own (tests/with-display.sh).

add_executable(gtk_unit_tests
  platform/gtk/dialog_template_test.cpp
  platform/gtk/edit_text_test.cpp
  platform/gtk/no_hyphens-gtk_test.cpp
  platform/gtk/res_file_test.cpp
  tests/adversarial_lines.cpp)
target_include_directories(gtk_unit_tests PRIVATE tests)
target_link_libraries(gtk_unit_tests PRIVATE mailview_gtk mailview_core
  GTest::gtest_main)
gtest_discover_tests(gtk_unit_tests PROPERTIES LABELS unit)
if(CMAKE_CROSSCOMPILING)
  return()
endif()

set(WITH_DISPLAY ${CMAKE_SOURCE_DIR}/tests/with-display.sh)

# The stand-in in this process, driven from inside its modal loop, with the
# view of its widgets that only the tests link.
add_executable(dialog_tests platform/gtk/dialog-gtk_test.cpp
  platform/gtk/dialog_widgets-gtk.cpp platform/gtk/short_items-gtk_test.cpp
  tests/adversarial_lines.cpp)
target_include_directories(dialog_tests PRIVATE tests)
target_link_libraries(dialog_tests PRIVATE mailview_gtk mailview_core
  GTest::gtest_main)
set_target_properties(dialog_tests PROPERTIES
  CROSSCOMPILING_EMULATOR ${WITH_DISPLAY})
gtest_discover_tests(dialog_tests DISCOVERY_MODE PRE_TEST
  PROPERTIES TIMEOUT 120 LABELS window)

# The real program on a virtual display, worked with xdotool and xclip.
add_executable(window_tests tests/window_test.cpp)
target_compile_definitions(window_tests PRIVATE
  MAILVIEW_EXE="$<TARGET_FILE:mailview>")
target_link_libraries(window_tests PRIVATE GTest::gtest_main mailview_harness
                      PkgConfig::X11)
add_dependencies(window_tests mailview)
set_target_properties(window_tests PROPERTIES
  CROSSCOMPILING_EMULATOR ${WITH_DISPLAY})
gtest_discover_tests(window_tests DISCOVERY_MODE PRE_TEST
  PROPERTIES TIMEOUT 120 LABELS window)

# Under the sanitizers the heaviest layouts take over 20 s: there they are
# labelled `slow` too, once CTest has found them.
if(CMAKE_CXX_FLAGS MATCHES "-fsanitize=")
  set(slow_tests ${CMAKE_BINARY_DIR}/slow_window_tests.cmake)
  file(WRITE ${slow_tests} "set_tests_properties(
  Dialog.EveryByteRepeatedToTheLimitKeepsTheWindowsSize
  Window.LinesThatNoWrapBreaksKeepTheWindowsSize
  PROPERTIES LABELS \"window;slow\")\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${slow_tests})
endif()

# Both windows as a screen reader finds them: read over AT-SPI, with an
# accessibility bus in a D-Bus session of the test's own.
add_test(NAME Accessibility.BothWindowsAreAnnouncedAsDialogs
  COMMAND ${WITH_DISPLAY} dbus-run-session --
          ${CMAKE_SOURCE_DIR}/tests/atspi_test.py $<TARGET_FILE:mailview>)
set_tests_properties(Accessibility.BothWindowsAreAnnouncedAsDialogs
  PROPERTIES TIMEOUT 300 LABELS window)
