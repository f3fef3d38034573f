#pragma once
// What the window tests share: a home of their own with a fake desktop, and
// a record of what the fake desktop's programs were started with.

#include <filesystem>
#include <string>
#include <vector>

namespace zormin::testing {

// The temporary home: HOME, XDG_CONFIG_HOME and XDG_DATA_HOME are in it.
const std::filesystem::path& TestHome();

// The arguments the fake desktop's program was last started with; the first
// says which application it was ("text", "html" or "browser"). Waits up to a
// few seconds for the program to write them, and takes them away.
std::vector<std::string> TakeLaunch();

}  // namespace zormin::testing
