#include "cli/progress_line.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <csignal>
#include <iostream>

namespace zormin::cli {

namespace {

constexpr std::string_view kClearToEnd = "\033[K";

// Whether a line is on the screen, for the signal handler.
volatile std::sig_atomic_t g_lineShown = 0;

std::size_t TerminalColumns() {
  struct winsize size {};
  if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

}  // namespace

std::string ProgressText(std::size_t done, std::size_t total, std::string_view name, std::size_t columns) {
  std::string text = std::to_string(done) + "/" + std::to_string(total) + " ";
  // A line that wraps could not be rewritten: it stays one column short of
  // the width. A byte is at most one column, so counting bytes is safe.
  const std::size_t room = columns > text.size() + 1 ? columns - text.size() - 1 : 0;
  if (name.size() > room) {
    std::size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name = name.substr(0, cut);
  }
  return text.append(name);
}

ProgressLine::ProgressLine(bool wanted) : m_enabled(wanted && ::isatty(STDERR_FILENO) == 1) {}

void ProgressLine::Show(std::size_t done, std::size_t total, std::string_view name) {
  if (!m_enabled) return;
  std::cerr << '\r' << ProgressText(done, total, name, TerminalColumns()) << kClearToEnd << std::flush;
  m_shown = true;
  g_lineShown = 1;
}

void ProgressLine::Clear() {
  if (!m_shown) return;
  std::cerr << '\r' << kClearToEnd << std::flush;
  m_shown = false;
  g_lineShown = 0;
}

void ClearProgressLineOnSignal() {
  static constexpr char kErase[] = "\r\033[K";
  if (g_lineShown) (void)!::write(STDERR_FILENO, kErase, sizeof kErase - 1);
}

}  // namespace zormin::cli
