#pragma once
// UTF-8 as file names use it: which bytes form one character.

#include <cstddef>
#include <string_view>

namespace zormin {

// The length of the well-formed UTF-8 character that starts at `at` (1 to 4),
// or 0 when the bytes there are not one (a stray continuation byte, an
// overlong form, a surrogate, a value past U+10FFFF, a cut sequence).
inline std::size_t Utf8CharLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char c = byte(at);
  if (c < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    if (c == 0xE0) low = 0xA0;
    if (c == 0xED) high = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() - at < length) return 0;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
  }
  return length;
}

inline bool IsValidUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8CharLength(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

}  // namespace zormin
