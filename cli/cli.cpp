#include "cli/cli.h"
#include "cli/progress_line.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <iostream>
#include <string>

#include "core/file_io.h"
#include "core/texts.h"

namespace zormin::cli {

namespace {

// The usage of each command, and the words all share.
constexpr const char* kTagsUsage = N_(
    "  zormin-cli tags --upper|--lower [--encoding E] [--line-ends L] [-]\n"
    "      Converts standard input to standard output.\n"
    "  zormin-cli tags --upper|--lower [--subfolder NAME] [--encoding E]\n"
    "                  [--line-ends L] [--force] [--quiet] FILE...\n"
    "      Converts each FILE in place, or into NAME/ beside it.\n");
constexpr const char* kListUsage = N_(
    "  zormin-cli list [--type PATTERN] [--null] FOLDER\n"
    "      Lists the files of FOLDER that match PATTERN (default \"*.htm\").\n");
constexpr const char* kRunUsage = N_(
    "  zormin-cli run --upper|--lower --all|--file NAME [--type PATTERN]\n"
    "                 [--subfolder NAME] [--encoding E] [--line-ends L] [--force]\n"
    "                 [--yes] [--quiet] FOLDER\n"
    "      Converts the tags of the listed file NAME, or of every listed file.\n");
constexpr const char* kNamesUsage = N_(
    "  zormin-cli names --upper|--lower --all|--file NAME [--type PATTERN]\n"
    "                   [--yes] [--quiet] FOLDER\n"
    "      Renames the listed file NAME, or every listed file, to an upper- or\n"
    "      lower-case name.\n");
constexpr const char* kAbout = N_(
    "  zormin-cli --help | --version | COMMAND --help\n"
    "\n"
    "Tags are changed to upper or lower case: element and attribute names, not\n"
    "text, quoted values, comments or script blocks. Files are written with CR LF\n"
    "line ends unless --line-ends keep; a file is replaced only once its new\n"
    "content is whole, and not at all when the conversion changes nothing.\n");
constexpr const char* kOptions = N_(
    "Options:\n"
    "  --type PATTERN Which files of FOLDER are listed, as \"*.html\"; quote it, so\n"
    "                 that the shell does not put file names in its place.\n"
    "  --encoding E   auto (default), shift_jis (sjis, cp932), euc-jp (eucjp),\n"
    "                 iso-2022-jp (jis) or utf-8 (utf8). The bytes of Japanese\n"
    "                 characters are never changed.\n"
    "  --force        Convert files that do not look like text too. Without it a\n"
    "                 file with a NUL byte or another control byte that text does\n"
    "                 not use in its first 32 KiB (an image, say) is skipped.\n"
    "  --line-ends L  crlf (default) writes every line end as CR LF; keep writes\n"
    "                 each as it was read (LF stays LF, CR LF stays CR LF).\n"
    "  --yes          Answer every question so that the work goes on: convert\n"
    "                 with type \"*.*\", go on after a rename that failed.\n"
    "  --quiet, -q    No progress line and no closing message; failures are still\n"
    "                 reported. The progress line is shown on a terminal only.\n"
    "  --null, -0     (list) End each name with a NUL byte, not a line feed, and\n"
    "                 print it as it is.\n"
    "\n"
    "Messages go to standard error, with the system's reason where there is one,\n"
    "in English, or in Japanese under a Japanese locale (LANG=ja_JP.UTF-8).\n"
    "In the list and in messages a line feed in a name is shown as \\n, a\n"
    "backslash as \\\\, and any other control character as \\xNN.\n"
    "\n"
    "Exit status: 0 when all went well; 1 when some file failed or was skipped,\n"
    "the folder could not be read whole, or for run and names when nothing was\n"
    "done (no file listed or selected, a question answered No); 2 for a usage\n"
    "error.\n");

}  // namespace

int PrintUsage(std::string_view command) {
  std::string usage = _("Usage:\n");
  if (command == "tags" || command.empty()) usage.append(_(kTagsUsage));
  if (command == "list" || command.empty()) usage.append(_(kListUsage));
  if (command == "run" || command.empty()) usage.append(_(kRunUsage));
  if (command == "names" || command.empty()) usage.append(_(kNamesUsage));
  if (command.empty()) usage.append(_(kAbout));
  usage.append("\n").append(_(kOptions));
  return PrintOut(usage);
}

int PrintOut(std::string_view text) {
  if (WriteFull(STDOUT_FILENO, text.data(), text.size())) return kExitOk;
  const std::error_code error(errno, std::generic_category());
  std::cerr << "zormin-cli: " << _("cannot write to standard output") << ": " << error.message() << '\n';
  return kExitFailed;
}

std::string ShowName(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const auto escape = [](std::string& shown, unsigned char c) {
    shown.append("\\x").push_back(kHex[c >> 4]);
    shown.push_back(kHex[c & 0xF]);
  };
  std::string shown;
  shown.reserve(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c == '\n') {
      shown.append("\\n");
    } else if (c == '\\') {
      shown.append("\\\\");
    } else if (c < 0x20 || c == 0x7F) {
      escape(shown, c);
    } else if (c == 0xC2 && i + 1 < name.size() && (static_cast<unsigned char>(name[i + 1]) & 0xE0) == 0x80) {
      // A C1 control in UTF-8 (U+0080 to U+009F): a terminal may obey it.
      escape(shown, c);
      escape(shown, static_cast<unsigned char>(name[++i]));
    } else {
      shown.push_back(static_cast<char>(c));
    }
  }
  return shown;
}

void ConsoleSink::BeginFile(std::string_view name) {
  m_subject = ShowName(name);
  m_cause.clear();
}

void ConsoleSink::NoteCause(std::error_code error, std::string_view path) {
  m_cause = error ? error.message() : std::string(_("in the way"));
  if (!path.empty()) m_cause.append(": ").append(ShowName(path));
}

bool ConsoleSink::ContinueRun(std::size_t index, std::size_t total, std::string_view name) {
  m_progress.Show(index, total, ShowName(name));
  return true;
}

namespace {
// The message that ends a conversion run that went well.
bool IsClosingMessage(std::string_view text) {
  return text == text::kAllConvertedLower || text == text::kAllConvertedUpper ||
         text == text::kSelectedConvertedLower || text == text::kSelectedConvertedUpper;
}
}  // namespace

MessageAnswer ConsoleSink::ShowMessage(std::string_view text, MessageButtons buttons, MessageIcon /*icon*/) {
  m_progress.Clear();
  if (m_quiet && buttons == MessageButtons::Ok && IsClosingMessage(text)) return MessageAnswer::Ok;
  std::string line;
  if (!m_subject.empty()) line.append(m_subject).append(": ");
  if (m_listed && text == text::kNoFiles) {
    line.append(FillIn(_("no %s files in %s (use --type)"), {m_listed->fileType, m_listed->folder}));
  } else {
    line.append(LocalText(text, ShowName));
  }
  if (!m_cause.empty()) {
    // The reason goes with what failed, before the question it leads to.
    const std::size_t question = buttons == MessageButtons::YesNo ? line.rfind('\n') : std::string::npos;
    line.insert(question == std::string::npos ? line.size() : question, " (" + m_cause + ")");
  }
  m_cause.clear();
  if (buttons == MessageButtons::Ok) {
    std::cerr << line << '\n' << std::flush;
    return MessageAnswer::Ok;
  }
  if (m_onYes) {
    std::cerr << line << (*m_onYes == MessageAnswer::Yes ? " [y/N] y " : " [y/N] n ")
              << (*m_onYes == MessageAnswer::Yes ? _("(--yes)") : _("(--yes: go on)")) << '\n' << std::flush;
    return *m_onYes;
  }
  if (::isatty(STDIN_FILENO) == 0) {
    std::cerr << line << " [y/N] n " << _("(no terminal to ask)") << '\n' << std::flush;
    return MessageAnswer::No;
  }
  std::cerr << line << " [y/N] " << std::flush;
  std::string answer;
  if (!std::getline(std::cin, answer)) return MessageAnswer::No;
  return (answer == "y" || answer == "Y" || answer == "yes" || answer == "YES") ? MessageAnswer::Yes
                                                                                : MessageAnswer::No;
}

void ConsoleSink::NameTheList(std::string_view fileType, std::string_view folder) {
  std::string shown = ShowName(folder);
  if (!shown.ends_with('/')) shown.push_back('/');
  m_listed = Listed{std::string(fileType), shown};
}

int UsageError(std::string_view message) {
  std::cerr << "zormin-cli: " << message << '\n' << _("Try 'zormin-cli --help'.") << '\n';
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
    UsageError(FillIn(_("%s needs a value"), {option}));
    return false;
  }
  value = args.Take();
  return true;
}

bool TakeSubFolder(Args& args, const std::string& word, std::string& value) {
  if (!TakeValue(args, word, "--subfolder", value)) return false;
  if (!value.empty()) return true;
  UsageError(FillIn(_("%s needs a value"), {"--subfolder"}));
  return false;
}

bool TakeEncoding(Args& args, const std::string& word, Encoding& encoding) {
  std::string value;
  if (!TakeValue(args, word, "--encoding", value)) return false;
  const std::optional<Encoding> parsed = ParseEncodingName(value);
  if (!parsed) {
    UsageError(FillIn(_("unknown encoding '%s' (auto, shift_jis, euc-jp, iso-2022-jp, utf-8)"), {value}));
    return false;
  }
  encoding = *parsed;
  return true;
}

bool TakeLineEnds(Args& args, const std::string& word, LineEnds& lineEnds) {
  std::string value;
  if (!TakeValue(args, word, "--line-ends", value)) return false;
  if (value == "crlf" || value == "keep") {
    lineEnds = value == "crlf" ? LineEnds::CrLf : LineEnds::Keep;
    return true;
  }
  UsageError(FillIn(_("unknown line ends '%s' (crlf, keep)"), {value}));
  return false;
}

namespace {
// Interrupted (Ctrl-C, Ctrl-\, a terminal closed, kill): the file being converted
// stays as it was; its temporary file goes, and so does the progress line.
void OnSignal(int signal) {
  RemovePendingTempFile();
  ClearProgressLineOnSignal();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// Whether the words of a command ask for its usage (before any "--").
bool AsksForHelp(const std::vector<std::string>& words) {
  for (const std::string& word : words) {
    if (word == "--") return false;
    if (word == "--help" || word == "-h") return true;
  }
  return false;
}

}  // namespace

int Main(int argc, char** argv) {
  SetUpMessages();
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) std::signal(signal, OnSignal);
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty()) return UsageError(_("no command given"));
  const std::string command = words.front();
  std::vector<std::string> rest(words.begin() + 1, words.end());
  if (command == "--help" || command == "-h" || command == "help") return PrintUsage({});
  const bool known = command == "tags" || command == "list" || command == "run" || command == "names";
  if (known && AsksForHelp(rest)) return PrintUsage(command);
  Args args(std::move(rest));
  if (command == "--version") {
    return PrintOut("zormin-cli " ZORMIN_VERSION "\n");
  }
  if (command == "tags") return RunTags(std::move(args));
  if (command == "list") return RunList(std::move(args));
  if (command == "run") return RunRun(std::move(args));
  if (command == "names") return RunNames(std::move(args));
  return UsageError(FillIn(_("unknown command '%s'"), {command}));
}

}  // namespace zormin::cli
