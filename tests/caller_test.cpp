// Real callers: PHP's mail() pointed at mailview through sendmail_path,
// Symfony Mailer's sendmail transport and PHPMailer's sendmail mailer.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "displays.h"
#include "harness.h"
#include "recorded.h"

namespace {

const char* const kRecord = MAILVIEW_RECORD;
const char* const kMailview = MAILVIEW_EXE;

// PHP run with no standard input; its standard error where `err` says.
Options ForPhp(int err = INHERIT) {
  Options o;
  o.stdinKind = CLOSED;
  o.err = err;
  return o;
}

const char kMailCall[] =
    "var_dump(mail('to@example.org', 'Gr\xC3\xBC\xC3\x9F" "e from PHP',"
    " \"Line one\\nLine two\\r\\n\\tLast line\","
    " \"From: me@example.org\\r\\nX-Mailer: caller test\"));";

// What PHP 8.2 writes: its own header lines and the extra headers each end
// in CR LF, then an empty line; the body goes as given, plus a CR LF.
const char kWritten[] =
    "To: to@example.org\r\n"
    "Subject: Gr\xC3\xBC\xC3\x9F" "e from PHP\r\n"
    "From: me@example.org\r\n"
    "X-Mailer: caller test\r\n"
    "\r\n"
    "Line one\nLine two\r\n\tLast line\r\n";

// Runs PHP's mail() with `sendmail_path`; returns PHP's standard output.
std::string RunPhp(const std::string& sendmailPath, int* status) {
  Result php = RunProgram({"php", "-n", "-d", "sendmail_path=" + sendmailPath, "-r", kMailCall},
                   ForPhp());
  *status = php.status;
  return php.out;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
    text.replace(at, from.size(), to);
  return text;
}

// The bytes of `dir`/written, which is then removed with `dir`.
std::string TakeWritten(const char* dir) {
  std::string file = std::string(dir) + "/written";
  std::ifstream in(file, std::ios::binary);
  std::stringstream written;
  written << in.rdbuf();
  unlink(file.c_str());
  rmdir(dir);
  return written.str();
}

// `text` with every LF that follows no CR made a CR LF pair.
std::string WithCRLF(const std::string& text) {
  return Replace(Replace(text, "\r\n", "\n"), "\n", "\r\n");
}

TEST(Callers, PhpMailShowsExactlyWhatPhpWrote) {
  char dir[] = "/tmp/mailview-php-XXXXXX";
  ASSERT_TRUE(mkdtemp(dir));
  int status;
  EXPECT_EQ("bool(true)\n", RunPhp(std::string("cat > ") + dir + "/written", &status));
  EXPECT_EQ(kWritten, TakeWritten(dir));

  // The usual form of the setting: mail() waits for mailview and succeeds.
  std::string out = RunPhp(std::string(kRecord) + " -t -i", &status);
  EXPECT_EQ(0, status);
  size_t result = out.rfind("bool(");
  ASSERT_NE(std::string::npos, result) << out;
  EXPECT_EQ("bool(true)\n", out.substr(result));
  std::string shown;
  ASSERT_TRUE(RecordedText(out, 1121, &shown)) << out;
  EXPECT_EQ(WithCRLF(kWritten), shown);
}

// Waits for the Send Mail window on this display, copies all its text (the
// text area takes the focus from OK with Tab) and closes it with Enter. The
// text, its line breaks as LF; false when no window came or keys failed.
bool CopyWindowTextAndClose(std::string* text) {
  std::string window = FindWindow("Send Mail", 60);
  if (window.empty() || !PressIn(window, {"Tab", "ctrl+a", "ctrl+c"}))
    return false;
  // The window breaks lines at CR LF; the clipboard has them as LF.
  *text = Replace(Clipboard([](const std::string& got) { return !got.empty(); }), "\r\n", "\n");
  return PressIn(window, {"Return"});
}

TEST(Callers, PhpMailInTheRealWindow) {
  Process php;
  ASSERT_TRUE(Start(&php, {"php", "-n", "-d", std::string("sendmail_path=") + kMailview + " -t -i",
                           "-r", kMailCall},
                    ForPhp()));
  std::string copied;
  ASSERT_TRUE(CopyWindowTextAndClose(&copied));
  std::string out = ReadToEnd(&php, 60);
  EXPECT_EQ(0, WaitForExit(&php, 60));
  EXPECT_EQ("bool(true)\n", out);
  EXPECT_EQ(Replace(kWritten, "\r\n", "\n"), copied);
}

// Symfony Mailer (and the frameworks on it) with the command `mailview -t -i`.
// A tee in front keeps what the transport wrote; its Message-ID, Date and
// boundary differ from run to run. With -t and no -i the transport doubles
// a line's leading dot, and the window would show the dot doubled.
TEST(Callers, SymfonyMailerInTheRealWindow) {
  char dir[] = "/tmp/mailview-symfony-XXXXXX";
  ASSERT_TRUE(mkdtemp(dir));
  std::string file = std::string(dir) + "/written";
  Process php;
  ASSERT_TRUE(Start(&php, {"php", "-n", "-d", "extension=mbstring", SYMFONY_MAIL_PHP,
                           "tee " + file + " | " + kMailview + " -t -i"},
                    ForPhp(CAPTURE)));
  std::string copied;
  bool shown = CopyWindowTextAndClose(&copied);
  std::string out = ReadToEnd(&php, 60);
  EXPECT_EQ(0, WaitForExit(&php, 60));
  EXPECT_EQ("sent\n", out);  // send() returned, without an exception
  std::string written = TakeWritten(dir);
  ASSERT_TRUE(shown);
  EXPECT_NE(std::string::npos, copied.find("\n\nFirst line\n.dot line\nLast line\n"));
  EXPECT_NE(std::string::npos, copied.find("filename=data.bin\n\nAAH+IG1haWx2aWV3"));
  EXPECT_EQ(written, copied);
}

// PHPMailer's isSendmail() with $mail->Sendmail set, as the README says. It
// runs the command through escapeshellcmd, so no pipeline: a script of ours
// keeps a copy of what PHPMailer wrote and hands it to mailview with the
// arguments it was given (PHPMailer adds -oi -f... -t).
TEST(Callers, PhpMailerInTheRealWindow) {
  char dir[] = "/tmp/mailview-phpmailer-XXXXXX";
  ASSERT_TRUE(mkdtemp(dir));
  std::string keep = std::string(dir) + "/keep";
  std::ofstream(keep) << "#!/bin/sh\ntee " << dir << "/written | " << kMailview << " \"$@\"\n";
  ASSERT_EQ(0, chmod(keep.c_str(), 0755));
  Process php;
  ASSERT_TRUE(Start(&php, {"php", "-n", "-d", "extension=ctype", "-d", "extension=mbstring",
                           PHPMAILER_MAIL_PHP, keep + " -t -i"},
                    ForPhp(CAPTURE)));
  std::string copied;
  bool shown = CopyWindowTextAndClose(&copied);
  std::string out = ReadToEnd(&php, 60);
  EXPECT_EQ(0, WaitForExit(&php, 60));
  EXPECT_EQ("bool(true)\n", out);  // send() returned true, without an exception
  unlink(keep.c_str());
  std::string written = TakeWritten(dir);
  ASSERT_TRUE(shown);
  EXPECT_NE(std::string::npos, copied.find("\n\nFirst line\n.dot line\nlong long"));
  EXPECT_EQ(Replace(written, "\r\n", "\n"), copied);
}

}  // namespace
