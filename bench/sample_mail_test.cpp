#include "sample_mail.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string TempPath() {
  char name[] = "/tmp/mailview-bench-XXXXXX";
  int fd = mkstemp(name);
  if (fd >= 0)
    close(fd);
  return name;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Checks that `text` is printable ASCII in lines ended by CR LF, each no
// longer than the line width; with `exact`, every line but the last is
// exactly that long. The last line may lack its CR LF.
void ExpectLines(const std::string& text, bool exact) {
  size_t start = 0;
  while (start < text.size()) {
    size_t crlf = text.find("\r\n", start);
    size_t end = crlf == std::string::npos ? text.size() : crlf;
    std::string line = text.substr(start, end - start);
    for (char c : line)
      ASSERT_TRUE(c >= 0x20 && c < 0x7F) << "byte " << int(c) << " at " << start;
    ASSERT_LE(line.size(), size_t(MAIL_LINE_WIDTH));
    bool last = crlf == std::string::npos || crlf + 2 == text.size();
    if (exact && !last) {
      ASSERT_EQ(line.size(), size_t(MAIL_LINE_WIDTH)) << "line at " << start;
    }
    start = crlf == std::string::npos ? text.size() : crlf + 2;
  }
}

TEST(SampleMailTest, BulkMailHasTheExactSizeInFullLines) {
  std::string path = TempPath();
  const long long LINE = MAIL_LINE_WIDTH + 2;
  for (long long bytes : {0LL, 1LL, 2LL, 3LL, LINE - 1, LINE, LINE + 1,
                          LINE + 2, 300 * LINE + 17, 1LL << 20}) {
    SCOPED_TRACE(bytes);
    ASSERT_TRUE(WriteBulkMail(path.c_str(), bytes));
    std::string text = Slurp(path);
    ASSERT_EQ(text.size(), size_t(bytes));
    ExpectLines(text, true);
    if (bytes > 2 && bytes % LINE != 1) {
      EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    }
  }
  // Lines differ from one another, as real text does.
  std::string text = Slurp(path);
  EXPECT_NE(text.substr(0, LINE), text.substr(LINE, LINE));
  unlink(path.c_str());
}

TEST(SampleMailTest, MessageIsAWrappedMailOfAboutTheSizeAsked) {
  std::string path = TempPath();
  for (long bytes : {3 * 1024L, 9 * 1024L}) {
    SCOPED_TRACE(bytes);
    long written = WriteMessage(path.c_str(), bytes);
    std::string text = Slurp(path);
    ASSERT_EQ(long(text.size()), written);
    EXPECT_LE(written, bytes);
    EXPECT_GT(written, bytes - (MAIL_LINE_WIDTH + 2));
    ExpectLines(text, false);
    EXPECT_EQ(text.compare(0, 6, "Date: "), 0);
    size_t body = text.find("\r\n\r\n");
    ASSERT_NE(body, std::string::npos);
    EXPECT_NE(text.find("\r\n\r\n", body + 4), std::string::npos)
        << "the body has paragraphs";
    EXPECT_EQ(text.find(" \r\n"), std::string::npos) << "no trailing blanks";
    // The same message every time, whatever was generated before.
    WriteMessage(path.c_str(), 5000);
    ASSERT_EQ(WriteMessage(path.c_str(), bytes), written);
    EXPECT_EQ(Slurp(path), text);
  }
  unlink(path.c_str());
}

}  // namespace
