#pragma once

namespace zormin {

enum class CaseMode { Upper, Lower };

// ASCII letters only; every other byte, 0x80-0xFF included, stays as it is.
// The locale is never consulted.
constexpr char MapAsciiCase(char c, CaseMode mode) {
  if (mode == CaseMode::Upper) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace zormin
