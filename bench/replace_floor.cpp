// The cost of replacing files safely, without converting anything: each file
// named on standard input (one a line) is read whole, written to a temporary
// file beside it and renamed over itself, as a conversion does. The tags
// benchmark prints its time as the floor under the conversion's.

#include <fcntl.h>
#include <unistd.h>

#include <iostream>
#include <memory>
#include <string>

#include "core/file_io.h"

int main() {
  using namespace zormin;
  constexpr std::size_t kBuffer = 1 << 20;
  auto buffer = std::make_unique_for_overwrite<char[]>(kBuffer);
  int failures = 0;
  for (std::string name; std::getline(std::cin, name);) {
    UniqueFd in(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
    ReplaceTarget target;
    ReplacementFile out;
    if (!in || !ResolveReplaceTarget(name, target) || !out.Create(target, "zormin.tmp")) {
      ++failures;
      continue;
    }
    bool ok = true;
    for (long n; ok && (n = ReadFull(in.get(), buffer.get(), kBuffer)) > 0;) {
      ok = WriteFull(out.fd(), buffer.get(), static_cast<std::size_t>(n));
    }
    if (!ok || !out.Commit()) ++failures;
  }
  if (failures > 0) std::cerr << failures << " files failed\n";
  return failures == 0 ? 0 : 1;
}
