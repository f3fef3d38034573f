#include "folder/name_case.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "convert/tag_scan.h"
#include "folder/utf8.h"

namespace zormin {

namespace fs = std::filesystem;

namespace {

std::string WithName(std::string_view message, std::string_view name) {
  std::string text(message);
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, name);
  return text;
}

// A listed name is a bare name inside the folder: no separator, not the
// folder itself or its parent.
bool IsBareName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

bool Fail(std::error_code& ec, int error) {
  ec.assign(error, std::generic_category());
  return false;
}

// Moves the file at `name` in `folder` to its name in `mode` case. If the
// second step fails, the file goes back to `name`, so the temporary name is
// left free.
bool RenameEntry(const fs::path& folder, const std::string& name, CaseMode mode) {
  if (!IsBareName(name)) return false;
  const fs::path from = folder / name;
  const fs::path temp = folder / kRenameTempName;
  const fs::path to = folder / MapNameCase(name, mode);
  std::error_code ec;
  if (!RenameNoReplace(from, temp, ec)) return false;
  if (RenameNoReplace(temp, to, ec)) return true;
  (void)RenameNoReplace(temp, from, ec);
  return false;
}

}  // namespace

std::string MapNameCase(std::string_view name, CaseMode mode) {
  std::string mapped(name);
  if (IsValidUtf8(name)) {
    for (char& c : mapped) c = MapAsciiCase(c, mode);
    return mapped;
  }
  MultibyteCursor cursor(Charset::ShiftJis);
  for (char& c : mapped) {
    if (!cursor.Consume(static_cast<unsigned char>(c))) c = MapAsciiCase(c, mode);
  }
  return mapped;
}

namespace detail {

bool RenameByLink(const fs::path& from, const fs::path& to, std::error_code& ec) {
  ec.clear();
  if (::link(from.c_str(), to.c_str()) == 0) {
    if (::unlink(from.c_str()) == 0) return true;
    const int error = errno;
    (void)::unlink(to.c_str());
    return Fail(ec, error);
  }
  const int error = errno;
  if (error != EPERM && error != EOPNOTSUPP && error != EMLINK) return Fail(ec, error);
  // No links here (FAT, say): look before renaming. Another process could
  // create the name in between; nothing better is on offer.
  struct stat st {};
  if (::lstat(to.c_str(), &st) == 0) return Fail(ec, EEXIST);
  if (errno != ENOENT) return Fail(ec, errno);
  if (::rename(from.c_str(), to.c_str()) != 0) return Fail(ec, errno);
  return true;
}

}  // namespace detail

bool RenameNoReplace(const fs::path& from, const fs::path& to, std::error_code& ec) {
  ec.clear();
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  const int error = errno;
  // EINVAL: the file system does not take the flag; ENOSYS: nor the kernel.
  if (error == EINVAL || error == ENOSYS) return detail::RenameByLink(from, to, ec);
  return Fail(ec, error);
}

NameCaseOutcome ChangeNameCase(CaseMode mode, const NameCaseOptions& options, FileList& list, MessageSink& sink) {
  sink.BeginFile({});
  if (options.folder.empty()) {
    sink.ShowMessage(text::kNoFolder, MessageButtons::Ok, MessageIcon::Error);
    return NameCaseOutcome::NoFolder;
  }
  if (list.Count() == 0) {
    sink.ShowMessage(text::kNoFiles, MessageButtons::Ok, MessageIcon::Exclamation);
    return NameCaseOutcome::NoFiles;
  }

  const long selected = list.Selected();
  NameCaseOutcome outcome = NameCaseOutcome::Renamed;
  if (!options.allFiles) {
    const std::string name = selected >= 0 ? list.Text(static_cast<std::size_t>(selected)) : std::string();
    if (name.empty()) {
      sink.ShowMessage(text::kNothingSelected, MessageButtons::Ok, MessageIcon::Exclamation);
      outcome = NameCaseOutcome::NothingSelected;
    } else {
      sink.BeginFile(name);
      if (!RenameEntry(options.folder, name, mode)) {
        sink.ShowMessage(WithName(text::kRenameFailed, name), MessageButtons::Ok, MessageIcon::Exclamation);
        outcome = NameCaseOutcome::Failed;
      }
    }
  } else {
    // The count is read on every pass: the list is the window's.
    for (std::size_t index = 0; index < list.Count(); ++index) {
      const std::string name = list.Text(index);
      if (!sink.ContinueRun(index, list.Count(), name)) {
        outcome = NameCaseOutcome::Cancelled;
        break;
      }
      sink.BeginFile(name);
      if (RenameEntry(options.folder, name, mode)) continue;
      outcome = NameCaseOutcome::Failed;
      if (sink.ShowMessage(WithName(text::kRenameFailedStop, name), MessageButtons::YesNo, MessageIcon::Exclamation) ==
          MessageAnswer::Yes) {
        outcome = NameCaseOutcome::Stopped;
        break;
      }
    }
  }

  RefreshFileList(list, options.folder, options.fileType);
  list.Select(selected);
  return outcome;
}

}  // namespace zormin
