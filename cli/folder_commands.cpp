// zormin-cli list, run and names: the window's commands on a folder.

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <optional>
#include <string>

#include "cli/cli.h"
#include "core/file_io.h"
#include "core/texts.h"
#include "folder/conversion_run.h"
#include "folder/file_list.h"
#include "folder/name_case.h"

namespace zormin::cli {

namespace {

// What the three commands share: FOLDER, the file type and the target.
struct FolderArgs {
  std::optional<std::string> folder;
  std::string fileType{kDefaultFileType};
  std::optional<CaseMode> mode;
  bool all = false;
  std::optional<std::string> file;
  std::optional<std::string> subFolder;
  Encoding encoding = Encoding::Auto;
  LineEnds lineEnds = LineEnds::CrLf;
  bool yes = false;
  bool force = false;
  bool quiet = false;
  bool null = false;
};

// Which options a command takes besides --type.
struct Accepts {
  bool target = false;     // --upper/--lower, --all/--file, --yes, --quiet
  bool subFolder = false;  // --subfolder, --encoding, --line-ends, --force
  bool names = false;      // --null
};

// A pattern without a wildcard that names a file here was most likely
// written unquoted, and the shell put the names it matched in its place.
bool LooksExpandedByTheShell(const std::string& pattern) {
  struct stat st {};
  return pattern.find_first_of("*?") == std::string::npos && ::lstat(pattern.c_str(), &st) == 0;
}

// Reads the words of a command; false after a usage message.
bool Parse(Args& args, std::string_view command, Accepts accepts, FolderArgs& out) {
  bool optionsEnded = false;
  while (!args.Done()) {
    const std::string word = args.Take();
    std::string value;
    if (optionsEnded || !word.starts_with("-") || word == "-") {
      if (out.folder) {
        UsageError(FillIn(_("%s takes one FOLDER"), {command}));
        return false;
      }
      out.folder = word;
    } else if (word == "--") {
      optionsEnded = true;
    } else if (IsOption(word, "--type")) {
      if (!TakeValue(args, word, "--type", out.fileType)) return false;
      if (LooksExpandedByTheShell(out.fileType)) {
        UsageError(FillIn(_("--type '%s' is a file: the shell put names in place of the pattern; quote it, as in "
                            "--type '*.htm'"),
                          {ShowName(out.fileType)}));
        return false;
      }
    } else if (accepts.target && (word == "--upper" || word == "--lower")) {
      const CaseMode wanted = word == "--upper" ? CaseMode::Upper : CaseMode::Lower;
      if (out.mode && *out.mode != wanted) {
        UsageError(_("--upper and --lower exclude each other"));
        return false;
      }
      out.mode = wanted;
    } else if (accepts.target && word == "--all") {
      out.all = true;
    } else if (accepts.target && IsOption(word, "--file")) {
      if (!TakeValue(args, word, "--file", value)) return false;
      out.file = value;
    } else if (accepts.target && word == "--yes") {
      out.yes = true;
    } else if (accepts.target && (word == "--quiet" || word == "-q")) {
      out.quiet = true;
    } else if (accepts.names && (word == "--null" || word == "-0")) {
      out.null = true;
    } else if (accepts.subFolder && IsOption(word, "--subfolder")) {
      if (!TakeSubFolder(args, word, value)) return false;
      out.subFolder = value;
    } else if (accepts.subFolder && word == "--force") {
      out.force = true;
    } else if (accepts.subFolder && IsOption(word, "--line-ends")) {
      if (!TakeLineEnds(args, word, out.lineEnds)) return false;
    } else if (accepts.subFolder && IsOption(word, "--encoding")) {
      if (!TakeEncoding(args, word, out.encoding)) return false;
    } else {
      UsageError(FillIn(_("unknown option '%s' for %s"), {word, command}));
      return false;
    }
  }
  // An empty word (an unset variable in "$dir") names no folder either.
  if (!out.folder || out.folder->empty()) {
    UsageError(FillIn(_("%s needs a FOLDER"), {command}));
    return false;
  }
  if (accepts.target) {
    if (!out.mode) {
      UsageError(FillIn(_("%s needs --upper or --lower"), {command}));
      return false;
    }
    if (out.all && out.file) {
      UsageError(_("--all and --file exclude each other"));
      return false;
    }
    if (!out.all && !out.file) {
      UsageError(FillIn(_("%s needs --all or --file NAME"), {command}));
      return false;
    }
  }
  return true;
}

// "zormin-cli: FOLDER: [WHAT: ]REASON"
void ReportFolder(const std::string& folder, std::string_view what, const std::error_code& error) {
  std::cerr << "zormin-cli: " << ShowName(folder) << ": ";
  if (!what.empty()) std::cerr << what << ": ";
  std::cerr << error.message() << '\n';
}

// The list as the window would show it, with the entry named by --file
// selected. false, after saying why, when there is nothing to work on: a
// folder that cannot be read, or a --file that is not in the list.
bool MakeList(const FolderArgs& args, VectorFileList& list, FileListResult& read) {
  read = RefreshFileList(list, *args.folder, args.fileType);
  if (read.status == ListStatus::NotOpened) {
    ReportFolder(*args.folder, "", read.error);
    return false;
  }
  if (!args.file) return true;
  const auto& names = list.names();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == *args.file) {
      list.Select(static_cast<long>(i));
      return true;
    }
  }
  if (read.status == ListStatus::CutShort) {
    ReportFolder(*args.folder, LocalText(text::kFolderNotReadCompletely), read.error);
    return false;
  }
  const std::filesystem::path path = std::filesystem::path(*args.folder) / *args.file;
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    std::cerr << "zormin-cli: " << ShowName(path.native()) << ": " << std::error_code(errno, std::generic_category()).message()
              << '\n';
  } else {
    std::cerr << "zormin-cli: " << ShowName(path.native()) << ": "
              << FillIn(_("not a listed file (type \"%s\")"), {args.fileType}) << '\n';
  }
  return false;
}

// After the work: a folder read in part is a failure, whatever was done.
int FinalStatus(const FolderArgs& args, const FileListResult& read, bool done) {
  if (read.status == ListStatus::CutShort) {
    ReportFolder(*args.folder, LocalText(text::kFolderNotReadCompletely), read.error);
    return kExitFailed;
  }
  return done ? kExitOk : kExitFailed;
}

}  // namespace

int RunList(Args args) {
  FolderArgs parsed;
  if (!Parse(args, "list", Accepts{.names = true}, parsed)) return kExitUsage;
  VectorFileList list;
  FileListResult read;
  if (!MakeList(parsed, list, read)) return kExitFailed;
  // With --null each name goes out as it is, ended by a NUL, which no name holds.
  std::string out;
  for (const std::string& name : list.names()) {
    out.append(parsed.null ? name : ShowName(name));
    out.push_back(parsed.null ? '\0' : '\n');
  }
  if (!WriteFull(STDOUT_FILENO, out.data(), out.size())) {
    std::cerr << "zormin-cli: " << _("cannot write the list") << ": "
              << std::error_code(errno, std::generic_category()).message() << '\n';
    return kExitFailed;
  }
  return FinalStatus(parsed, read, true);
}

int RunRun(Args args) {
  FolderArgs parsed;
  if (!Parse(args, "run", Accepts{.target = true, .subFolder = true}, parsed)) return kExitUsage;
  VectorFileList list;
  FileListResult read;
  if (!MakeList(parsed, list, read)) return kExitFailed;
  ConversionOptions options;
  options.folder = *parsed.folder;
  options.fileType = parsed.fileType;
  options.mode = *parsed.mode;
  options.allFiles = parsed.all;
  options.overwrite = !parsed.subFolder.has_value();
  if (parsed.subFolder) options.subFolder = *parsed.subFolder;
  options.encoding = parsed.encoding;
  options.lineEnds = parsed.lineEnds;
  options.skipBinary = !parsed.force;
  // --yes confirms a run over every file of type "*.*".
  ConsoleSink sink(parsed.yes ? std::optional(MessageAnswer::Yes) : std::nullopt, parsed.quiet);
  sink.NameTheList(parsed.fileType, *parsed.folder);
  const bool converted = StartConversion(options, list, sink) == ConversionOutcome::Converted;
  sink.EndRun();
  return FinalStatus(parsed, read, converted);
}

int RunNames(Args args) {
  FolderArgs parsed;
  if (!Parse(args, "names", Accepts{.target = true}, parsed)) return kExitUsage;
  VectorFileList list;
  FileListResult read;
  if (!MakeList(parsed, list, read)) return kExitFailed;
  NameCaseOptions options;
  options.folder = *parsed.folder;
  options.fileType = parsed.fileType;
  options.allFiles = parsed.all;
  // The only question asks whether to stop after a failed rename: --yes goes on.
  ConsoleSink sink(parsed.yes ? std::optional(MessageAnswer::No) : std::nullopt, parsed.quiet);
  sink.NameTheList(parsed.fileType, *parsed.folder);
  const bool renamed = ChangeNameCase(*parsed.mode, options, list, sink) == NameCaseOutcome::Renamed;
  sink.EndRun();
  return FinalStatus(parsed, read, renamed);
}

}  // namespace zormin::cli
