#pragma once
// Small POSIX file helpers: descriptors that close themselves, whole reads and
// writes that retry on interruption, and a file replaced only once its new
// content is complete.

#include <sys/stat.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace zormin {

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : m_fd(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : m_fd(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Reset(); }

  int get() const { return m_fd; }
  explicit operator bool() const { return m_fd >= 0; }
  int Release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
  }
  void Reset();
  // Closes and tells whether the close succeeded (a delayed write error shows here).
  bool Close();

 private:
  int m_fd = -1;
};

// read(2) until `size` bytes, the end of the file or an error. Returns the
// count read, or -1 on an error.
long ReadFull(int fd, char* data, std::size_t size);

// write(2) all of it; false on any error.
bool WriteFull(int fd, const char* data, std::size_t size);

// Whether the process may change the file: it has a write permission bit and
// the system grants write access. As root every write is allowed, so the bits
// are looked at too.
bool IsWritableFile(const std::filesystem::path& path, const struct stat& st);

// The file whose content a write to `path` changes: `path` itself, or what its
// symbolic links lead to. The file need not exist.
struct ReplaceTarget {
  std::filesystem::path path;
  bool exists = false;
  struct stat st {};
};
bool ResolveReplaceTarget(const std::filesystem::path& path, ReplaceTarget& target);

// New content for a file, written to a temporary file beside it and renamed
// over it only when every write and the close succeeded. A replaced file keeps
// its permission bits and, where the system allows, its owner. Until Commit
// succeeds the old file stays as it was; the destructor removes an
// uncommitted temporary file.
class ReplacementFile {
 public:
  ReplacementFile() = default;
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  ~ReplacementFile() { Abort(); }

  // Creates `tempName` in the folder of the target. Never replaces an existing
  // file of that name: false when it exists or cannot be created.
  bool Create(const ReplaceTarget& target, std::string_view tempName);
  int fd() const { return m_fd.get(); }
  // Closes the temporary file and renames it over the target; on failure the
  // temporary file is removed and the target left alone.
  bool Commit();
  void Abort();

 private:
  ReplaceTarget m_target;
  std::filesystem::path m_tempPath;
  UniqueFd m_fd;
  bool m_pending = false;
};

// Removes the temporary file of a replacement under way, if there is one.
// Safe to call from a signal handler: a program stopped by a signal leaves no
// temporary file behind (one left behind would block the next conversion).
void RemovePendingTempFile();

}  // namespace zormin
