// zormin-cli list, run and names: the window's commands on a folder.

#include <unistd.h>

#include <iostream>
#include <optional>
#include <string>

#include "cli/cli.h"
#include "core/file_io.h"
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
  bool yes = false;
};

// Which options a command takes besides --type.
struct Accepts {
  bool target = false;     // --upper/--lower, --all/--file, --yes
  bool subFolder = false;  // --subfolder, --encoding
};

// Reads the words of a command; false after a usage message.
bool Parse(Args& args, std::string_view command, Accepts accepts, FolderArgs& out) {
  bool optionsEnded = false;
  while (!args.Done()) {
    const std::string word = args.Take();
    std::string value;
    if (optionsEnded || !word.starts_with("-") || word == "-") {
      if (out.folder) {
        UsageError(std::string(command) + " takes one FOLDER");
        return false;
      }
      out.folder = word;
    } else if (word == "--") {
      optionsEnded = true;
    } else if (IsOption(word, "--type")) {
      if (!TakeValue(args, word, "--type", out.fileType)) return false;
    } else if (accepts.target && (word == "--upper" || word == "--lower")) {
      const CaseMode wanted = word == "--upper" ? CaseMode::Upper : CaseMode::Lower;
      if (out.mode && *out.mode != wanted) {
        UsageError("--upper and --lower exclude each other");
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
    } else if (accepts.subFolder && IsOption(word, "--subfolder")) {
      if (!TakeValue(args, word, "--subfolder", value)) return false;
      out.subFolder = value;
    } else if (accepts.subFolder && IsOption(word, "--encoding")) {
      if (!TakeValue(args, word, "--encoding", value)) return false;
      const auto encoding = TakeEncoding(value);
      if (!encoding) return false;
      out.encoding = *encoding;
    } else {
      UsageError("unknown option '" + word + "' for " + std::string(command));
      return false;
    }
  }
  if (!out.folder) {
    UsageError(std::string(command) + " needs a FOLDER");
    return false;
  }
  if (accepts.target) {
    if (!out.mode) {
      UsageError(std::string(command) + " needs --upper or --lower");
      return false;
    }
    if (out.all && out.file) {
      UsageError("--all and --file exclude each other");
      return false;
    }
  }
  return true;
}

// The list as the window would show it, with the entry named by --file
// selected. Without --file, or with a name that is not listed, nothing is.
void MakeList(const FolderArgs& args, VectorFileList& list) {
  RefreshFileList(list, *args.folder, args.fileType);
  if (!args.file) return;
  const auto& names = list.names();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == *args.file) {
      list.Select(static_cast<long>(i));
      return;
    }
  }
}

}  // namespace

int RunList(Args args) {
  FolderArgs parsed;
  if (!Parse(args, "list", Accepts{}, parsed)) return kExitUsage;
  VectorFileList list;
  if (!RefreshFileList(list, *parsed.folder, parsed.fileType)) {
    std::cerr << "zormin-cli: cannot read the folder '" << *parsed.folder << "'\n";
    return kExitFailed;
  }
  std::string out;
  for (const std::string& name : list.names()) {
    out.append(name);
    out.push_back('\n');
  }
  if (!WriteFull(STDOUT_FILENO, out.data(), out.size())) {
    std::cerr << "zormin-cli: cannot write the list\n";
    return kExitFailed;
  }
  return kExitOk;
}

int RunRun(Args args) {
  FolderArgs parsed;
  if (!Parse(args, "run", Accepts{.target = true, .subFolder = true}, parsed)) return kExitUsage;
  VectorFileList list;
  MakeList(parsed, list);
  ConversionOptions options;
  options.folder = *parsed.folder;
  options.fileType = parsed.fileType;
  options.mode = *parsed.mode;
  options.allFiles = parsed.all;
  options.overwrite = !parsed.subFolder.has_value();
  if (parsed.subFolder) options.subFolder = *parsed.subFolder;
  options.encoding = parsed.encoding;
  ConsoleSink sink(parsed.yes);
  return StartConversion(options, list, sink) == ConversionOutcome::Converted ? kExitOk : kExitFailed;
}

int RunNames(Args args) {
  FolderArgs parsed;
  if (!Parse(args, "names", Accepts{.target = true}, parsed)) return kExitUsage;
  VectorFileList list;
  MakeList(parsed, list);
  NameCaseOptions options;
  options.folder = *parsed.folder;
  options.fileType = parsed.fileType;
  options.allFiles = parsed.all;
  ConsoleSink sink(parsed.yes);
  return ChangeNameCase(*parsed.mode, options, list, sink) == NameCaseOutcome::Renamed ? kExitOk : kExitFailed;
}

}  // namespace zormin::cli
