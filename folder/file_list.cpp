#include "folder/file_list.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "convert/convert_file.h"
#include "core/file_io.h"
#include "folder/utf8.h"

namespace zormin {

namespace {

unsigned char FoldCase(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

// One character of a name: a UTF-8 sequence, or else a single byte.
std::size_t CharStep(std::string_view name, std::size_t at) {
  const std::size_t length = Utf8CharLength(name, at);
  return length == 0 ? 1 : length;
}

bool MatchWildcards(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  // Where the last '*' was seen, and where in the name it stopped taking
  // characters: on a mismatch it takes one more and the match resumes.
  std::size_t starPattern = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starPattern = ++p;
      starName = n;
    } else if (p < pattern.size() && pattern[p] == '?') {
      ++p;
      n += CharStep(name, n);
    } else if (p < pattern.size() && FoldCase(pattern[p]) == FoldCase(name[n])) {
      ++p;
      ++n;
    } else if (starPattern != std::string_view::npos) {
      starName += CharStep(name, starName);
      p = starPattern;
      n = starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// Whether a directory entry is a file the list holds. The type stored in the
// directory saves a stat for ordinary files and directories; links, and file
// systems that store no type, are looked up (a link is followed).
bool IsListedFile(int folderFd, const dirent& entry) {
  switch (entry.d_type) {
    case DT_REG: return true;
    case DT_LNK:
    case DT_UNKNOWN: {
      struct stat st {};
      return ::fstatat(folderFd, entry.d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
    }
    default: return false;
  }
}

}  // namespace

void VectorFileList::Clear() {
  m_names.clear();
  m_selected = -1;
}

void VectorFileList::Add(std::string name) { m_names.push_back(std::move(name)); }

std::string VectorFileList::Text(std::size_t index) const {
  return index < m_names.size() ? m_names[index] : std::string();
}

void VectorFileList::Select(long index) {
  m_selected = (index >= 0 && static_cast<std::size_t>(index) < m_names.size()) ? index : -1;
}

bool MatchFileType(std::string_view pattern, std::string_view name) {
  if (MatchWildcards(pattern, name)) return true;
  return pattern.ends_with(".*") && MatchWildcards(pattern.substr(0, pattern.size() - 2), name);
}

bool FileNameLess(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const unsigned char x = FoldCase(a[i]), y = FoldCase(b[i]);
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;  // the same but for case: by bytes, so the order is total
}

FileListResult RefreshFileList(FileList& list, const std::filesystem::path& folder, std::string_view pattern) {
  list.Clear();
  if (folder.empty()) return {ListStatus::NoFolder, {}};
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return {ListStatus::NotOpened, std::error_code(errno, std::generic_category())};
  const int folderFd = ::dirfd(dir);
  std::vector<std::string> names;
  FileListResult result;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (entry == nullptr) {
      if (errno != 0) result = {ListStatus::CutShort, std::error_code(errno, std::generic_category())};
      break;
    }
    const std::string_view name(entry->d_name);
    if (!MatchFileType(pattern, name) || !IsListedFile(folderFd, *entry)) continue;
    // A temporary file that a killed conversion left is no file of the user's;
    // the next conversion in the folder removes it.
    if (name == kTempFileName && IsMarkedTempFile(folder / name)) continue;
    names.emplace_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return FileNameLess(a, b); });
  for (std::string& name : names) list.Add(std::move(name));
  return result;
}

}  // namespace zormin
