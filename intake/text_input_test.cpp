#include "text_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scripted_reads.h"

namespace {

// Every read until `maxReads` reads in a row yield nothing; an entry per
// read, "" for a read that yields nothing.
std::vector<std::string> Reads(bool charDevice, int maxNothing = 2) {
  OpenTextInput(ScriptRead, charDevice);
  std::vector<std::string> reads;
  int nothing = 0;
  while (nothing < maxNothing && reads.size() < 100) {
    const char* text;
    int n = ReadText(&text);
    reads.push_back(std::string(text == nullptr || n == 0 ? "" : std::string(text, n)));
    nothing = n == 0 ? nothing + 1 : 0;
  }
  return reads;
}

typedef std::vector<std::string> R;

TEST(TextInput, CRLFBecomesLFAlsoAcrossReads) {
  SetScript({Data("A\r\nB\r"), Data("\nC\r"), Data("D\r\r\n")});
  EXPECT_EQ(R({"A\nB", "\nC", "\rD\r\n", "", ""}), Reads(false));
}

TEST(TextInput, LoneCRStaysEvenAsTheLastByte) {
  SetScript({Data("A\rB\r")});
  EXPECT_EQ(R({"A\rB", "\r", "", ""}), Reads(false));
  // A read of a single CR does not yield nothing: the next byte is read at once.
  SetScript({Data("\r"), Data("X")});
  EXPECT_EQ(R({"\rX", "", ""}), Reads(false));
  // The end after a held CR is reported by the read after the CR.
  SetScript({Data("A\r"), End(), Data("B")});
  EXPECT_EQ(R({"A", "\r", "", "B", "", ""}), Reads(false));
  SetScript({Data("A\r"), Fail(), Data("\nB")});
  EXPECT_EQ(R({"A", "\r", "", "\nB", "", ""}), Reads(false));
}

TEST(TextInput, CtrlZInAFileOrPipeEndsItForGood) {
  SetScript({Data("AB\x1AXY"), Data("more")});
  EXPECT_EQ(R({"AB", "", ""}), Reads(false));
  EXPECT_EQ(1, readsMade);  // nothing after the Ctrl-Z is read
  // A CR before the Ctrl-Z is not followed by LF: it stays.
  SetScript({Data("A\r\x1A\n")});
  EXPECT_EQ(R({"A\r", "", ""}), Reads(false));
  SetScript({Data("A\r"), Data("\x1A\n")});
  EXPECT_EQ(R({"A", "\r", "", ""}), Reads(false));
  EXPECT_EQ(2, readsMade);
}

TEST(TextInput, CtrlZOnACharDeviceDropsTheRestOfItsRead) {
  SetScript({Data("XY\x1A\n"), Data("\x1A\n"), Data("PQ\n")});
  EXPECT_EQ(R({"XY", "", "PQ\n", "", ""}), Reads(true));
  // A held CR before a read that begins with Ctrl-Z stays; that read still
  // yields nothing after it.
  SetScript({Data("A\r"), Data("\x1A\n"), Data("B")});
  EXPECT_EQ(R({"A", "\r", "", "B", "", ""}), Reads(true));
}

TEST(TextInput, FailuresYieldNothingButReadingMayGoOn) {
  SetScript({Data("A"), Fail(), Data("B"), End(), End()});
  EXPECT_EQ(R({"A", "", "B", "", ""}), Reads(false));
}

TEST(TextInput, OtherBytesPassUnchanged) {
  std::string all;
  for (int c = 1; c < 256; ++c)
    if (c != '\r' && c != 0x1A)
      all += static_cast<char>(c);
  all += '\0';
  SetScript({Data(all)});
  EXPECT_EQ(R({all, "", ""}), Reads(false));
}

TEST(TextInput, LongStepsArriveInReadsOfAtMost4096) {
  std::string big(10000, 'x');
  big[4095] = '\r';
  big[4096] = '\n';
  SetScript({Data(big)});
  R reads = Reads(false);
  ASSERT_EQ(5u, reads.size());
  EXPECT_EQ(4095u, reads[0].size());
  EXPECT_EQ(4096u, reads[1].size());  // the LF, then the rest of the read
  EXPECT_EQ('\n', reads[1][0]);
  EXPECT_EQ(10000u - 2 * 4096u, reads[2].size());
}

}  // namespace
