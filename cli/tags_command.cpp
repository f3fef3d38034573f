// zormin-cli tags: files named on the command line, or a filter.

#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "cli/cli.h"
#include "convert/convert_file.h"
#include "convert/text_convert.h"

namespace zormin::cli {

int RunTags(Args args) {
  std::optional<CaseMode> mode;
  std::optional<std::string> subFolder;
  Encoding encoding = Encoding::Auto;
  LineEnds lineEnds = LineEnds::CrLf;
  bool force = false;
  bool quiet = false;
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
      if (mode && *mode != wanted) return UsageError(_("--upper and --lower exclude each other"));
      mode = wanted;
    } else if (IsOption(word, "--subfolder")) {
      std::string value;
      if (!TakeSubFolder(args, word, value)) return kExitUsage;
      subFolder = value;
    } else if (word == "--force") {
      force = true;
    } else if (word == "--quiet" || word == "-q") {
      quiet = true;
    } else if (IsOption(word, "--line-ends")) {
      if (!TakeLineEnds(args, word, lineEnds)) return kExitUsage;
    } else if (IsOption(word, "--encoding")) {
      if (!TakeEncoding(args, word, encoding)) return kExitUsage;
    } else {
      return UsageError(FillIn(_("unknown option '%s' for %s"), {word, "tags"}));
    }
  }
  if (!mode) return UsageError(FillIn(_("%s needs --upper or --lower"), {"tags"}));

  const bool filter = files.empty() || (files.size() == 1 && files.front() == "-" && !optionsEnded);
  if (filter) {
    if (subFolder) return UsageError(_("--subfolder needs FILE arguments"));
    // Typed text is seldom what was meant: say so rather than wait in silence.
    if (files.empty() && ::isatty(STDIN_FILENO) != 0) {
      return UsageError(_("tags converts standard input, which is a terminal here: name the FILEs, or give - to "
                          "type the text"));
    }
    TextConvertOptions options;
    options.encoding = encoding;
    options.lineEnds = lineEnds;
    ConsoleSink sink;
    sink.BeginFile("-");
    errno = 0;
    const StreamStatus status = ConvertText(STDIN_FILENO, STDOUT_FILENO, *mode, options);
    // The call that failed left its reason in errno.
    if (status != StreamStatus::Ok && errno != 0) sink.NoteCause(std::error_code(errno, std::generic_category()), {});
    switch (status) {
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
  options.lineEnds = lineEnds;
  options.skipBinary = !force;
  ConsoleSink sink(std::nullopt, quiet);
  int status = kExitOk;
  for (std::size_t index = 0; index < files.size(); ++index) {
    const std::string& file = files[index];
    const std::filesystem::path path(file);
    if (files.size() > 1) sink.ContinueRun(index, files.size(), file);
    if (file.empty()) {  // names no file: not the folder it would be taken for
      sink.BeginFile("''");
      sink.NoteCause(std::make_error_code(std::errc::no_such_file_or_directory), {});
      sink.ShowMessage(text::kInputNotOpened, MessageButtons::Ok, MessageIcon::Exclamation);
      status = kExitFailed;
      continue;
    }
    sink.BeginFile(file);
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    if (ConvertFile(folder, path.filename().string(), *mode, options, sink) != ConvertResult::Converted) {
      status = kExitFailed;
    }
  }
  sink.EndRun();
  return status;
}

}  // namespace zormin::cli
