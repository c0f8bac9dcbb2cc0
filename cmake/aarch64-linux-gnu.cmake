# Cross-compiling the Linux program for arm64 with Debian's cross toolchain
# (g++-aarch64-linux-gnu) and arm64 libraries through multiarch
# (libgtk-3-dev:arm64, ...). The tests run under qemu-user.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
# pkgconf:arm64's wrapper, which reads the arm64 .pc files only.
set(PKG_CONFIG_EXECUTABLE aarch64-linux-gnu-pkg-config)
find_program(MAILVIEW_QEMU_AARCH64 qemu-aarch64-static qemu-aarch64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${MAILVIEW_QEMU_AARCH64})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
