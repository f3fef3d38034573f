#include "convert/tag_scan.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zormin {

namespace {
constexpr char kEsc = 0x1B;
constexpr char kShiftOut = 0x0E;  // JIS7 kana on
constexpr char kShiftIn = 0x0F;   // JIS7 kana off

// The first byte in [p, end) that is one of kBytes, or with kHigh one of
// 0x80 and above; `end` if none is.
template <bool kHigh, char... kBytes>
[[gnu::always_inline]] inline const char* FindAny(const char* p, const char* end) {
#ifdef __SSE2__
  for (; end - p >= 16; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hit = kHigh ? v : _mm_setzero_si128();  // the high bit of each byte
    ((hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8(kBytes)))), ...);
    if (const int mask = _mm_movemask_epi8(hit); mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
  }
#endif
  for (; p < end; ++p) {
    if ((kHigh && static_cast<unsigned char>(*p) >= 0x80) || ((*p == kBytes) || ...)) return p;
  }
  return end;
}

// The bytes that can change something in each state of the scan; it passes
// over the others in one go. Outside: a tag opens, an "=" starts a value, a
// quote flips. In a value: also ">" and the blank that ends it. Converting in
// quotes: also ">" and "!", but no letter is mapped. ESC, SO and SI are the
// shifts of ISO-2022-JP.
template <bool kHigh, char... kMore>
[[gnu::always_inline]] inline const char* FindMark(const char* p, const char* end, MultibyteCursor::Marks marks) {
  switch (marks) {
    case MultibyteCursor::Marks::Outside: return FindAny<kHigh, '<', '=', '"', kMore...>(p, end);
    case MultibyteCursor::Marks::Value: return FindAny<kHigh, '<', '>', '=', '"', ' ', kMore...>(p, end);
    case MultibyteCursor::Marks::Quoted: return FindAny<kHigh, '<', '>', '=', '"', '!', kMore...>(p, end);
  }
  return p;
}

// Maps the letters up to the first byte that ends a run of tag or attribute
// name ("<", ">", "=", a quote, "!"), or one of kMore, or with kHigh one of
// 0x80 and above, and returns that byte. Sets `changed` when a letter changed.
template <bool kHigh, char... kMore>
[[gnu::always_inline]] inline char* MapUpTo(char* p, char* end, CaseMode mode, bool& changed) {
  char* const stop = const_cast<char*>(FindAny<kHigh, '<', '>', '=', '"', '!', kMore...>(p, end));
  char difference = 0;  // the bits any mapping flipped; kept branch-free
  for (; p < stop; ++p) {
    const char mapped = MapAsciiCase(*p, mode);
    difference |= static_cast<char>(mapped ^ *p);
    *p = mapped;
  }
  changed |= difference != 0;
  return stop;
}

bool IsShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsShiftJisTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

}  // namespace

[[gnu::always_inline]] inline char* MultibyteCursor::MapRun(char* p, char* end, CaseMode mode, bool& changed) const {
  switch (m_charset) {
    case Charset::SingleByte:
      return MapUpTo<false>(p, end, mode, changed);
    case Charset::ShiftJis:
      return m_leadPending ? p : MapUpTo<true>(p, end, mode, changed);
    case Charset::Iso2022Jp:
      if (m_inEscape) return p;
      if (m_shifted) return const_cast<char*>(FindAny<false, kEsc, kShiftOut, kShiftIn>(p, end));
      return MapUpTo<false, kEsc, kShiftOut, kShiftIn>(p, end, mode, changed);
  }
  return p;
}

[[gnu::always_inline]] inline const char* MultibyteCursor::SkipInert(const char* p, const char* end, Marks marks) const {
  switch (m_charset) {
    case Charset::SingleByte:
      return FindMark<false>(p, end, marks);
    case Charset::ShiftJis:
      // ASCII passes unless it is the second byte of a character.
      return m_leadPending ? p : FindMark<true>(p, end, marks);
    case Charset::Iso2022Jp:
      if (m_inEscape) return p;
      // Shifted, everything up to the next shift is part of a character.
      if (m_shifted) return FindAny<false, kEsc, kShiftOut, kShiftIn>(p, end);
      return FindMark<false, kEsc, kShiftOut, kShiftIn>(p, end, marks);
  }
  return p;
}

bool MultibyteCursor::ConsumeShiftJis(unsigned char c) {
  if (m_leadPending) {
    m_leadPending = false;
    if (IsShiftJisTrail(c)) return true;
    // Not a second byte after all (a broken character): the byte stands alone.
  }
  if (IsShiftJisLead(c)) {
    m_leadPending = true;
    return true;
  }
  return false;
}

bool MultibyteCursor::ConsumeIso2022(unsigned char c) {
  if (m_inEscape) {
    if (c >= 0x20 && c <= 0x2F && m_escapeLength < sizeof m_escape) {
      m_escape[m_escapeLength++] = c;  // intermediate byte
      return true;
    }
    m_inEscape = false;
    if (c < 0x30 || c > 0x7E) return ConsumeIso2022(c);  // not an escape sequence after all
    // c is the final byte. ESC $ F and ESC $ ( F designate a two-byte set,
    // ESC ( I the kana set; ESC ( B and ESC ( J go back to ASCII.
    const bool twoByte = m_escapeLength >= 1 && m_escape[0] == '$' &&
                         (m_escapeLength == 1 || (m_escapeLength == 2 && m_escape[1] == '('));
    const bool singleByteSet = m_escapeLength == 1 && m_escape[0] == '(';
    if (twoByte) {
      m_shifted = true;
    } else if (singleByteSet) {
      m_shifted = (c == 'I');
    }
    return true;
  }
  if (c == kEsc) {
    m_inEscape = true;
    m_escapeLength = 0;
    return true;
  }
  if (c == kShiftOut || c == kShiftIn) {
    m_shifted = (c == kShiftOut);
    return true;
  }
  // Between a shift into a two-byte or kana set and the shift back every byte
  // is part of a character: 0x3C there is half of a kanji, not "<".
  return m_shifted;
}

namespace {

enum class TagState { Outside, Converting, AfterEquals };

}  // namespace

bool ConvertLineTags(std::span<char> chunk, CaseMode mode, MultibyteCursor& cursor) {
  bool changed = false;
  TagState state = TagState::Outside;
  bool quoted = false;
  char* p = chunk.data();
  char* const end = p + chunk.size();
  for (; p < end; ++p) {
    // Runs of bytes that change nothing but their own case are done in one go.
    if (state == TagState::Converting && !quoted) {
      p = cursor.MapRun(p, end, mode, changed);
    } else {
      const auto marks = state == TagState::Outside       ? MultibyteCursor::Marks::Outside
                         : state == TagState::AfterEquals ? MultibyteCursor::Marks::Value
                                                          : MultibyteCursor::Marks::Quoted;
      p += cursor.SkipInert(p, end, marks) - p;
    }
    if (p == end) break;
    const auto c = static_cast<unsigned char>(*p);
    if (cursor.Consume(c)) continue;  // part of a multibyte character

    // The state follows "<", ">" and "=" wherever they stand, in quotes or not.
    if (c == '>') {
      state = TagState::Outside;
    } else if (c == '<') {
      state = TagState::Converting;
    } else if (c == '=') {
      state = TagState::AfterEquals;
    }
    if (c == '"') quoted = !quoted;

    switch (state) {
      case TagState::Converting:
        if (c == '!') {
          state = TagState::Outside;  // "<!": a declaration or a comment
        } else if (!quoted) {
          const char mapped = MapAsciiCase(*p, mode);
          changed |= mapped != *p;
          *p = mapped;
        }
        break;
      case TagState::AfterEquals:
        // A blank (0x20 only, not a tab) ends an unquoted value.
        if (c == ' ') state = TagState::Converting;
        break;
      case TagState::Outside:
        break;
    }
  }
  return changed;
}

bool ConvertLineTags(std::span<char> chunk, CaseMode mode) {
  MultibyteCursor plain;
  return ConvertLineTags(chunk, mode, plain);
}

}  // namespace zormin
