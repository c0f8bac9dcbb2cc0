# The one harness that starts programs, for the tests and the benchmarks.
find_package(Threads REQUIRED)
add_library(mailview_harness STATIC tests/displays.cpp tests/harness-linux.cpp
            tests/harness-posix.cpp tests/recorded.cpp)
target_include_directories(mailview_harness PUBLIC tests)
target_link_libraries(mailview_harness PUBLIC util Threads::Threads)
