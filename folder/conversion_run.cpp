#include "folder/conversion_run.h"

#include "convert/convert_file.h"

namespace zormin {

namespace {

void Tell(MessageSink& sink, std::string_view message) {
  sink.BeginFile({});
  sink.ShowMessage(message, MessageButtons::Ok, MessageIcon::Exclamation);
}

bool Convert(const ConversionOptions& options, const std::string& name, MessageSink& sink) {
  ConvertOptions convertOptions;
  convertOptions.overwrite = options.overwrite;
  convertOptions.subFolder = options.subFolder;
  convertOptions.encoding = options.encoding;
  convertOptions.lineEnds = options.lineEnds;
  convertOptions.skipBinary = options.skipBinary;
  sink.BeginFile(name);
  return ConvertFile(options.folder, name, options.mode, convertOptions, sink) == ConvertResult::Converted;
}

}  // namespace

ConversionOutcome StartConversion(const ConversionOptions& options, FileList& list, MessageSink& sink) {
  const bool lower = options.mode == CaseMode::Lower;
  sink.BeginFile({});
  if (options.folder.empty()) {
    sink.ShowMessage(text::kNoFolder, MessageButtons::Ok, MessageIcon::Error);
    return ConversionOutcome::NoFolder;
  }

  if (options.allFiles) {
    if (options.fileType == "*.*" &&
        sink.ShowMessage(text::kConfirmAllFiles, MessageButtons::YesNo, MessageIcon::Question) != MessageAnswer::Yes) {
      return ConversionOutcome::Declined;
    }
    bool failed = false;
    // The count is read on every pass: the list is the window's.
    for (std::size_t index = 0; index < list.Count(); ++index) {
      const std::string name = list.Text(index);
      if (!sink.ContinueRun(index, list.Count(), name)) return ConversionOutcome::Cancelled;
      if (!Convert(options, name, sink)) failed = true;
    }
    if (list.Count() == 0) {
      Tell(sink, text::kNoFiles);
      return ConversionOutcome::NoFiles;
    }
    if (failed) return ConversionOutcome::Failed;
    Tell(sink, lower ? text::kAllConvertedLower : text::kAllConvertedUpper);
    return ConversionOutcome::Converted;
  }

  const long selected = list.Selected();
  const std::string name = selected >= 0 ? list.Text(static_cast<std::size_t>(selected)) : std::string();
  if (name.empty()) {
    Tell(sink, text::kNothingSelected);
    return ConversionOutcome::NothingSelected;
  }
  if (!Convert(options, name, sink)) return ConversionOutcome::Failed;
  Tell(sink, lower ? text::kSelectedConvertedLower : text::kSelectedConvertedUpper);
  return ConversionOutcome::Converted;
}

}  // namespace zormin
