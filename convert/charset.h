#pragma once
// Which Japanese encoding a file is in, decided from the whole file.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "convert/tag_scan.h"

namespace zormin {

enum class Encoding { Auto, ShiftJis, EucJp, Iso2022Jp, Utf8 };

// "auto", "shift_jis", "euc-jp", "iso-2022-jp", "utf-8" in any letter case,
// and their common spellings: "sjis", "cp932", "eucjp", "jis", "utf8" and more.
std::optional<Encoding> ParseEncodingName(std::string_view name);
Charset CharsetOf(Encoding encoding);

// Reads a file's bytes in order, in pieces of any size, and names its encoding:
//  1. ISO-2022-JP when it holds an escape sequence that shifts into a
//     Japanese two-byte or kana set (ESC $ @, ESC $ B, ESC $ ( D, ESC ( I);
//  2. UTF-8 when it is valid UTF-8 (pure ASCII included);
//  3. EUC-JP when its bytes are valid EUC-JP and not valid Shift_JIS;
//  4. for bytes valid in both: the charset the file declares (charset=... in
//     its first 64 KiB), else EUC-JP when it holds more EUC-JP kana (A4 or A5
//     and A1-F6) than Shift_JIS kana (82 9F-F1, 83 40-96);
//  5. Shift_JIS otherwise. Reading EUC-JP or UTF-8 as Shift_JIS can at worst
//     leave a letter unconverted; the other way round it would change the
//     second byte of a double-byte character, so doubt goes to Shift_JIS.
class CharsetDetector {
 public:
  void Feed(std::span<const char> bytes);
  Encoding Result() const;

 private:
  bool Idle() const { return m_escapeStep == 0 && m_utf8Need == 0 && m_eucNeed == 0 && !m_sjisLead; }

  bool m_iso2022 = false;
  int m_escapeStep = 0;  // 1 after ESC, 2 after ESC $, 3 after ESC (, 4 after ESC $ (

  int m_utf8Need = 0;  // continuation bytes still expected
  unsigned char m_utf8Low = 0x80, m_utf8High = 0xBF;  // range of the next one
  bool m_utf8Valid = true;

  int m_eucNeed = 0;
  unsigned char m_eucFirst = 0;
  long m_eucKana = 0;
  unsigned char m_eucLow = 0xA1, m_eucHigh = 0xFE;
  bool m_eucValid = true;

  bool m_sjisLead = false;
  unsigned char m_sjisFirst = 0;
  long m_sjisKana = 0;
  bool m_sjisValid = true;

  std::string m_head;  // the first bytes, where a charset is declared
};

}  // namespace zormin
