# Linux: the program over a small GTK 3 stand-in for the Windows dialog
# functions (platform/gtk), its resources embedded in it.
find_package(PkgConfig REQUIRED)
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
find_program(LLVM_RC NAMES llvm-rc llvm-rc-14 REQUIRED)
find_program(GZIP gzip REQUIRED)

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
    else()
      check_linker_flag(CXX ${flag} ${takes})
    endif()
    if(${takes})
      cmake_language(CALL add_${kind}_options ${flag})
    endif()
  endforeach()
endfunction()
add_flags_taken(compile -fstack-protector-strong -fcf-protection
                -mbranch-protection=standard -fPIE)
add_flags_taken(link -pie -Wl,-z,relro -Wl,-z,now)
add_compile_options(-Wformat -Werror=format-security -Wdate-time
  "$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=3>")

set(MAILVIEW_DIALOGS gtk_standin)

# The manual page, compressed as Debian wants it: gzip -9 with no name or
# time stamp in the header (-n), so that the bytes depend only on the text.
set(manual ${CMAKE_BINARY_DIR}/man/mailview.1)
add_custom_command(OUTPUT ${manual}.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${MAILVIEW_GENERATED}/mailview.1 ${manual}
  COMMAND ${GZIP} -9nf ${manual}
  DEPENDS ${MAILVIEW_GENERATED}/mailview.1 VERBATIM)
add_custom_target(manual ALL DEPENDS ${manual}.gz)
install(FILES ${manual}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT program)
