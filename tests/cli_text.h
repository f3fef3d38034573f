#pragma once
// The command line's English for the core's texts, for the tests of its output.

#include <string>
#include <string_view>

#include "cli/messages.h"

namespace zormin::testing {

// A text of the core as the command line shows it in English, the tests'
// language (the test process itself stays in the "C" locale).
inline std::string CliText(std::string_view coreText) { return cli::LocalText(coreText); }

}  // namespace zormin::testing
