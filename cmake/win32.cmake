# Windows: the real program, a GUI executable for 32-bit or 64-bit Windows
# built with mingw-w64, its resources compiled by windres.
enable_language(RC)
# Only the DLLs every Windows has: the C and C++ runtimes go in statically.
# Stripped: nothing reads the symbols, and a small file starts fast. No link
# time in the header, so that two builds of one commit are the same bytes.
add_link_options(-static-libgcc -static-libstdc++ -static -s
                 -Wl,--no-insert-timestamp)
