// Whole texts: chunks, script blocks, line ends, encodings, and a randomized
// comparison with a plain model of the rules.

#include "convert/text_convert.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

#include "convert/charset.h"
#include "test_util.h"

namespace zormin {
namespace {

using testing::Encode;

constexpr CaseMode L = CaseMode::Lower;
constexpr CaseMode U = CaseMode::Upper;

// An in-memory file holding `bytes`, positioned at its start.
int MemoryFile(std::string_view bytes) {
  const int fd = memfd_create("zormin-test", MFD_CLOEXEC);
  EXPECT_GE(fd, 0);
  EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  lseek(fd, 0, SEEK_SET);
  return fd;
}

std::string Convert(std::string_view input, CaseMode mode, TextConvertOptions options = {},
                    TextConvertReport* report = nullptr) {
  const int in = MemoryFile(input);
  const int out = memfd_create("zormin-out", MFD_CLOEXEC);
  EXPECT_EQ(ConvertText(in, out, mode, options, report), StreamStatus::Ok);
  std::string result = testing::ReadFd(out);
  close(in);
  close(out);
  return result;
}

struct TextCase {
  const char* what;
  CaseMode mode;
  std::string input;
  std::string expected;
};

TEST(ConvertText, ChunksScriptsAndLineEnds) {
  const std::string x252(252, 'x'), x253(253, 'x');
  const std::vector<TextCase> cases = {
      {"empty", L, "", ""},
      {"script block copied whole", L, "<P>\n<SCRIPT>\nA<B>\n</SCRIPT>\n<P>",
       "<p>\r\n<SCRIPT>\r\nA<B>\r\n</SCRIPT>\r\n<p>"},
      {"one-line script leaves the skip on", L, "<SCRIPT>x</SCRIPT>\n<B>\n</SCRIPT> <B>\n<B>",
       "<SCRIPT>x</SCRIPT>\r\n<B>\r\n</SCRIPT> <B>\r\n<b>"},
      {"lower-case script tags are not recognised", L, "<script>\nIF (A<B) X\n</script>",
       "<script>\r\nIF (A<b) x\r\n</script>"},
      {"tags before a script tag stay", L, "<B><SCRIPT>\n</SCRIPT><I>\n<I>", "<B><SCRIPT>\r\n</SCRIPT><I>\r\n<i>"},
      {"line ends", U, "<a>\r\n<b>\n<c>\r<d>\r", "<A>\r\n<B>\r\n<C>\r<D>\r"},
      {"CR CR LF", U, "<a>\r\r\n", "<A>\r\r\n"},
      {"a long line is cut at 255 bytes and the tag state is lost", L, x253 + "<AB CD>\n<EF>",
       x253 + "<aB CD>\r\n<ef>"},
      {"a script tag cut by the 255-byte limit is not seen", L, x252 + "<SCRIPT>\n<B>",
       x252 + "<scRIPT>\r\n<b>"},
      {"a CR LF right after 254 bytes ends the chunk", L, x253 + "<\r\nA>", x253 + "<\r\nA>"},
      {"NUL and Ctrl-Z are ordinary bytes", L, std::string("<A>\0<B>\x1a<C>\n", 13),
       std::string("<a>\0<b>\x1a<c>\r\n", 14)},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Convert(c.input, c.mode), c.expected);
  }
}

// A line ending in CRs alone is one long line, cut every 255 bytes.
TEST(ConvertText, BareCrLinesAreOneLongLine) {
  std::string input;
  for (int i = 0; i < 100; ++i) input += "<A\r";
  const std::string output = Convert(input, L);
  ASSERT_EQ(output.size(), input.size());
  // 255 = 85 * 3: every cut falls right after a CR, so each piece starts
  // outside a tag and the next "<" converts.
  for (size_t i = 0; i < input.size(); i += 3) {
    EXPECT_EQ(output.substr(i, 3), "<a\r") << i;
  }
  // Shifted by one byte the cuts fall after a "<": the "A" after each cut stays.
  const std::string shifted = Convert("xx" + input, L);
  EXPECT_EQ(shifted.substr(255, 2), "A\r");
}

// --line-ends keep: each line end as it was read; the chunks, and so the
// conversion, exactly as with CR LF.
TEST(ConvertText, LineEndsKeptOrMadeCrLf) {
  const std::string x250(250, 'x'), x253(253, 'x');
  struct Case {
    const char* what;
    std::string input, keep, crlf;
  };
  const std::vector<Case> cases = {
      {"LF", "<A>\n<B>\n", "<a>\n<b>\n", "<a>\r\n<b>\r\n"},
      {"CR LF", "<A>\r\n<B>\r\n", "<a>\r\n<b>\r\n", "<a>\r\n<b>\r\n"},
      {"mixed", "<A>\r\n<B>\n<C>", "<a>\r\n<b>\n<c>", "<a>\r\n<b>\r\n<c>"},
      {"a lone CR is no line end", "<A>\r<B>\n", "<a>\r<b>\n", "<a>\r<b>\r\n"},
      {"255-byte cut loses the tag state", x253 + "<AB CD>\n", x253 + "<aB CD>\n", x253 + "<aB CD>\r\n"},
      {"a lone CR counts toward the 255 bytes", x250 + "\r\rx<AB>\n", x250 + "\r\rx<aB>\n",
       x250 + "\r\rx<aB>\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TextConvertOptions keep;
    keep.lineEnds = LineEnds::Keep;
    EXPECT_EQ(Convert(c.input, L, keep), c.keep);
    EXPECT_EQ(Convert(c.input, L), c.crlf);
  }
}

// Whether the output differs from the input: a letter changed case, or a CR
// was put before a line feed.
TEST(ConvertText, ReportsWhetherAnythingChanged) {
  struct Case {
    std::string input;
    LineEnds lineEnds;
    bool changed;
  };
  const std::vector<Case> cases = {
      {"", LineEnds::CrLf, false},
      {"<a href=X>\r\n", LineEnds::CrLf, false},
      {"<a href=X>\n", LineEnds::CrLf, true},
      {"<a href=X>\n", LineEnds::Keep, false},
      {"<A>\r\n", LineEnds::Keep, true},
      {"<SCRIPT>\n<B>\n</SCRIPT>\n", LineEnds::Keep, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.input));
    for (size_t blockSize : {512, 1 << 20}) {
      TextConvertOptions options;
      options.lineEnds = c.lineEnds;
      options.blockSize = blockSize;
      options.wholeFileLimit = blockSize == 512 ? 0 : options.wholeFileLimit;
      TextConvertReport report;
      Convert(c.input, L, options, &report);
      EXPECT_EQ(report.changed, c.changed) << "block " << blockSize;
    }
  }
}

struct Sample {
  const char* encoding;
  const char* declared;
  Encoding expected;
};

// Japanese text whose bytes look like markup in the wrong reading: Shift_JIS
// second bytes that are letters (ソフトウェア), ISO-2022-JP kanji that hold
// "<", ">", "=", quotes and "!" (七主上下予但亜).
std::string JapanesePage(const char* declared, bool lower) {
  std::string page = lower ? "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=" : 
                             "<HTML>\n<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=";
  page += declared;
  page += lower ? "\"></head>\n<body>\n<img src=Logo.GIF alt=ソフト ウェア イメージ width=10>\n"
                  "<p>七つの主な上下予定 = 但し亜 アイウ</p>\n</body>\n"
                : "\"></HEAD>\n<BODY>\n<IMG SRC=Logo.GIF ALT=ソフト ウェア イメージ WIDTH=10>\n"
                  "<P>七つの主な上下予定 = 但し亜 アイウ</P>\n</BODY>\n";
  return page;
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

TEST(ConvertText, JapaneseTextInEachEncodingKeepsEveryCharacter) {
  const std::vector<Sample> samples = {
      {"SHIFT_JIS", "Shift_JIS", Encoding::ShiftJis},
      {"EUC-JP", "EUC-JP", Encoding::EucJp},
      {"ISO-2022-JP", "ISO-2022-JP", Encoding::Iso2022Jp},
      {"UTF-8", "UTF-8", Encoding::Utf8},
  };
  for (const Sample& s : samples) {
    SCOPED_TRACE(s.encoding);
    const std::string upper = Encode(JapanesePage(s.declared, false), s.encoding);
    const std::string lower = Encode(JapanesePage(s.declared, true), s.encoding);
    TextConvertReport report;
    EXPECT_EQ(Convert(upper, L, {}, &report), WithCrLf(lower));
    EXPECT_EQ(report.encoding, s.expected);
    EXPECT_EQ(Convert(lower, U), WithCrLf(upper));
    // Named explicitly, the same.
    TextConvertOptions named;
    named.encoding = s.expected;
    EXPECT_EQ(Convert(upper, L, named), WithCrLf(lower));
  }
}

TEST(ConvertText, MultibyteCharactersCutByTheChunkLimit) {
  // An escape sequence into kanji cut after ESC $, and a Shift_JIS character
  // cut after its first byte, each at the 255th byte of a line.
  const std::string jis = "<P>" + std::string(250, 'x') + "\x1b$B<g>e\x1b(B</P>\n";
  ASSERT_EQ(jis.substr(253, 2), "\x1b$");
  EXPECT_EQ(Convert(jis, U), "<P>" + std::string(250, 'x') + "\x1b$B<g>e\x1b(B</P>\r\n");

  const std::string sjis = std::string(254, 'x') + "\x83\x83" "A>\n";  // 0x83 0x83 is ャ
  TextConvertOptions named;
  named.encoding = Encoding::ShiftJis;
  EXPECT_EQ(Convert("<B " + sjis.substr(3), L, named), "<b " + sjis.substr(3, sjis.size() - 4) + "\r\n");
}

struct DetectCase {
  const char* what;
  std::string bytes;
  Encoding expected;
};

TEST(CharsetDetector, DecidesFromTheWholeText) {
  const std::string kanji = "日本語のページ";
  const std::vector<DetectCase> cases = {
      {"ASCII", "<HTML></HTML>\n", Encoding::Utf8},
      {"UTF-8", kanji, Encoding::Utf8},
      {"Shift_JIS", Encode(kanji, "SHIFT_JIS"), Encoding::ShiftJis},
      {"EUC-JP", Encode(kanji, "EUC-JP"), Encoding::EucJp},
      {"ISO-2022-JP", Encode(kanji, "ISO-2022-JP"), Encoding::Iso2022Jp},
      {"half-width kana, valid only as Shift_JIS", "\xB1\xB2\xB3", Encoding::ShiftJis},
      {"valid in both, undeclared, no kana either way", "\xB1\xB2", Encoding::ShiftJis},
      {"valid in both, declared EUC-JP", "<meta charset=\"euc-jp\">\xB1\xB2", Encoding::EucJp},
      {"valid in both, declared Shift_JIS", "<meta charset=x-sjis>\xA4\xA2\xA4\xA4", Encoding::ShiftJis},
      {"valid in both, undeclared, EUC-JP kana", "\xA4\xA2\xA4\xA4\xB1\xB2", Encoding::EucJp},
      {"declared EUC-JP but Shift_JIS bytes", "<meta charset=euc-jp>\x83\x41", Encoding::ShiftJis},
      {"valid in neither", "\x80\xFF", Encoding::ShiftJis},
      {"UTF-8 cut short at the end", "\xE6\x97", Encoding::ShiftJis},
      {"ISO-2022-JP wins over 8-bit bytes", "\xA4\xA2\x1b$B$\"\x1b(B", Encoding::Iso2022Jp},
      {"an escape that shifts into no Japanese set", "\x1b(B<A>", Encoding::Utf8},
  };
  for (const DetectCase& c : cases) {
    SCOPED_TRACE(c.what);
    // Fed whole and fed a byte at a time alike.
    CharsetDetector whole, bytewise;
    whole.Feed(c.bytes);
    for (char b : c.bytes) bytewise.Feed({&b, 1});
    EXPECT_EQ(whole.Result(), c.expected);
    EXPECT_EQ(bytewise.Result(), c.expected);
  }
}

// The rules as plainly as they can be put: read as text (CR LF as LF), cut as
// a 256-byte line buffer cuts, skip script blocks, scan the rest, write LF as CR LF.
std::string ModelConvert(const std::string& raw, CaseMode mode, Charset charset) {
  std::string text;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text += raw[i];
  }
  MultibyteCursor cursor(charset);
  bool skip = false;
  std::string out;
  for (size_t p = 0; p < text.size();) {
    const size_t lf = text.find('\n', p);
    const size_t lineLength = (lf == std::string::npos ? text.size() : lf + 1) - p;
    std::string chunk = text.substr(p, std::min<size_t>(lineLength, 255));
    p += chunk.size();
    if (chunk.find("<SCRIPT") != std::string::npos) {
      skip = true;
      cursor.Skip(chunk);
    } else if (chunk.find("</SCRIPT") != std::string::npos) {
      skip = false;
      cursor.Skip(chunk);
    } else if (skip) {
      cursor.Skip(chunk);
    } else {
      ConvertLineTags(chunk, mode, cursor);
    }
    for (char c : chunk) out += (c == '\n') ? std::string("\r\n") : std::string(1, c);
  }
  return out;
}

std::string RandomText(std::mt19937& rng) {
  static const std::vector<std::string> pieces = {
      "<", ">", "=", "\"", "!", " ", "\t", "\n", "\r\n", "\r", "a", "B", "z", "Q", "<A HREF=", "<SCRIPT>",
      "</SCRIPT>", "<script>", "\x83\x41", "\x83", "\xA4\xA2", "\xE6\x97\xA5", "\x1b$B", "\x1b(B", "<g>e",
      "\x1b(I", std::string(1, '\0'), "\x1a", std::string(300, 'w'), "<!--", "x=1 y"};
  std::uniform_int_distribution<size_t> count(0, 120), pick(0, pieces.size() - 1);
  std::string text;
  for (size_t n = count(rng); n > 0; --n) text += pieces[pick(rng)];
  return text;
}

bool OnlyCaseChanged(const std::string& in, const std::string& out, CaseMode mode) {
  if (in.size() != out.size()) return false;
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] != out[i] && MapAsciiCase(in[i], mode) != out[i]) return false;
  }
  return true;
}

TEST(ConvertText, RandomTextsFollowTheModelAtEveryBlockSize) {
  std::mt19937 rng(20261211);
  const std::vector<Encoding> encodings = {Encoding::Auto, Encoding::ShiftJis, Encoding::Iso2022Jp, Encoding::Utf8};
  for (int round = 0; round < 300; ++round) {
    const std::string input = RandomText(rng);
    const CaseMode mode = (round % 2 != 0) ? U : L;
    const Encoding encoding = encodings[static_cast<size_t>(round) % encodings.size()];
    CharsetDetector detector;
    detector.Feed(input);
    const Encoding effective = encoding == Encoding::Auto ? detector.Result() : encoding;
    const std::string expected = ModelConvert(input, mode, CharsetOf(effective));
    SCOPED_TRACE(::testing::Message() << "round " << round);

    // Apart from the CRs put before bare line feeds, only letters change case.
    std::string withoutAddedCr;
    for (size_t i = 0; i < expected.size(); ++i) {
      const bool added = expected[i] == '\r' && i + 1 < expected.size() && expected[i + 1] == '\n' &&
                         (withoutAddedCr.size() >= input.size() || input[withoutAddedCr.size()] != '\r');
      if (!added) withoutAddedCr += expected[i];
    }
    EXPECT_TRUE(OnlyCaseChanged(input, withoutAddedCr, mode));

    for (size_t blockSize : {512, 777, 4096, 1 << 20}) {
      TextConvertOptions options;
      options.encoding = encoding;
      options.blockSize = blockSize;
      options.wholeFileLimit = (blockSize == 777) ? 0 : options.wholeFileLimit;  // read twice
      TextConvertReport report;
      ASSERT_EQ(Convert(input, mode, options, &report), expected) << "block " << blockSize;
      EXPECT_EQ(report.changed, expected != input);
      // Keeping the line ends gives the same text without the added CRs.
      options.lineEnds = LineEnds::Keep;
      ASSERT_EQ(Convert(input, mode, options, &report), withoutAddedCr) << "block " << blockSize << ", keep";
      EXPECT_EQ(report.changed, withoutAddedCr != input);
    }
  }
}

// A pipe cannot be read twice: a long input is copied aside while its
// encoding is decided.
TEST(ConvertText, LongInputFromAPipe) {
  std::string input;
  while (input.size() < 300000) input += Encode("<P CLASS=A>ソフトウェア</P>\n", "SHIFT_JIS");
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  std::thread writer([&] {
    EXPECT_EQ(write(fds[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
    close(fds[1]);
  });
  const int out = memfd_create("zormin-out", MFD_CLOEXEC);
  TextConvertOptions options;
  options.wholeFileLimit = 4096;
  TextConvertReport report;
  EXPECT_EQ(ConvertText(fds[0], out, L, options, &report), StreamStatus::Ok);
  writer.join();
  close(fds[0]);
  EXPECT_EQ(report.encoding, Encoding::ShiftJis);
  EXPECT_EQ(testing::ReadFd(out), ModelConvert(input, L, Charset::ShiftJis));
  close(out);
}

}  // namespace
}  // namespace zormin
