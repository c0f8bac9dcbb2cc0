# Tests of the real program against faults, real callers and installation.
add_program_test(fault_tests tests/fault_test.cpp tests/display_child_test.cpp)
target_link_libraries(fault_tests PRIVATE PkgConfig::X11)
# Some put the program on a display or a compositor of their own.
gtest_discover_tests(fault_tests PROPERTIES LABELS window
                     SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")

add_test(NAME install COMMAND ${CMAKE_SOURCE_DIR}/tests/install_test.sh
         ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
set_tests_properties(install PROPERTIES LABELS package)

# PHP's mail() through the recording stand-in, and through the real window
# on a virtual display; Symfony Mailer's sendmail transport and PHPMailer's
# sendmail mailer in the real window.
add_program_test(caller_tests tests/caller_test.cpp)
target_compile_definitions(caller_tests PRIVATE
  SYMFONY_MAIL_PHP="${CMAKE_SOURCE_DIR}/tests/symfony_mail.php"
  PHPMAILER_MAIL_PHP="${CMAKE_SOURCE_DIR}/tests/phpmailer_mail.php")
add_test(NAME Callers.PhpMailShowsExactlyWhatPhpWrote
         COMMAND caller_tests --gtest_filter=Callers.PhpMailShowsExactlyWhatPhpWrote)
add_test(NAME Callers.PhpMailInTheRealWindow
         COMMAND ${CMAKE_SOURCE_DIR}/tests/with-display.sh $<TARGET_FILE:caller_tests>
                 --gtest_filter=Callers.PhpMailInTheRealWindow)
set_tests_properties(Callers.PhpMailShowsExactlyWhatPhpWrote PROPERTIES
  LABELS unit)
add_test(NAME Callers.SymfonyMailerInTheRealWindow
         COMMAND ${CMAKE_SOURCE_DIR}/tests/with-display.sh $<TARGET_FILE:caller_tests>
                 --gtest_filter=Callers.SymfonyMailerInTheRealWindow)
add_test(NAME Callers.PhpMailerInTheRealWindow
         COMMAND ${CMAKE_SOURCE_DIR}/tests/with-display.sh $<TARGET_FILE:caller_tests>
                 --gtest_filter=Callers.PhpMailerInTheRealWindow)
set_tests_properties(Callers.PhpMailInTheRealWindow Callers.SymfonyMailerInTheRealWindow
  Callers.PhpMailerInTheRealWindow PROPERTIES TIMEOUT 300 LABELS window)
