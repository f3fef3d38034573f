#pragma once
// Names and texts as the window shows and measures them. File names and
// folder paths are bytes: usually UTF-8, but names that came from Windows
// archives are often Shift_JIS. The window keeps the bytes and shows a
// readable form; its input limits count bytes as Shift_JIS would.

#include <cstddef>
#include <string>
#include <string_view>

namespace zormin {

// The length of `text` in Shift_JIS bytes: ASCII and half-width katakana
// count 1, every other character 2 (one that Shift_JIS cannot hold counts 2
// as well). Text that is not UTF-8 is taken to be Shift_JIS already and
// counts its bytes.
std::size_t AnsiLength(std::string_view text);

// A readable UTF-8 form of the name `bytes`: UTF-8 as it stands, else
// Shift_JIS decoded, else every byte that is not printable ASCII written
// as \xNN (and a backslash as \x5C, so that no two names look alike).
std::string ReadableName(std::string_view bytes);

}  // namespace zormin
