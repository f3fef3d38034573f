#include "folder/name_case.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "convert/tag_scan.h"
#include "core/file_io.h"
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

// Whether a rename of `from` to `newName` in `folder` failed because the file
// system folds case and found the file itself under the new name, rather than
// because another file (or another link) bears that name. The same single
// inode under both names tells; where a file system numbers each name looked
// up anew (FUSE does), no entry of the folder bearing the new name exactly does.
bool FoundItself(const fs::path& folder, const fs::path& from, const std::string& newName) {
  struct stat a {}, b {};
  const fs::path to = folder / newName;
  if (::lstat(from.c_str(), &a) != 0 || ::lstat(to.c_str(), &b) != 0) return false;
  if (a.st_dev == b.st_dev && a.st_ino == b.st_ino) return a.st_nlink == 1;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return false;
  bool found = false, whole = true;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (entry == nullptr) {
      whole = errno == 0;
      break;
    }
    if (newName == entry->d_name) {
      found = true;
      break;
    }
  }
  ::closedir(dir);
  return whole && !found;
}

// Moves the file at `name` in `folder` to its name in `mode` case. A name
// already in that case is left alone. Where the file system tells case apart
// this is one rename. Where it folds case, the rename to the new name finds
// the file itself, and the file goes through kRenameTempName: marked with
// its listed name first (where the file system keeps extended attributes),
// so that a run killed in between can be undone, and with the ending
// signals held back, so that no other end leaves it there. If the second
// step fails, the file goes back to `name`.
bool RenameEntry(const fs::path& folder, const std::string& name, CaseMode mode, std::error_code& ec,
                 fs::path& inTheWay) {
  ec.clear();
  if (!IsBareName(name)) return Fail(ec, EINVAL);
  const std::string newName = MapNameCase(name, mode);
  if (newName == name) return true;
  const fs::path from = folder / name;
  const fs::path to = folder / newName;
  if (RenameNoReplace(from, to, ec)) return true;
  if (ec.value() != EEXIST) return false;
  if (!FoundItself(folder, from, newName)) {
    inTheWay = to;
    return false;
  }

  const fs::path temp = folder / kRenameTempName;
  const bool marked = ::lsetxattr(from.c_str(), kRenameMark, name.data(), name.size(), 0) == 0;
  const auto unmark = [marked](const fs::path& path) {
    if (marked) (void)::lremovexattr(path.c_str(), kRenameMark);
  };
  SignalsHeld held;
  if (!RenameNoReplace(from, temp, ec)) {
    if (ec.value() == EEXIST) inTheWay = temp;
    unmark(from);
    return false;
  }
  if (RenameNoReplace(temp, to, ec)) {
    unmark(to);
    return true;
  }
  if (ec.value() == EEXIST) inTheWay = to;
  std::error_code ignored;
  if (RenameNoReplace(temp, from, ignored)) unmark(from);
  return false;
}

// A file that a killed run left under kRenameTempName, marked with its
// listed name, goes back to that name. true when one did.
bool RestoreLeftover(const fs::path& folder) {
  const fs::path temp = folder / kRenameTempName;
  char value[NAME_MAX + 1];
  const ssize_t size = ::lgetxattr(temp.c_str(), kRenameMark, value, sizeof value);
  if (size <= 0) return false;
  const std::string name(value, static_cast<std::size_t>(size));
  if (!IsBareName(name) || name == kRenameTempName) return false;
  std::error_code ec;
  if (!RenameNoReplace(temp, folder / name, ec)) return false;
  (void)::lremovexattr((folder / name).c_str(), kRenameMark);
  return true;
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
  const long selected = list.Selected();
  // A file hidden by a killed run is back in the list before the run starts.
  if (RestoreLeftover(options.folder) && options.allFiles) {
    RefreshFileList(list, options.folder, options.fileType);
    list.Select(selected);
  }
  if (list.Count() == 0) {
    sink.ShowMessage(text::kNoFiles, MessageButtons::Ok, MessageIcon::Exclamation);
    return NameCaseOutcome::NoFiles;
  }

  NameCaseOutcome outcome = NameCaseOutcome::Renamed;
  std::error_code ec;
  fs::path inTheWay;
  const auto tellCause = [&] {
    sink.NoteCause(ec, inTheWay.native());
    inTheWay.clear();
  };
  if (!options.allFiles) {
    const std::string name = selected >= 0 ? list.Text(static_cast<std::size_t>(selected)) : std::string();
    if (name.empty()) {
      sink.ShowMessage(text::kNothingSelected, MessageButtons::Ok, MessageIcon::Exclamation);
      outcome = NameCaseOutcome::NothingSelected;
    } else {
      sink.BeginFile(name);
      if (!RenameEntry(options.folder, name, mode, ec, inTheWay)) {
        tellCause();
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
      if (RenameEntry(options.folder, name, mode, ec, inTheWay)) continue;
      outcome = NameCaseOutcome::Failed;
      tellCause();
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
