#include "app/legacy_text.h"

#include <iconv.h>

#include <cstdio>

#include "folder/utf8.h"

namespace zormin {

namespace {

// The code point of the UTF-8 character of `length` bytes at `at`.
char32_t DecodeUtf8(std::string_view text, std::size_t at, std::size_t length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  if (length == 1) return byte(0);
  char32_t c = byte(0) & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) c = (c << 6) | (byte(i) & 0x3F);
  return c;
}

std::size_t CharAnsiLength(char32_t c) {
  const bool halfWidthKatakana = c >= 0xFF61 && c <= 0xFF9F;
  return (c < 0x80 || halfWidthKatakana) ? 1 : 2;
}

// Shift_JIS (as Windows writes it) to UTF-8 by the C library; empty when the
// bytes are not Shift_JIS.
std::string DecodeShiftJis(std::string_view bytes) {
  iconv_t cd = ::iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string in(bytes), out(bytes.size() * 3 + 4, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  const bool whole = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0;
  ::iconv_close(cd);
  if (!whole) return {};
  out.resize(out.size() - outLeft);
  // A control character decoded is no more readable than its escape.
  for (const char c : out) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return {};
  }
  return out;
}

}  // namespace

std::size_t AnsiLength(std::string_view text) {
  if (!IsValidUtf8(text)) return text.size();
  std::size_t length = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t step = Utf8CharLength(text, at);
    length += CharAnsiLength(DecodeUtf8(text, at, step));
    at += step;
  }
  return length;
}

std::string ReadableName(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  std::string decoded = DecodeShiftJis(bytes);
  if (!decoded.empty()) return decoded;
  std::string escaped;
  for (const char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F && u != '\\') {
      escaped += c;
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", u);
      escaped += hex;
    }
  }
  return escaped;
}

}  // namespace zormin
