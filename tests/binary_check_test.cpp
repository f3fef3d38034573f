// The judgement of a file's first block as text or binary.

#include "convert/binary_check.h"

#include <gtest/gtest.h>

#include <string>

namespace zormin {
namespace {

using namespace std::string_literals;

TEST(LooksBinary, ControlBytesOtherThanThoseOfTextMakeBinary) {
  struct Case {
    const char* what;
    std::string head;
    bool binary;
  };
  const Case cases[] = {
      {"empty", "", false},
      {"HTML with CR LF, tab and form feed", "<P>\ta</P>\r\n\f<BR>\n", false},
      {"Ctrl-Z at the end", "<P>a</P>\r\n\x1A", false},
      {"ISO-2022-JP", "<P>\x1B$B$3$s\x1B(B</P>\n", false},
      {"JIS7 kana shifts", "<P>\x0E\x31\x32\x0F</P>\n", false},
      {"Shift_JIS, EUC-JP, UTF-8 and DEL", "\x82\xA0 \xA4\xA2 \xE3\x81\x82 \x7F\xFF", false},
      {"NUL", "<P>a\0b</P>"s, true},
      {"UTF-16", "\xFF\xFE<\0P\0>\0"s, true},
      {"PNG header", "\x89PNG\r\n\x1A\n\0\0\0\rIHDR"s, true},
      {"SOH", "<P>\x01</P>", true},
      {"vertical tab", "<P>\x0B</P>", true},
      {"unit separator", "<P>\x1F</P>", true},
      {"backspace as the last byte of the block", std::string(kBinaryProbeSize - 1, 'a') + "\b", true},
      {"NUL past the block", std::string(kBinaryProbeSize, 'a') + "\0"s, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(LooksBinary(c.head), c.binary);
  }
}

}  // namespace
}  // namespace zormin
