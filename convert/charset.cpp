#include "convert/charset.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace zormin {

namespace {

constexpr std::size_t kDeclarationReach = std::size_t{64} * 1024;

bool IsLabelChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// The encoding named by a charset label, if it is one of ours.
std::optional<Encoding> EncodingOfLabel(std::string_view label) {
  struct Alias {
    std::string_view name;
    Encoding encoding;
  };
  static constexpr std::array<Alias, 14> kAliases{{
      {"shift_jis", Encoding::ShiftJis},   {"shift-jis", Encoding::ShiftJis},
      {"sjis", Encoding::ShiftJis},        {"x-sjis", Encoding::ShiftJis},
      {"windows-31j", Encoding::ShiftJis}, {"cp932", Encoding::ShiftJis},
      {"ms_kanji", Encoding::ShiftJis},    {"csshiftjis", Encoding::ShiftJis},
      {"euc-jp", Encoding::EucJp},         {"x-euc-jp", Encoding::EucJp},
      {"eucjp", Encoding::EucJp},          {"euc_jp", Encoding::EucJp},
      {"iso-2022-jp", Encoding::Iso2022Jp}, {"utf-8", Encoding::Utf8},
  }};
  for (const Alias& alias : kAliases) {
    if (EqualsIgnoringCase(label, alias.name)) return alias.encoding;
  }
  return std::nullopt;
}

// The first "charset=NAME" of the text (as in a meta tag), if it names one of ours.
std::optional<Encoding> DeclaredEncoding(std::string_view text) {
  static constexpr std::string_view kKey = "charset";
  for (std::size_t i = 0; i + kKey.size() <= text.size(); ++i) {
    if (!EqualsIgnoringCase(text.substr(i, kKey.size()), kKey)) continue;
    std::size_t p = i + kKey.size();
    while (p < text.size() && text[p] == ' ') ++p;
    if (p >= text.size() || text[p] != '=') continue;
    ++p;
    while (p < text.size() && (text[p] == ' ' || text[p] == '"' || text[p] == '\'')) ++p;
    std::size_t end = p;
    while (end < text.size() && IsLabelChar(text[end])) ++end;
    if (auto encoding = EncodingOfLabel(text.substr(p, end - p))) return encoding;
  }
  return std::nullopt;
}

}  // namespace

std::optional<Encoding> ParseEncodingName(std::string_view name) {
  if (EqualsIgnoringCase(name, "auto")) return Encoding::Auto;
  // Spellings people type, which a page's charset declaration does not use.
  if (EqualsIgnoringCase(name, "utf8")) return Encoding::Utf8;
  if (EqualsIgnoringCase(name, "jis") || EqualsIgnoringCase(name, "iso2022jp")) return Encoding::Iso2022Jp;
  return EncodingOfLabel(name);
}

Charset CharsetOf(Encoding encoding) {
  switch (encoding) {
    case Encoding::ShiftJis: return Charset::ShiftJis;
    case Encoding::Iso2022Jp: return Charset::Iso2022Jp;
    default: return Charset::SingleByte;
  }
}

void CharsetDetector::Feed(std::span<const char> bytes) {
  if (m_head.size() < kDeclarationReach) {
    const std::size_t take = std::min(bytes.size(), kDeclarationReach - m_head.size());
    m_head.append(bytes.data(), take);
  }
  const char* data = bytes.data();
  const std::size_t size = bytes.size();
  for (std::size_t i = 0; i < size; ++i) {
    if (Idle()) {
      // Plain ASCII other than ESC changes none of the states below: pass
      // over it eight bytes at a time.
      while (i + 8 <= size) {
        std::uint64_t word;
        std::memcpy(&word, data + i, 8);
        constexpr std::uint64_t kHigh = 0x8080808080808080ULL, kOnes = 0x0101010101010101ULL;
        const std::uint64_t esc = word ^ (kOnes * 0x1B);
        if ((word & kHigh) != 0 || ((esc - kOnes) & ~esc & kHigh) != 0) break;
        i += 8;
      }
      if (i >= size) break;
    }
    const auto c = static_cast<unsigned char>(data[i]);

    // ISO-2022-JP: ESC $ @, ESC $ B, ESC $ ( D (and further ESC $ ( sets), ESC ( I.
    switch (m_escapeStep) {
      case 1: m_escapeStep = (c == '$') ? 2 : (c == '(') ? 3 : 0; break;
      case 2:
        if (c == '@' || c == 'B') m_iso2022 = true;
        m_escapeStep = (c == '(') ? 4 : 0;
        break;
      case 3: m_iso2022 = m_iso2022 || c == 'I'; m_escapeStep = 0; break;
      case 4: m_iso2022 = m_iso2022 || (c >= 0x40 && c <= 0x7E); m_escapeStep = 0; break;
      default: break;
    }
    if (c == 0x1B) m_escapeStep = 1;

    // UTF-8, strictly: no overlong forms, no surrogates, nothing above U+10FFFF.
    if (m_utf8Valid) {
      if (m_utf8Need > 0) {
        if (c < m_utf8Low || c > m_utf8High) {
          m_utf8Valid = false;
          m_utf8Need = 0;
        } else {
          --m_utf8Need;
          m_utf8Low = 0x80;
          m_utf8High = 0xBF;
        }
      } else if (c >= 0x80) {
        m_utf8Low = 0x80;
        m_utf8High = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
          m_utf8Need = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
          m_utf8Need = 2;
          if (c == 0xE0) m_utf8Low = 0xA0;
          if (c == 0xED) m_utf8High = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
          m_utf8Need = 3;
          if (c == 0xF0) m_utf8Low = 0x90;
          if (c == 0xF4) m_utf8High = 0x8F;
        } else {
          m_utf8Valid = false;
        }
      }
    }

    // EUC-JP: A1-FE A1-FE, 8E A1-DF (kana), 8F A1-FE A1-FE (JIS X 0212).
    if (m_eucValid) {
      if (m_eucNeed > 0) {
        if (c < m_eucLow || c > m_eucHigh) {
          m_eucValid = false;
          m_eucNeed = 0;
        } else {
          if (m_eucNeed == 1 && (m_eucFirst == 0xA4 || m_eucFirst == 0xA5) && c <= 0xF6) ++m_eucKana;
          --m_eucNeed;
          m_eucLow = 0xA1;
          m_eucHigh = 0xFE;
        }
      } else if (c >= 0x80) {
        m_eucFirst = c;
        m_eucLow = 0xA1;
        m_eucHigh = 0xFE;
        if (c >= 0xA1 && c <= 0xFE) {
          m_eucNeed = 1;
        } else if (c == 0x8E) {
          m_eucNeed = 1;
          m_eucHigh = 0xDF;
        } else if (c == 0x8F) {
          m_eucNeed = 2;
        } else {
          m_eucValid = false;
        }
      }
    }

    // Shift_JIS: leads 81-9F and E0-FC with a second byte 40-7E or 80-FC;
    // A1-DF are single-byte kana.
    if (m_sjisValid) {
      if (m_sjisLead) {
        m_sjisLead = false;
        if (!((c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC))) m_sjisValid = false;
        if ((m_sjisFirst == 0x82 && c >= 0x9F && c <= 0xF1) || (m_sjisFirst == 0x83 && c >= 0x40 && c <= 0x96)) {
          ++m_sjisKana;
        }
      } else if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
        m_sjisLead = true;
        m_sjisFirst = c;
      } else if (c == 0x80 || c == 0xA0 || c >= 0xFD) {
        m_sjisValid = false;
      }
    }
  }
}

Encoding CharsetDetector::Result() const {
  if (m_iso2022) return Encoding::Iso2022Jp;
  if (m_utf8Valid && m_utf8Need == 0) return Encoding::Utf8;  // not cut short at the end
  const bool euc = m_eucValid && m_eucNeed == 0;
  const bool sjis = m_sjisValid && !m_sjisLead;
  if (euc && !sjis) return Encoding::EucJp;
  if (euc && sjis) {
    const std::optional<Encoding> declared = DeclaredEncoding(m_head);
    if (declared == Encoding::EucJp || declared == Encoding::ShiftJis) return *declared;
    if (m_eucKana > m_sjisKana) return Encoding::EucJp;
  }
  return Encoding::ShiftJis;
}

}  // namespace zormin
