#include "convert/tag_scan.h"

namespace zormin {

namespace {
constexpr unsigned char kEsc = 0x1B;
constexpr unsigned char kShiftOut = 0x0E;  // JIS7 kana on
constexpr unsigned char kShiftIn = 0x0F;   // JIS7 kana off

bool IsShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsShiftJisTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }
}  // namespace

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

void ConvertLineTags(std::span<char> chunk, CaseMode mode, MultibyteCursor& cursor) {
  TagState state = TagState::Outside;
  bool quoted = false;
  for (char& byte : chunk) {
    const auto c = static_cast<unsigned char>(byte);
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
          byte = MapAsciiCase(byte, mode);
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
}

void ConvertLineTags(std::span<char> chunk, CaseMode mode) {
  MultibyteCursor plain;
  ConvertLineTags(chunk, mode, plain);
}

}  // namespace zormin
