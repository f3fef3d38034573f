#pragma once
// Small POSIX file helpers: descriptors that close themselves, whole reads and
// writes that retry on interruption, and a file replaced only once its new
// content is complete.

#include <signal.h>
#include <sys/stat.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

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
// symbolic links lead to. The file need not exist. On failure errno says why.
struct ReplaceTarget {
  std::filesystem::path path;
  bool exists = false;
  struct stat st {};
};
bool ResolveReplaceTarget(const std::filesystem::path& path, ReplaceTarget& target);

// The extended attribute that marks a temporary file as ours, so that one
// left behind by a crash can be told from a user's file of the same name.
inline constexpr const char* kTempFileMark = "user.zormin.temp";

// Whether the file at `path` (not followed if a link) bears kTempFileMark.
bool IsMarkedTempFile(const std::filesystem::path& path);

// Holds back the signals that end a program from the terminal or by request
// (SIGINT, SIGTERM, SIGHUP, SIGQUIT) for the life of the object, so that a
// few steps that belong together are done before the program ends.
class SignalsHeld {
 public:
  SignalsHeld();
  ~SignalsHeld();
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t m_old;
};

// New content for a file, written to a temporary file beside it and renamed
// over it only when every write and the close succeeded. Until Commit
// succeeds the old file stays as it was; the destructor drops an uncommitted
// temporary file.
//
// The temporary file is unnamed while it is written (O_TMPFILE) and gets the
// temporary name only for the moment between being linked and being renamed
// over the target, so a crash leaves nothing behind. A file system without
// unnamed files gets a named one, created anew with no access for others.
// Either way the file bears kTempFileMark where the file system stores
// extended attributes: a marked leftover is removed by the next Create, any
// other file of that name is left alone and makes Create fail.
class ReplacementFile {
 public:
  ReplacementFile() = default;
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  ~ReplacementFile() { Abort(); }

  // Creates the temporary file for `target`, named `tempName` in its folder.
  // Its permissions: a replaced file's exactly, owner and group included
  // (set in Commit); a copy of `copyOf`, that file's permission bits less the
  // umask, as cp gives them; otherwise a new file's default.
  bool Create(const ReplaceTarget& target, std::string_view tempName, const struct stat* copyOf = nullptr);
  int fd() const { return m_fd.get(); }
  // Gives the file its permissions, closes it and renames it over the target.
  // Permissions that cannot be set exactly abandon the replacement: the
  // target stays as it was and the temporary file goes.
  bool Commit();
  void Abort();

  // Why Create or Commit failed, and the file in the way when a file that is
  // not ours bears the temporary name.
  const std::error_code& error() const { return m_error; }
  const std::filesystem::path& inTheWay() const { return m_inTheWay; }

 private:
  bool Fail(int error);
  bool SetOwnerAndMode();
  bool Link();

  ReplaceTarget m_target;
  std::filesystem::path m_tempPath;
  UniqueFd m_fd;
  bool m_unnamed = false;  // O_TMPFILE: nothing to remove until it is linked
  bool m_pending = false;  // a file under m_tempPath is ours to remove
  bool m_keepOwnerAndMode = false;
  std::error_code m_error;
  std::filesystem::path m_inTheWay;
};

// Removes the temporary file of a replacement under way, if there is one.
// Safe to call from a signal handler: a program stopped by a signal leaves no
// temporary file behind (one left behind would block the next conversion).
void RemovePendingTempFile();

}  // namespace zormin
