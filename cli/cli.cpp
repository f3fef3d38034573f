#include "cli/cli.h"

#include <unistd.h>

#include <csignal>
#include <iostream>
#include <string>

#include "core/file_io.h"

namespace zormin::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage:\n"
    "  zormin-cli tags --upper|--lower [--encoding E] [-]\n"
    "      Converts standard input to standard output.\n"
    "  zormin-cli tags --upper|--lower [--subfolder NAME] [--encoding E] FILE...\n"
    "      Converts each FILE in place, or into NAME/ beside it.\n"
    "  zormin-cli list [--type PATTERN] FOLDER\n"
    "      Lists the files of FOLDER that match PATTERN (default \"*.htm\").\n"
    "  zormin-cli run --upper|--lower [--all | --file NAME] [--type PATTERN]\n"
    "                 [--subfolder NAME] [--encoding E] [--yes] FOLDER\n"
    "      Converts the tags of the listed file NAME, or of every listed file.\n"
    "  zormin-cli names --upper|--lower [--all | --file NAME] [--type PATTERN] [--yes] FOLDER\n"
    "      Renames the listed file NAME, or every listed file, to an upper- or lower-case name.\n"
    "  zormin-cli --help | --version\n"
    "\n"
    "Tags are changed to upper or lower case: element and attribute names, not\n"
    "text, quoted values, comments or script blocks. Files are written with CR LF\n"
    "line ends; a file is replaced only once its new content is whole.\n"
    "\n"
    "Options:\n"
    "  --encoding E   auto (default), shift_jis, euc-jp, iso-2022-jp or utf-8.\n"
    "                 The bytes of Japanese characters are never changed.\n"
    "  --yes          Answer every question so that the work goes on: convert\n"
    "                 with type \"*.*\", go on after a rename that failed.\n"
    "\n"
    "Messages go to standard error, with the system's reason where there is one.\n"
    "In the list and in messages a line feed in a name is shown as \\n and a\n"
    "backslash as \\\\.\n"
    "\n"
    "Exit status: 0 when all went well; 1 when some file failed, the folder could\n"
    "not be read whole, or for run and names when nothing was done (no file listed\n"
    "or selected, a question answered No); 2 for a usage error.\n";

}  // namespace

std::string ShowName(std::string_view name) {
  std::string shown;
  shown.reserve(name.size());
  for (char c : name) {
    if (c == '\n') {
      shown.append("\\n");
    } else if (c == '\\') {
      shown.append("\\\\");
    } else {
      shown.push_back(c);
    }
  }
  return shown;
}

void ConsoleSink::BeginFile(std::string_view name) {
  m_subject = ShowName(name);
  m_cause.clear();
}

void ConsoleSink::NoteCause(std::error_code error, std::string_view path) {
  m_cause = error ? error.message() : std::string("in the way");
  if (!path.empty()) m_cause.append(": ").append(ShowName(path));
}

MessageAnswer ConsoleSink::ShowMessage(std::string_view text, MessageButtons buttons, MessageIcon /*icon*/) {
  std::string line;
  if (!m_subject.empty()) line.append(m_subject).append(": ");
  line.append(text);
  if (!m_cause.empty()) line.append(" (").append(m_cause).append(")");
  m_cause.clear();
  if (buttons == MessageButtons::Ok) {
    std::cerr << line << '\n' << std::flush;
    return MessageAnswer::Ok;
  }
  if (m_onYes) {
    std::cerr << line << (*m_onYes == MessageAnswer::Yes ? " [y/N] y (--yes)\n" : " [y/N] n (--yes: go on)\n")
              << std::flush;
    return *m_onYes;
  }
  if (::isatty(STDIN_FILENO) == 0) {
    std::cerr << line << " [y/N] n (no terminal to ask)\n" << std::flush;
    return MessageAnswer::No;
  }
  std::cerr << line << " [y/N] " << std::flush;
  std::string answer;
  if (!std::getline(std::cin, answer)) return MessageAnswer::No;
  return (answer == "y" || answer == "Y" || answer == "yes" || answer == "YES") ? MessageAnswer::Yes
                                                                                : MessageAnswer::No;
}

int UsageError(std::string_view message) {
  std::cerr << "zormin-cli: " << message << "\nTry 'zormin-cli --help'.\n";
  return kExitUsage;
}

bool IsOption(const std::string& word, std::string_view option) {
  return word == option || (word.size() > option.size() && word.starts_with(option) && word[option.size()] == '=');
}

bool TakeValue(Args& args, const std::string& word, std::string_view option, std::string& value) {
  if (word.size() > option.size()) {  // --option=value
    value = word.substr(option.size() + 1);
    return true;
  }
  if (args.Done()) {
    UsageError(std::string(option) + " needs a value");
    return false;
  }
  value = args.Take();
  return true;
}

std::optional<Encoding> TakeEncoding(const std::string& value) {
  auto encoding = ParseEncodingName(value);
  if (!encoding) UsageError("unknown encoding '" + value + "' (auto, shift_jis, euc-jp, iso-2022-jp, utf-8)");
  return encoding;
}

namespace {
// Interrupted (Ctrl-C, a terminal closed, kill): the file being converted
// stays as it was; its temporary file goes.
void OnSignal(int signal) {
  RemovePendingTempFile();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}
}  // namespace

int Main(int argc, char** argv) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, OnSignal);
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty()) return UsageError("no command given");
  const std::string command = words.front();
  Args args(std::vector<std::string>(words.begin() + 1, words.end()));
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return kExitOk;
  }
  if (command == "--version") {
    std::cout << "zormin-cli " << ZORMIN_VERSION << '\n';
    return kExitOk;
  }
  if (command == "tags") return RunTags(std::move(args));
  if (command == "list") return RunList(std::move(args));
  if (command == "run") return RunRun(std::move(args));
  if (command == "names") return RunNames(std::move(args));
  return UsageError("unknown command '" + command + "'");
}

}  // namespace zormin::cli
