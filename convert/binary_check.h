#pragma once
// Whether a file is text at all, judged from its first block, so that an
// image or other binary file given by mistake is left alone.

#include <cstddef>
#include <string_view>

namespace zormin {

// The block at the start of a file that is looked at.
inline constexpr std::size_t kBinaryProbeSize = std::size_t{32} * 1024;

// True when `head` (the first kBinaryProbeSize bytes of a file, or all of a
// shorter one) holds a NUL byte or a control byte that text does not use.
// Text uses tab, line feed, form feed and carriage return; escape and SO/SI
// (ISO-2022-JP and its kana shifts); and Ctrl-Z, the end-of-file mark of old
// DOS files. Bytes 0x80-0xFF are text: Shift_JIS, EUC-JP and UTF-8 characters.
bool LooksBinary(std::string_view head);

}  // namespace zormin
