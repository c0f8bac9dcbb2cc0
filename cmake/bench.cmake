# Benchmarks (make bench): helpers that time mailview against cat, the
# floor and zenity.
# The presets build them with everything else so that they keep compiling;
# their own tests run with the others.
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
pkg_check_modules(XTST REQUIRED IMPORTED_TARGET xtst)
pkg_check_modules(GLIB REQUIRED IMPORTED_TARGET glib-2.0)

add_library(mailview_bench STATIC bench/figures.cpp bench/sample_mail.cpp)
target_include_directories(mailview_bench PUBLIC bench)
target_link_libraries(mailview_bench PUBLIC mailview_harness)

# The floor: the least GTK 3 program that shows a message as mailview does.
add_executable(floor_window bench/floor_window.cpp)
target_link_libraries(floor_window PRIVATE PkgConfig::GTK3)

add_executable(intake_bench bench/intake_bench.cpp)
target_link_libraries(intake_bench PRIVATE mailview_bench)

# What mailview's window shows, by the program's own intake and converter:
# the text the floor is given when it is to show the same.
add_library(mailview_window_text STATIC bench/window_text.cpp
            platform/gtk/edit_text.cpp)
target_include_directories(mailview_window_text PUBLIC bench platform/gtk)
target_link_libraries(mailview_window_text PUBLIC mailview_core PkgConfig::GLIB)

add_executable(startup_bench bench/startup_bench.cpp bench/startup_runs.cpp
               bench/hard_lines.cpp tests/adversarial_lines.cpp)
target_link_libraries(startup_bench PRIVATE mailview_bench mailview_window_text
                      PkgConfig::X11 PkgConfig::XTST)

if(BUILD_TESTING)
  add_executable(bench_tests bench/figures_test.cpp bench/sample_mail_test.cpp
                 bench/window_text_test.cpp)
  target_link_libraries(bench_tests PRIVATE mailview_bench mailview_window_text
                        GTest::gtest_main)
  gtest_discover_tests(bench_tests PROPERTIES LABELS unit)
endif()
