#pragma once
// The file-name case change: the selected file, or every listed file, renamed
// so that its whole name is upper or lower case.

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "core/case_mode.h"
#include "core/message.h"
#include "folder/file_list.h"
#include "core/texts.h"

namespace zormin {

// On a file system that folds case, a file is renamed through this name, so
// that a change of case alone is a real rename.
inline constexpr std::string_view kRenameTempName = "pelvad_temp_name.tmp";
// The extended attribute that holds the listed name of a file while it bears
// kRenameTempName.
inline constexpr const char* kRenameMark = "user.zormin.name";

struct NameCaseOptions {
  std::filesystem::path folder;    // the selected folder; empty: none yet
  std::string fileType{kDefaultFileType};  // the list is rebuilt with it at the end
  bool allFiles = false;           // false: the selected entry only
};

// How a change ended. Only Renamed means that every file asked for got its
// new name; every other outcome has shown a message saying why not.
enum class NameCaseOutcome {
  Renamed,
  NoFolder,         // no folder selected
  NoFiles,          // the list is empty
  NothingSelected,  // selected-entry mode with no entry selected
  Failed,           // some file kept its name (and the run went on, if asked)
  Stopped,          // some file kept its name and the run was stopped
  Cancelled,        // stopped between two files at the user's request
};

// The new name of a file: ASCII letters mapped, every other byte kept. A name
// that is valid UTF-8 has no other letters to map; any other name is read as
// Shift_JIS, whose second bytes of double-byte characters can look like
// ASCII letters and are kept too.
std::string MapNameCase(std::string_view name, CaseMode mode);

// Renames `from` to `to` unless something named `to` exists already: never
// replaces a file. On a file system that cannot refuse to replace in the
// rename itself, the file is linked under the new name and the old name is
// removed; where there are no links either, the new name is looked up first.
bool RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec);

namespace detail {
// The fallback of RenameNoReplace, on its own so it can be tried anywhere.
bool RenameByLink(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec);
}  // namespace detail

// Renames the selected entry of `list`, or every entry, to `mode` case; by
// way of kRenameTempName only where the file system folds case. A file that
// cannot take its new name keeps its listed name, and no file is ever left
// under the temporary name but by a kill; a file so left (and marked) gets its
// listed name back first. Afterwards the list is rebuilt and the entry at the
// position selected before is selected again (none if there is none there).
NameCaseOutcome ChangeNameCase(CaseMode mode, const NameCaseOptions& options, FileList& list, MessageSink& sink);

}  // namespace zormin
