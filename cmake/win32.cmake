# The real program: a 32-bit GUI executable for Windows.
enable_language(RC)

add_executable(mailview WIN32
  ${MAILVIEW_SOURCES}
  platform/stdin-win32.cpp
  resources/mailview.rc)
target_include_directories(mailview PRIVATE ${MAILVIEW_INCLUDES})
# Only the DLLs every Windows has: the C and C++ runtimes go in statically.
target_link_options(mailview PRIVATE -static-libgcc -static-libstdc++ -static)
