#pragma once
// The tag-case scan of one chunk of text (one line, or a piece of a line of at
// most 255 bytes) and the multibyte tracking that keeps it off the bytes of
// double-byte characters.

#include <cstddef>
#include <span>

#include "core/case_mode.h"

namespace zormin {

// How the bytes of a file form characters, as far as the scan cares.
// UTF-8 and EUC-JP are SingleByte here: every byte of their multibyte
// characters is 0x80 or above, which the scan never changes.
enum class Charset { SingleByte, ShiftJis, Iso2022Jp };

// Follows the multibyte characters of a file byte by byte. Its state belongs to
// the file, not to a chunk: a double-byte character or an escape sequence may
// straddle the 255-byte cut, and an ISO-2022-JP shift lasts until shifted back.
class MultibyteCursor {
 public:
  explicit MultibyteCursor(Charset charset = Charset::SingleByte) : m_charset(charset) {}

  // Takes the next byte of the file. True when it belongs to a multibyte
  // character or an escape sequence: such a byte is not markup and keeps its value.
  bool Consume(unsigned char c) {
    switch (m_charset) {
      case Charset::SingleByte: return false;
      case Charset::ShiftJis: return ConsumeShiftJis(c);
      case Charset::Iso2022Jp: return ConsumeIso2022(c);
    }
    return false;
  }

  // Takes bytes that are copied without a scan (script blocks).
  void Skip(std::span<const char> bytes) {
    if (m_charset == Charset::SingleByte) return;
    for (char c : bytes) Consume(static_cast<unsigned char>(c));
  }

  // Which bytes matter to the scan in its present state (see tag_scan.cpp).
  enum class Marks { Outside, Value, Quoted };

 private:
  friend bool ConvertLineTags(std::span<char> chunk, CaseMode mode, MultibyteCursor& cursor);

  // The first byte from `p` on that the scan must look at: one of `marks`,
  // or one that matters to this cursor. The bytes before it change nothing,
  // here or in the scan, and count as taken.
  const char* SkipInert(const char* p, const char* end, Marks marks) const;

  // Maps the case of the letters from `p` up to the first byte that stops a
  // run of tag or attribute name ("<", ">", "=", a quote, "!"), or that
  // matters to this cursor, and returns that byte. Sets `changed` when a
  // letter changed.
  char* MapRun(char* p, char* end, CaseMode mode, bool& changed) const;

  bool ConsumeShiftJis(unsigned char c);
  bool ConsumeIso2022(unsigned char c);

  Charset m_charset;
  // Shift_JIS: the previous byte opened a double-byte character.
  bool m_leadPending = false;
  // ISO-2022-JP: inside an escape sequence (the bytes after ESC seen so far),
  // and whether a two-byte or kana set is shifted in.
  bool m_inEscape = false;
  unsigned char m_escape[4] = {};
  std::size_t m_escapeLength = 0;
  bool m_shifted = false;
};

// Rewrites the markup inside tags of one chunk in place to the given case. The
// tag state and the quote flag start afresh for every chunk; the cursor carries
// on. True when some byte changed.
bool ConvertLineTags(std::span<char> chunk, CaseMode mode, MultibyteCursor& cursor);

// The same for text without multibyte characters of concern.
bool ConvertLineTags(std::span<char> chunk, CaseMode mode);

}  // namespace zormin
