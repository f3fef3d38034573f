#pragma once
// The command-line front end: the same core as the window, for scripts.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli/messages.h"
#include "cli/progress_line.h"
#include "convert/charset.h"
#include "convert/text_convert.h"
#include "core/case_mode.h"
#include "core/message.h"

namespace zormin::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Messages go to standard error, in the user's language, after the name of
// the file they are about and followed by the system's reason where the core
// noted one. A Yes/No
// question is answered by --yes (with the answer that lets the work go on),
// asked on the terminal when standard input is one, and otherwise answered No.
// A run over every file shows its progress on a terminal (see ProgressLine).
// --quiet silences the progress and the closing message, not the failures.
class ConsoleSink : public MessageSink {
 public:
  // `onYes`: the answer --yes gives; none without --yes.
  explicit ConsoleSink(std::optional<MessageAnswer> onYes = std::nullopt, bool quiet = false)
      : m_onYes(onYes), m_quiet(quiet), m_progress(!quiet) {}
  MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons, MessageIcon icon) override;
  void BeginFile(std::string_view name) override;
  void NoteCause(std::error_code error, std::string_view path) override;
  bool ContinueRun(std::size_t index, std::size_t total, std::string_view name) override;
  // Clears the progress line: the run is over.
  void EndRun() { m_progress.Clear(); }
  // The file type and folder of the list a run or renaming works on: a list
  // with no files is then reported with both named.
  void NameTheList(std::string_view fileType, std::string_view folder);

 private:
  struct Listed {
    std::string fileType;
    std::string folder;  // as shown, with a trailing slash
  };
  std::optional<MessageAnswer> m_onYes;
  bool m_quiet;
  ProgressLine m_progress;
  std::string m_subject;
  std::string m_cause;
  std::optional<Listed> m_listed;
};

// A name as the command line prints it, one to a line: a line feed is shown
// as \n, a backslash as \\, and any other control character (C0, DEL, and
// C1 in UTF-8) as \xNN, so that every name is one line, can be told from
// every other, and never sends the terminal a command.
std::string ShowName(std::string_view name);

// The words of one command after its name, taken one at a time.
class Args {
 public:
  explicit Args(std::vector<std::string> words) : m_words(std::move(words)) {}
  bool Done() const { return m_next >= m_words.size(); }
  std::string Take() { return m_words[m_next++]; }

 private:
  std::vector<std::string> m_words;
  std::size_t m_next = 0;
};

// Prints "zormin-cli: MESSAGE" and a pointer to --help; returns kExitUsage.
int UsageError(std::string_view message);

// Prints the usage of `command`, or of every command when it is empty, to
// standard output; returns kExitOk, or kExitFailed when it cannot be written.
int PrintUsage(std::string_view command);

// Writes `text` to standard output: kExitOk, or kExitFailed after saying why not.
int PrintOut(std::string_view text);

// Reads the value of an option such as "--type PATTERN" (or "--type=PATTERN").
// `word` is the option just taken; false (after a usage message) when missing.
bool TakeValue(Args& args, const std::string& word, std::string_view option, std::string& value);
bool IsOption(const std::string& word, std::string_view option);
// The value of --subfolder, which must name a folder: not empty.
bool TakeSubFolder(Args& args, const std::string& word, std::string& value);

// The values of --encoding and --line-ends, read and checked; false (after a
// usage message) when missing or unknown.
bool TakeEncoding(Args& args, const std::string& word, Encoding& encoding);
bool TakeLineEnds(Args& args, const std::string& word, LineEnds& lineEnds);

int RunTags(Args args);
int RunList(Args args);
int RunRun(Args args);
int RunNames(Args args);

int Main(int argc, char** argv);

}  // namespace zormin::cli
