#include "read_mail.h"

#include <gtest/gtest.h>

#include <string>

#include "mail.h"
#include "scripted_reads.h"

namespace {

std::string ReadFile(std::initializer_list<ScriptedRead> steps) {
  SetScript(steps);
  ReadMailTextFrom(ScriptRead, false);
  return mailText;
}

std::string ReadConsole(std::initializer_list<ScriptedRead> steps) {
  SetScript(steps);
  ReadMailTextFrom(ScriptRead, true);
  return mailText;
}

TEST(ReadMail, LinesAndPairs) {
  EXPECT_EQ("", ReadFile({}));
  EXPECT_EQ(0u, MailTextLength());
  EXPECT_EQ("A\n\nB\n", ReadFile({Data("A\r\n\r\nB\r\n")}));
  EXPECT_EQ(5u, MailTextLength());
  EXPECT_EQ("A\r\nB", ReadFile({Data("A\r\r\nB")}));
  EXPECT_EQ("last line", ReadFile({Data("last line")}));
  EXPECT_EQ("AB", ReadFile({Data("AB\x1AXY\n")}));
}

TEST(ReadMail, NulIsDroppedAloneAndTheRestOfItsPieceKept) {
  EXPECT_EQ("ABXY\nPQ", ReadFile({Data(std::string("AB\0XY\nPQ", 8))}));
  EXPECT_EQ(7u, MailTextLength());
  std::string line(2000, 'a');
  line[5] = '\0';
  std::string want(2000, 'a');
  want.erase(5, 1);
  EXPECT_EQ(want, ReadFile({Data(line)}));
  EXPECT_EQ("", ReadFile({Data(std::string(3000, '\0'))}));
  EXPECT_EQ(0u, MailTextLength());
}

TEST(ReadMail, HighBytesAreOrdinary) {
  std::string high;
  for (int c = 0x80; c <= 0xFF; ++c)
    high += static_cast<char>(c);
  EXPECT_EQ(high + "\n" + high, ReadFile({Data(high + "\r\n" + high)}));
}

TEST(ReadMail, PiecesOf998) {
  // The piece boundary shows where a read failure falls: at the start of a
  // piece it stops the reading, in the middle it only ends the piece.
  std::string piece(998, 'p');
  EXPECT_EQ(piece, ReadFile({Data(piece), Fail(), Data("lost")}));
  EXPECT_EQ(piece + "x" + "kept",
            ReadFile({Data(piece + "x"), Fail(), Data("kept")}));
  EXPECT_EQ("ab\n", ReadFile({Data("ab\n"), Fail(), Data("lost")}));
  EXPECT_EQ("abcd", ReadFile({Data("ab"), Fail(), Data("cd")}));
  // A CR LF pair counts as one character of its piece.
  std::string crlfPiece = std::string(997, 'q') + "\r\n";
  EXPECT_EQ(std::string(997, 'q') + "\n",
            ReadFile({Data(crlfPiece), Fail(), Data("lost")}));
  // A line longer than a piece arrives whole.
  std::string longLine(5000, 'L');
  EXPECT_EQ(longLine + "\n", ReadFile({Data(longLine + "\r\n")}));
}

TEST(ReadMail, LengthLimitCountedAfterTheRules) {
  ReadFile({Data(std::string(MAX_MAIL_LENGTH - 1, 'x'))});
  EXPECT_FALSE(MailTextTooLong());
  EXPECT_EQ(std::string(MAX_MAIL_LENGTH - 1, 'x'), mailText);
  ReadFile({Data(std::string(MAX_MAIL_LENGTH, 'x'))});
  EXPECT_TRUE(MailTextTooLong());
  EXPECT_EQ(std::string(MAX_MAIL_LENGTH - 1, 'x'), mailText);

  std::string pairs;
  for (int i = 0; i < MAX_MAIL_LENGTH - 1; ++i)
    pairs += "\r\n";
  ReadFile({Data(pairs)});
  EXPECT_FALSE(MailTextTooLong());
  EXPECT_EQ(std::string(MAX_MAIL_LENGTH - 1, '\n'), mailText);
  ReadFile({Data(pairs + "\r\n")});
  EXPECT_TRUE(MailTextTooLong());

  // NUL bytes do not count.
  ReadFile({Data(std::string(MAX_MAIL_LENGTH - 1, 'x') + std::string(50, '\0'))});
  EXPECT_FALSE(MailTextTooLong());
}

TEST(ReadMail, TooLongInputIsStillReadToItsEnd) {
  ReadFile({Data(std::string(1 << 20, 'y')), Data("\r\n"), Data("tail")});
  EXPECT_TRUE(MailTextTooLong());
  EXPECT_TRUE(script.empty());
  EXPECT_EQ(std::string(MAX_MAIL_LENGTH - 1, 'y'), mailText);
  // ...up to a Ctrl-Z, past a passing failure, but not past two in a row.
  ReadFile({Data(std::string(20000, 'y')), Data("z\x1A"), Data("unread")});
  EXPECT_EQ(1u, script.size());
  ReadFile({Data(std::string(20000, 'y')), Fail(), Data("read"), End(), End(), Data("unread")});
  EXPECT_EQ(1u, script.size());
  ReadFile({Data(std::string(20000, 'y')), Fail(), Fail(), Data("unread")});
  EXPECT_EQ(1u, script.size());
  // A terminal goes on piece by piece, so its own end rules stay.
  ReadConsole({Data(std::string(20000, 'y') + "\n"), Data("more\n"),
               Data("\x1A\n"), Data("unread")});
  EXPECT_TRUE(MailTextTooLong());
  EXPECT_EQ(1u, script.size());
}

TEST(ReadMail, Console) {
  // X Y Enter, then a line that begins with Ctrl-Z: the reading stops at once.
  EXPECT_EQ("XY\n", ReadConsole({Data("XY\n"), Data("\x1A\n"), Data("lost\n")}));
  // X Y Ctrl-Z Enter gives X Y and the reading goes on: a line beginning with
  // Ctrl-Z only ends the piece, one more stops the reading.
  EXPECT_EQ("XY", ReadConsole({Data("XY\x1A\n"), Data("\x1A\n"), Data("\x1A\n"),
                               Data("lost\n")}));
  EXPECT_EQ("XYPQ\n", ReadConsole({Data("XY\x1A\n"), Data("PQ\n"), Data("\x1A\n")}));
  // End of file typed at the start of a line (a read of nothing) stops too.
  EXPECT_EQ("a\nb\n", ReadConsole({Data("a\n"), Data("b\n"), End(), Data("lost")}));
}

}  // namespace
