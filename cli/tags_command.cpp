// zormin-cli tags: files named on the command line, or a filter.

#include <unistd.h>

#include <filesystem>

#include "cli/cli.h"
#include "convert/convert_file.h"
#include "convert/text_convert.h"

namespace zormin::cli {

int RunTags(Args args) {
  std::optional<CaseMode> mode;
  std::optional<std::string> subFolder;
  Encoding encoding = Encoding::Auto;
  std::vector<std::string> files;
  bool optionsEnded = false;
  while (!args.Done()) {
    const std::string word = args.Take();
    if (optionsEnded || word == "-" || !word.starts_with("-")) {
      files.push_back(word);
    } else if (word == "--") {
      optionsEnded = true;
    } else if (word == "--upper" || word == "--lower") {
      const CaseMode wanted = word == "--upper" ? CaseMode::Upper : CaseMode::Lower;
      if (mode && *mode != wanted) return UsageError("--upper and --lower exclude each other");
      mode = wanted;
    } else if (IsOption(word, "--subfolder")) {
      std::string value;
      if (!TakeValue(args, word, "--subfolder", value)) return kExitUsage;
      subFolder = value;
    } else if (IsOption(word, "--encoding")) {
      std::string value;
      if (!TakeValue(args, word, "--encoding", value)) return kExitUsage;
      const auto parsed = TakeEncoding(value);
      if (!parsed) return kExitUsage;
      encoding = *parsed;
    } else {
      return UsageError("unknown option '" + word + "'");
    }
  }
  if (!mode) return UsageError("tags needs --upper or --lower");

  const bool filter = files.empty() || (files.size() == 1 && files.front() == "-" && !optionsEnded);
  if (filter) {
    if (subFolder) return UsageError("--subfolder needs FILE arguments");
    TextConvertOptions options;
    options.encoding = encoding;
    ConsoleSink sink;
    sink.BeginFile("-");
    switch (ConvertText(STDIN_FILENO, STDOUT_FILENO, *mode, options)) {
      case StreamStatus::Ok: return kExitOk;
      case StreamStatus::ReadFailed:
        sink.ShowMessage(text::kInputNotRead, MessageButtons::Ok, MessageIcon::Exclamation);
        return kExitFailed;
      case StreamStatus::WriteFailed:
        sink.ShowMessage(text::kOutputNotWritten, MessageButtons::Ok, MessageIcon::Exclamation);
        return kExitFailed;
    }
    return kExitFailed;
  }

  ConvertOptions options;
  options.overwrite = !subFolder.has_value();
  if (subFolder) options.subFolder = *subFolder;
  options.encoding = encoding;
  ConsoleSink sink;
  int status = kExitOk;
  for (const std::string& file : files) {
    const std::filesystem::path path(file);
    sink.BeginFile(file);
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    if (ConvertFile(folder, path.filename().string(), *mode, options, sink) != ConvertResult::Converted) {
      status = kExitFailed;
    }
  }
  return status;
}

}  // namespace zormin::cli
