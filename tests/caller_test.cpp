// Real callers: PHP's mail() pointed at mailview through sendmail_path, and
// Symfony Mailer's sendmail transport.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "child.h"
#include "run_process.h"

namespace {

const char* const kRecord = MAILVIEW_RECORD;
const char* const kMailview = MAILVIEW_EXE;

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
  Child php = StartChild({"php", "-n", "-d", "sendmail_path=" + sendmailPath,
                          "-r", kMailCall},
                         -1);
  std::string out = ReadToEnd(php.out);
  *status = WaitForExit(php.pid, 60);
  return out;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
    text.replace(at, from.size(), to);
  return text;
}

// `text` with every LF that follows no CR made a CR LF pair.
std::string WithCRLF(const std::string& text) {
  return Replace(Replace(text, "\r\n", "\n"), "\n", "\r\n");
}

TEST(Callers, PhpMailShowsExactlyWhatPhpWrote) {
  char dir[] = "/tmp/mailview-php-XXXXXX";
  ASSERT_TRUE(mkdtemp(dir));
  std::string file = std::string(dir) + "/written";
  int status;
  EXPECT_EQ("bool(true)\n", RunPhp("cat > " + file, &status));
  std::ifstream in(file, std::ios::binary);
  std::stringstream written;
  written << in.rdbuf();
  unlink(file.c_str());
  rmdir(dir);
  EXPECT_EQ(kWritten, written.str());

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

// Runs `command` (through the shell) on this display; its output.
std::string Shell(const std::string& command) {
  Child c = StartChild({"sh", "-c", command}, -1);
  std::string out = ReadToEnd(c.out);
  EXPECT_EQ(0, WaitForExit(c.pid, 60)) << command;
  return out;
}

// Waits for the Send Mail window on this display, copies all its text and
// closes it with Enter. The text, its line breaks as LF; false when no
// window came.
bool CopyWindowTextAndClose(std::string* text) {
  const char* display = getenv("DISPLAY");
  EXPECT_TRUE(display && *display) << "run under tests/with-display.sh";
  XServer x;
  x.display = display ? display : "";
  if (!WaitForWindow(x, "Send Mail", 60)) return false;
  // The text area takes the focus from OK with Tab; copy all of it.
  Shell("xdotool search --sync --name '^Send Mail$' windowfocus --sync"
        " key --clearmodifiers Tab ctrl+a ctrl+c");
  std::string copied = Shell("timeout 30 xclip -o -selection clipboard");
  Shell("xdotool key --clearmodifiers Return");
  // The window breaks lines at CR LF; the clipboard has them as LF.
  *text = Replace(copied, "\r\n", "\n");
  return true;
}

TEST(Callers, PhpMailInTheRealWindow) {
  Child php = StartChild({"php", "-n", "-d",
                          std::string("sendmail_path=") + kMailview + " -t -i",
                          "-r", kMailCall},
                         -1);
  std::string copied;
  ASSERT_TRUE(CopyWindowTextAndClose(&copied));
  std::string out = ReadToEnd(php.out);
  EXPECT_EQ(0, WaitForExit(php.pid, 60));
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
  Child php = StartChild({"php", "-n", "-d", "extension=mbstring", SYMFONY_MAIL_PHP,
                          "tee " + file + " | " + kMailview + " -t -i"},
                         -1, {}, true);
  std::string copied;
  bool shown = CopyWindowTextAndClose(&copied);
  std::string out = ReadToEnd(php.out);
  EXPECT_EQ(0, WaitForExit(php.pid, 60));
  EXPECT_EQ("sent\n", out);  // send() returned, without an exception
  std::ifstream in(file, std::ios::binary);
  std::stringstream written;
  written << in.rdbuf();
  unlink(file.c_str());
  rmdir(dir);
  ASSERT_TRUE(shown);
  EXPECT_NE(std::string::npos, copied.find("\n\nFirst line\n.dot line\nLast line\n"));
  EXPECT_NE(std::string::npos, copied.find("filename=data.bin\n\nAAH+IG1haWx2aWV3"));
  EXPECT_EQ(written.str(), copied);
}

}  // namespace
