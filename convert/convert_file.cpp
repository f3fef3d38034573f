#include "convert/convert_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "convert/binary_check.h"
#include "convert/text_convert.h"
#include "core/file_io.h"

namespace zormin {

namespace fs = std::filesystem;

namespace {

std::error_code Errno(int error) { return {error, std::generic_category()}; }

ConvertResult Fail(MessageSink& sink, ConvertResult result, std::error_code cause = {}, const fs::path& inTheWay = {}) {
  std::string_view message;
  switch (result) {
    case ConvertResult::InputNotOpened: message = text::kInputNotOpened; break;
    case ConvertResult::OutputNotOpened: message = text::kOutputNotOpened; break;
    case ConvertResult::OutputNotWritten: message = text::kOutputNotWritten; break;
    case ConvertResult::InputNotRead: message = text::kInputNotRead; break;
    case ConvertResult::ReadOnly: message = text::kReadOnly; break;
    case ConvertResult::NotText: message = text::kNotText; break;
    case ConvertResult::Converted: return result;
  }
  if (cause || !inTheWay.empty()) sink.NoteCause(cause, inTheWay.native());
  sink.ShowMessage(message, MessageButtons::Ok, MessageIcon::Exclamation);
  return result;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

ConvertResult ConvertFile(const fs::path& folder, const std::string& name, CaseMode mode,
                          const ConvertOptions& options, MessageSink& sink) {
  const fs::path input = folder / name;
  fs::path output = input;
  std::error_code folderError;  // why the subfolder could not be made, if it could not
  if (!options.overwrite && !options.subFolder.empty()) {
    fs::create_directory(folder / options.subFolder, folderError);
    if (folderError.value() == EEXIST) folderError.clear();  // an existing one is fine
    output = folder / options.subFolder / name;
  }

  // A FIFO would block an ordinary open: open without waiting, then insist on
  // a regular file (which reads the same with O_NONBLOCK).
  UniqueFd in(::open(input.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!in) return Fail(sink, ConvertResult::InputNotOpened, Errno(errno));
  struct stat inputStat {};
  if (::fstat(in.get(), &inputStat) != 0) return Fail(sink, ConvertResult::InputNotOpened, Errno(errno));
  if (S_ISDIR(inputStat.st_mode)) return Fail(sink, ConvertResult::InputNotOpened, Errno(EISDIR));
  if (!S_ISREG(inputStat.st_mode)) return Fail(sink, ConvertResult::InputNotOpened);
  if (options.skipBinary) {
    std::string head(kBinaryProbeSize, '\0');
    const long got = ReadFull(in.get(), head.data(), head.size());
    if (got < 0 || ::lseek(in.get(), 0, SEEK_SET) != 0) return Fail(sink, ConvertResult::InputNotRead, Errno(errno));
    head.resize(static_cast<std::size_t>(got));
    if (LooksBinary(head)) return Fail(sink, ConvertResult::NotText);
  }

  // The file the output replaces: the input itself (through its links) or the
  // copy in the subfolder. An empty subfolder name, or one that leads back to
  // the input, would write the input over itself.
  ReplaceTarget target;
  if (!options.overwrite && options.subFolder.empty()) return Fail(sink, ConvertResult::OutputNotOpened);
  if (!ResolveReplaceTarget(output, target)) return Fail(sink, ConvertResult::OutputNotOpened, Errno(errno));
  if (target.exists) {
    if (!options.overwrite && SameFile(target.st, inputStat)) return Fail(sink, ConvertResult::OutputNotOpened);
    if (!S_ISREG(target.st.st_mode)) return Fail(sink, ConvertResult::OutputNotOpened);
    if (!IsWritableFile(target.path, target.st)) {
      return Fail(sink, options.overwrite ? ConvertResult::ReadOnly : ConvertResult::OutputNotOpened);
    }
  }
  // A file that bears the temporary name itself is never written through it.
  if (target.path.filename() == kTempFileName) return Fail(sink, ConvertResult::OutputNotOpened);

  // A copy gets the original's permission bits; a replaced file keeps its own.
  ReplacementFile out;
  if (!out.Create(target, kTempFileName, options.overwrite ? nullptr : &inputStat)) {
    const std::error_code cause = folderError && out.error().value() == ENOENT ? folderError : out.error();
    return Fail(sink, ConvertResult::OutputNotOpened, cause, out.inTheWay());
  }

  TextConvertOptions textOptions;
  textOptions.encoding = options.encoding;
  textOptions.lineEnds = options.lineEnds;
  TextConvertReport report;
  const StreamStatus status = ConvertText(in.get(), out.fd(), mode, textOptions, &report);
  const int error = errno;
  switch (status) {
    case StreamStatus::Ok: break;
    case StreamStatus::ReadFailed: return Fail(sink, ConvertResult::InputNotRead, Errno(error));
    case StreamStatus::WriteFailed: return Fail(sink, ConvertResult::OutputNotWritten, Errno(error));
  }
  in.Reset();
  // Nothing to change: the file is not rewritten, so a second run over a
  // converted folder touches nothing.
  if (options.overwrite && !report.changed) {
    out.Abort();
    return ConvertResult::Converted;
  }
  if (!out.Commit()) return Fail(sink, ConvertResult::OutputNotWritten, out.error(), out.inTheWay());
  return ConvertResult::Converted;
}

}  // namespace zormin
