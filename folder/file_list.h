#pragma once
// The list of files a command works on: the names of the files of one folder
// that match a file type, in a fixed order, with at most one entry selected.
// The window keeps it in its list box; the command line and the tests keep it
// in a vector.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace zormin {

class FileList {
 public:
  virtual ~FileList() = default;
  // Removes every entry; nothing is selected afterwards.
  virtual void Clear() = 0;
  // Appends an entry. The entries come already sorted (RefreshFileList sorts).
  virtual void Add(std::string name) = 0;
  virtual std::size_t Count() const = 0;
  // The entry at `index`; empty when there is none.
  virtual std::string Text(std::size_t index) const = 0;
  // The selected index, or -1 when nothing is selected.
  virtual long Selected() const = 0;
  // Selects `index`; -1, or an index past the end, selects nothing.
  virtual void Select(long index) = 0;
};

class VectorFileList : public FileList {
 public:
  void Clear() override;
  void Add(std::string name) override;
  std::size_t Count() const override { return m_names.size(); }
  std::string Text(std::size_t index) const override;
  long Selected() const override { return m_selected; }
  void Select(long index) override;

  const std::vector<std::string>& names() const { return m_names; }

 private:
  std::vector<std::string> m_names;
  long m_selected = -1;
};

// Whether `name` matches the file type `pattern`: '*' stands for any run of
// characters, '?' for exactly one (a UTF-8 sequence counts as one character,
// any other byte as one), and letters match in either case (ASCII only).
// A pattern that ends in ".*" also matches the name without a dot there, so
// "*.*" matches every name, names without a dot included.
bool MatchFileType(std::string_view pattern, std::string_view name);

// The order of the list: letters compared without regard to case (ASCII only),
// names that differ only in case ordered by their bytes.
bool FileNameLess(std::string_view a, std::string_view b);

// How reading the folder went.
enum class ListStatus {
  Complete,   // every entry of the folder was looked at
  NoFolder,   // no folder given: the list stays empty
  NotOpened,  // the folder cannot be read (missing, not a folder, no access)
  CutShort,   // an error ended the reading: the list holds what was read
};

struct FileListResult {
  ListStatus status = ListStatus::Complete;
  std::error_code error;  // why NotOpened or CutShort
  explicit operator bool() const { return status == ListStatus::Complete; }
};

// Rebuilds `list` from the files of `folder` that match `pattern`, sorted by
// FileNameLess; nothing is selected afterwards. An empty `folder` leaves the
// list empty. Listed are regular files and symbolic links to regular files,
// hidden ones too; never directories or links to them, FIFOs, devices,
// sockets or links that lead nowhere, since no command can work on those;
// nor a temporary file of a conversion that was killed (it bears our mark).
// The result tells a complete list from one that an error cut short; the
// list holds whatever was read either way.
FileListResult RefreshFileList(FileList& list, const std::filesystem::path& folder, std::string_view pattern);

}  // namespace zormin
