#include "convert/binary_check.h"

namespace zormin {

namespace {

bool IsTextControl(unsigned char c) {
  switch (c) {
    case '\t': case '\n': case '\f': case '\r':
    case 0x0E: case 0x0F:  // SO, SI
    case 0x1A:             // Ctrl-Z
    case 0x1B:             // ESC
      return true;
    default:
      return false;
  }
}

}  // namespace

bool LooksBinary(std::string_view head) {
  if (head.size() > kBinaryProbeSize) head = head.substr(0, kBinaryProbeSize);
  for (const char byte : head) {
    const auto c = static_cast<unsigned char>(byte);
    if (c < 0x20 && !IsTextControl(c)) return true;
  }
  return false;
}

}  // namespace zormin
