#pragma once
// The progress of a run over many files, on one line of standard error that
// is rewritten for each file and cleared at the end: "12/340 name". Only on a
// terminal: a log or a pipe gets none of it.

#include <cstddef>
#include <string>
#include <string_view>

namespace zormin::cli {

class ProgressLine {
 public:
  // Shows nothing unless `wanted` and standard error is a terminal.
  explicit ProgressLine(bool wanted);
  ~ProgressLine() { Clear(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // `done` files of `total` are done; `name` is the next one.
  void Show(std::size_t done, std::size_t total, std::string_view name);
  // Erases the line, so that a message or the shell's prompt starts clean.
  void Clear();

 private:
  bool m_enabled;
  bool m_shown = false;
};

// Erases the line if one is shown; safe in a signal handler, so that Ctrl-C
// leaves the shell's prompt on a clean line.
void ClearProgressLineOnSignal();

// The text of the line: the counts and as much of `name` as fits in
// `columns` (a UTF-8 character is never cut).
std::string ProgressText(std::size_t done, std::size_t total, std::string_view name, std::size_t columns);

}  // namespace zormin::cli
