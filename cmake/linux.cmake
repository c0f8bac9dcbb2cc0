# Linux: the program over a small GTK 3 stand-in for the Windows dialog
# functions, and the tests.
find_package(PkgConfig REQUIRED)
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
find_program(LLVM_RC NAMES llvm-rc llvm-rc-14 REQUIRED)

# Hardened as Debian builds its packages: what dpkg-buildflags gives with
# hardening=+all (tests/package_test.sh compares the two), and the
# control-flow protection that newer dpkg adds: -fcf-protection on x86,
# -mbranch-protection on arm64. Each where the target's compiler or linker
# takes it. _FORTIFY_SOURCE at level 3, as at level 2 no copy into the
# message store is checked (their offsets are not constants), in place of
# any level a packager's flags give; it needs the optimiser, so not in Debug.
include(CheckCXXCompilerFlag)
include(CheckLinkerFlag)
# add_flags_taken(compile|link FLAG...): adds each FLAG that the compiler,
# or the linker, takes for the target. As errors: clang only warns of a
# flag that is for another processor.
function(add_flags_taken kind)
  set(CMAKE_REQUIRED_FLAGS -Werror)
  foreach(flag ${ARGN})
    string(MAKE_C_IDENTIFIER "TAKES_${kind}${flag}" takes)
    if(kind STREQUAL compile)
      check_cxx_compiler_flag(${flag} ${takes})
      if(${takes})
        add_compile_options(${flag})
      endif()
    else()
      check_linker_flag(CXX ${flag} ${takes})
      if(${takes})
        add_link_options(${flag})
      endif()
    endif()
  endforeach()
endfunction()
add_flags_taken(compile -fstack-protector-strong -fcf-protection
                -mbranch-protection=standard -fPIE)
add_flags_taken(link -pie -Wl,-z,relro -Wl,-z,now)
add_compile_options(-Wformat -Werror=format-security -Wdate-time
  "$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=3>")

# The Windows-facing headers come from platform/linux on this side.
list(APPEND MAILVIEW_INCLUDES platform/linux)

# mailview.rc compiled to a .res and embedded: the dialog stand-in reads the
# window's layout from the same bytes as Windows does. The script is first
# run through this build's own compiler's preprocessor, as a C file with
# RC_INVOKED defined, as the resource compiler would have it: llvm-rc's own
# preprocessing needs clang, which a build with g++ need not have. llvm-rc
# takes any argument that starts with '/' as an option (/check/... is
# /C "heck/..."), so the input file comes after "--"; it finds the icon and
# the manifest in resources/, its working folder.
set(RES ${CMAKE_BINARY_DIR}/mailview.res)
set(RC_INCLUDES ${CMAKE_SOURCE_DIR}/platform/linux ${CMAKE_SOURCE_DIR}/resources
    ${MAILVIEW_GENERATED})
set(rc_cpp_includes)
set(rc_includes)
foreach(dir ${RC_INCLUDES})
  list(APPEND rc_cpp_includes -I ${dir})
  list(APPEND rc_includes /I ${dir})
endforeach()
add_custom_command(OUTPUT ${RES}
  COMMAND ${CMAKE_CXX_COMPILER} -E -x c -DRC_INVOKED ${rc_cpp_includes}
          -o ${CMAKE_BINARY_DIR}/mailview.rc.i
          ${CMAKE_SOURCE_DIR}/resources/mailview.rc
  COMMAND ${LLVM_RC} /no-preprocess ${rc_includes} /FO ${RES}
          -- ${CMAKE_BINARY_DIR}/mailview.rc.i
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
  platform/stdin-posix.cpp
  platform/instance-posix.cpp
  ${CMAKE_BINARY_DIR}/program_res.cpp)
target_include_directories(mailview_core PUBLIC ${MAILVIEW_INCLUDES})

# The dialog functions on GTK 3 (platform/gtk).
# An object library: the Pango override in no_hyphens-gtk.cpp is found by GTK
# at run time, never by the linker, so nothing may leave it out.
add_library(mailview_gtk OBJECT
  platform/gtk/dialog-gtk.cpp
  platform/gtk/dialog_template.cpp
  platform/gtk/dialog_window-gtk.cpp
  platform/gtk/edit_text.cpp
  platform/gtk/msgbox-gtk.cpp
  platform/gtk/no_hyphens-gtk.cpp
  platform/gtk/res_file.cpp
  platform/gtk/short_items-gtk.cpp)
target_include_directories(mailview_gtk PUBLIC ${MAILVIEW_INCLUDES} platform/gtk)
target_link_libraries(mailview_gtk PUBLIC PkgConfig::GTK3)

# The program shows its windows from a child process (desktop-posix.cpp).
add_executable(mailview platform/main-posix.cpp platform/desktop-posix.cpp)
target_link_libraries(mailview PRIVATE mailview_core mailview_gtk)

# The tests, and the benchmarks, each when asked for. In a tree built for
# another processor, whose programs run under an emulator, only the tests
# that need no display.
if(BUILD_TESTING OR MAILVIEW_BENCH)
  include(cmake/harness.cmake)
endif()
if(BUILD_TESTING)
  include(cmake/tests.cmake)
  include(cmake/gtk_tests.cmake)
endif()
if(MAILVIEW_BENCH)
  include(cmake/bench.cmake)
endif()
