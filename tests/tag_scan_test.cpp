// The byte rules of the tag-case scan, one chunk at a time.

#include "convert/tag_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zormin {
namespace {

struct ScanCase {
  CaseMode mode;
  std::string input;
  std::string expected;
};

constexpr CaseMode L = CaseMode::Lower;
constexpr CaseMode U = CaseMode::Upper;

std::string Scan(std::string chunk, CaseMode mode, Charset charset = Charset::SingleByte) {
  MultibyteCursor cursor(charset);
  ConvertLineTags(chunk, mode, cursor);
  return chunk;
}

TEST(ConvertLineTags, ByteRules) {
  const std::vector<ScanCase> cases = {
      // Ordinary markup.
      {L, R"(<A HREF="Index.HTM">Top</A>)", R"(<a href="Index.HTM">Top</a>)"},
      {L, R"(<IMG SRC=Logo.GIF ALT="Logo" WIDTH=10>)", R"(<img src=Logo.GIF alt="Logo" width=10>)"},
      {L, R"(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 3.2//EN">)", R"(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 3.2//EN">)"},
      {L, "<BODY BGCOLOR=#FFFFFF TEXT=#000000>", "<body bgcolor=#FFFFFF text=#000000>"},
      {U, R"(<a href="Index.HTM">Top</a>)", R"(<A HREF="Index.HTM">Top</A>)"},
      {U, "<img src=logo.gif alt=\"Logo\" width=10>\n", "<IMG SRC=logo.gif ALT=\"Logo\" WIDTH=10>\n"},
      {L, "", ""},
      {L, "\n", "\n"},
      // A tag continued from the previous line starts outside.
      {L, "HREF=X.HTM>Next <B>", "HREF=X.HTM>Next <b>"},
      // "!" in state 1 stops converting; in state 2 it is a value byte.
      {L, "<!-- note -->", "<!-- note -->"},
      {L, "<A B!C D>", "<a b!C D>"},
      {L, "<A HREF=Hi!x>", "<a href=Hi!x>"},
      {L, R"(<A "Hi!" B>)", R"(<a "Hi!" B>)"},
      // Body text: "=" then a blank converts up to the next ">".
      {L, "a = Bc d", "a = bc d"},
      {L, "X=1 AND Y>Z", "X=1 and y>Z"},
      // A quote in body text protects the rest of the chunk.
      {L, R"(Say "hi <B>x</B>)", R"(Say "hi <B>x</B>)"},
      // A ">" in quotes ends converting.
      {L, R"(<IMG ALT="a>b" SRC=x.gif>)", R"(<img alt="a>b" SRC=x.gif>)"},
      // "=" and blanks inside quotes.
      {L, R"(<A HREF="x?a=1&b=2" CLASS=K>)", R"(<a href="x?a=1&b=2" class=K>)"},
      {L, R"(<A HREF="a B">)", R"(<a href="a B">)"},
      // Comments are not followed past the "!".
      {L, "<!-- <B>x</B> -->", "<!-- <b>x</b> -->"},
      {L, "<!-- width=100 Height -->", "<!-- width=100 height -->"},
      // Blanks around "=".
      {L, "<A HREF = X.HTM>", "<a href = x.htm>"},
      {L, R"(<A HREF = "X.HTM">)", R"(<a href = "X.HTM">)"},
      {L, R"(<IMG SRC="A.GIF"ALT="B">)", R"(<img src="A.GIF"ALT="B">)"},
      // Only 0x20 is a blank.
      {L, "<IMG SRC=a.gif\tALT=x>", "<img src=a.gif\tALT=x>"},
      // Bytes above 0x7F never change, whatever the state.
      {L, "<\xC0\xC1\xD0\xE9 \xFF>", "<\xC0\xC1\xD0\xE9 \xFF>"},
      {U, "<\xE0\xE1\xF0\xF9>", "<\xE0\xE1\xF0\xF9>"},
      // NUL is an ordinary byte.
      {L, std::string("<A\0B>C", 6), std::string("<a\0b>C", 6)},
  };
  for (const ScanCase& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(Scan(c.input, c.mode), c.expected);
  }
}

struct CharsetCase {
  Charset charset;
  CaseMode mode;
  std::string input;
  std::string expected;
};

TEST(ConvertLineTags, NeverChangesAByteOfAMultibyteCharacter) {
  // Shift_JIS: ア is 83 41, イ 83 43, ソ 83 5C; their second bytes look like
  // "A", "C" and "\".
  const std::string a = "\x83\x41", i = "\x83\x43";
  // ISO-2022-JP: 主 is "<g", 上 is ">e", 予 is "M=", 但 is "C\"", 亜 is "0!".
  const std::string kanjiIn = "\x1b$B", kanjiOut = "\x1b(B";
  const std::vector<CharsetCase> cases = {
      {Charset::ShiftJis, L, "<IMG ALT=x " + a + i + "B>", "<img alt=x " + a + i + "b>"},
      {Charset::ShiftJis, L, "a = b " + a + "Z", "a = b " + a + "z"},
      {Charset::ShiftJis, U, "<p>\x83\x61</p>", "<P>\x83\x61</P>"},
      // A lead byte followed by a byte that cannot be a second byte: that byte stands alone.
      {Charset::ShiftJis, L, "<A \x83\nB>", "<a \x83\nb>"},
      // Half-width kana (A1-DF) are single bytes.
      {Charset::ShiftJis, L, "<A \xB1" "B>", "<a \xB1" "b>"},
      // The same bytes read as single bytes, to show what is at stake.
      {Charset::SingleByte, L, "<IMG ALT=x " + a + "B>", "<img alt=x \x83\x61" "b>"},
      // Kanji bytes change neither case nor state nor the quote flag.
      {Charset::Iso2022Jp, U, "<p>" + kanjiIn + "<g>e" + kanjiOut + "<b>", "<P>" + kanjiIn + "<g>e" + kanjiOut + "<B>"},
      {Charset::Iso2022Jp, L, "<A " + kanjiIn + "M=C\"0!" + kanjiOut + " B>", "<a " + kanjiIn + "M=C\"0!" + kanjiOut + " b>"},
      // The escape sequences' own letters stay.
      {Charset::Iso2022Jp, L, "<A>" + kanjiIn + kanjiOut + "\x1b(J\x1b$@\x1b(I\x1b$(D", "<a>" + kanjiIn + kanjiOut + "\x1b(J\x1b$@\x1b(I\x1b$(D"},
      // Kana set (ESC ( I), then back.
      {Charset::Iso2022Jp, L, "<A \x1b(I<1\x1b(B C>", "<a \x1b(I<1\x1b(B c>"},
  };
  for (const CharsetCase& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(Scan(c.input, c.mode, c.charset), c.expected);
  }
}

TEST(ConvertLineTags, MultibyteStateCarriesAcrossChunksButTagStateDoesNot) {
  // Shift_JIS ア cut between two chunks: its second byte "A" stays.
  MultibyteCursor sjis(Charset::ShiftJis);
  std::string first = "<X \x83", second = "A B>";
  ConvertLineTags(first, L, sjis);
  ConvertLineTags(second, L, sjis);
  EXPECT_EQ(first, "<x \x83");
  EXPECT_EQ(second, "A B>");  // fresh tag state: outside until a "<"

  // ISO-2022-JP: an escape sequence cut after ESC $, and a shift that lasts
  // into the next chunk.
  MultibyteCursor jis(Charset::Iso2022Jp);
  std::string a = "<A\x1b$", b = "B<g", c = "\x1b(B<I>";
  ConvertLineTags(a, L, jis);
  ConvertLineTags(b, L, jis);
  ConvertLineTags(c, L, jis);
  EXPECT_EQ(a + b + c, "<a\x1b$B<g\x1b(B<i>");
}

}  // namespace
}  // namespace zormin
