#include "core/file_io.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace zormin {

namespace fs = std::filesystem;

namespace {
// The path of the temporary file being written, for RemovePendingTempFile.
// Empty (first byte NUL) when none is. Too long a path is not kept; it only
// means a signal may leave that file behind.
char g_pendingTemp[4096];
volatile sig_atomic_t g_hasPendingTemp = 0;

void SetPendingTemp(const fs::path& path) {
  g_hasPendingTemp = 0;
  const std::string& text = path.native();
  if (text.size() >= sizeof g_pendingTemp) return;
  std::memcpy(g_pendingTemp, text.c_str(), text.size() + 1);
  g_hasPendingTemp = 1;
}
}  // namespace

void RemovePendingTempFile() {
  if (g_hasPendingTemp != 0) ::unlink(g_pendingTemp);
  g_hasPendingTemp = 0;
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    Reset();
    m_fd = other.Release();
  }
  return *this;
}

void UniqueFd::Reset() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
}

bool UniqueFd::Close() {
  if (m_fd < 0) return true;
  const int rc = ::close(Release());
  // After EINTR the descriptor is gone on Linux; the write may not be whole.
  return rc == 0;
}

long ReadFull(int fd, char* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::read(fd, data + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<long>(done);
}

bool WriteFull(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool IsWritableFile(const fs::path& path, const struct stat& st) {
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
  // A read-only file system is the folder's matter, not the file's.
  return ::access(path.c_str(), W_OK) == 0 || errno == EROFS;
}

bool ResolveReplaceTarget(const fs::path& path, ReplaceTarget& target) {
  std::error_code ec;
  target = ReplaceTarget{};
  target.path = path;
  const fs::file_status link = fs::symlink_status(path, ec);
  if (ec && link.type() != fs::file_type::not_found) {
    errno = ec.value();
    return false;
  }
  if (link.type() == fs::file_type::symlink) {
    target.path = fs::canonical(path, ec);  // a dangling link fails here
    if (ec) {
      errno = ec.value();
      return false;
    }
  }
  if (::stat(target.path.c_str(), &target.st) == 0) {
    target.exists = true;
  } else if (errno != ENOENT) {
    return false;
  }
  return true;
}

bool IsMarkedTempFile(const fs::path& path) {
  char value[1];
  return ::lgetxattr(path.c_str(), kTempFileMark, value, 0) >= 0;
}

SignalsHeld::SignalsHeld() {
  sigset_t held;
  sigemptyset(&held);
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&held, signal);
  pthread_sigmask(SIG_BLOCK, &held, &m_old);
}

SignalsHeld::~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &m_old, nullptr); }

namespace {

// Clears the way for a temporary file at `path`: a leftover of ours goes, a
// file of anyone else stays and is reported. false with errno set when the
// way is not clear.
bool ClearLeftover(const fs::path& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT;
  if (S_ISREG(st.st_mode) && IsMarkedTempFile(path) && (::unlink(path.c_str()) == 0 || errno == ENOENT)) return true;
  errno = EEXIST;
  return false;
}

}  // namespace

bool ReplacementFile::Fail(int error) {
  m_error.assign(error, std::generic_category());
  Abort();
  return false;
}

bool ReplacementFile::Create(const ReplaceTarget& target, std::string_view tempName, const struct stat* copyOf) {
  Abort();
  m_target = target;
  m_error.clear();
  m_inTheWay.clear();
  const fs::path folder = target.path.parent_path().empty() ? fs::path(".") : target.path.parent_path();
  m_tempPath = folder / fs::path(std::string(tempName));
  if (!ClearLeftover(m_tempPath)) {
    const int error = errno;
    if (error == EEXIST) m_inTheWay = m_tempPath;
    return Fail(error);
  }

  // A replaced file is written with no access for others until Commit gives
  // it its own permissions. A copy may be read by whoever may read the
  // original, and the system takes the umask off as for any new file.
  m_keepOwnerAndMode = target.exists && copyOf == nullptr;
  const mode_t mode = m_keepOwnerAndMode ? 0600 : copyOf != nullptr ? (copyOf->st_mode & 0777) : 0666;
  int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
  if (fd >= 0) {
    m_unnamed = true;
  } else if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) {
    // No unnamed files here. The path is recorded before a signal can end
    // the program, so that its handler can remove the file.
    SignalsHeld held;
    fd = ::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
      const int error = errno;
      if (error == EEXIST) m_inTheWay = m_tempPath;
      return Fail(error);
    }
    m_pending = true;
    SetPendingTemp(m_tempPath);
  } else {
    return Fail(errno);
  }
  m_fd = UniqueFd(fd);
  // Without a mark (a file system with no extended attributes) a leftover
  // cannot be told from a user's file; the conversion goes on all the same.
  const std::string marked = target.path.filename().string();
  (void)::fsetxattr(fd, kTempFileMark, marked.data(), marked.size(), 0);
  return true;
}

bool ReplacementFile::SetOwnerAndMode() {
  if (!m_keepOwnerAndMode) return true;
  struct stat own {};
  if (::fstat(m_fd.get(), &own) != 0) return Fail(errno);
  const struct stat& st = m_target.st;
  // The owner first, as a change of owner clears the set-id bits. Root and
  // the file's owner can keep owner and group, and must. Anyone else who may
  // write the file makes it theirs; its group is kept where that is allowed,
  // and where it is not, only if the group may do no more than everyone.
  if (own.st_uid != st.st_uid || own.st_gid != st.st_gid) {
    const uid_t me = ::geteuid();
    if (me == 0 || me == st.st_uid) {
      if (::fchown(m_fd.get(), st.st_uid, st.st_gid) != 0) return Fail(errno);
    } else if (own.st_gid != st.st_gid && ::fchown(m_fd.get(), static_cast<uid_t>(-1), st.st_gid) != 0) {
      const int error = errno;
      const mode_t group = (st.st_mode >> 3) & 7, others = st.st_mode & 7;
      if ((group & ~others) != 0) return Fail(error);
    }
  }
  const mode_t wanted = st.st_mode & 07777;
  if ((own.st_mode & 07777) != wanted || own.st_uid != st.st_uid || own.st_gid != st.st_gid) {
    if (::fchmod(m_fd.get(), wanted) != 0) return Fail(errno);
    // The system may drop a set-group-id bit without an error; a file system
    // may store no modes at all. Either way the mode is not the original's.
    if (::fstat(m_fd.get(), &own) != 0) return Fail(errno);
    if ((own.st_mode & 07777) != wanted) return Fail(EPERM);
  }
  return true;
}

// Gives the unnamed file its temporary name. linkat with AT_EMPTY_PATH may
// need a privilege; the descriptor's entry under /proc does not.
bool ReplacementFile::Link() {
  if (::linkat(m_fd.get(), "", AT_FDCWD, m_tempPath.c_str(), AT_EMPTY_PATH) == 0) return true;
  if (errno != ENOENT && errno != EPERM) return false;
  const std::string self = "/proc/self/fd/" + std::to_string(m_fd.get());
  return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, m_tempPath.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

bool ReplacementFile::Commit() {
  if (!m_fd && !m_pending) return false;
  if (!SetOwnerAndMode()) return false;
  // From the link to the rename the file has a name; a signal waits until
  // the name is gone again one way or the other.
  SignalsHeld held;
  if (m_unnamed) {
    if (!Link()) {
      const int error = errno;
      if (error == EEXIST) m_inTheWay = m_tempPath;
      return Fail(error);
    }
    m_pending = true;
  }
  if (!m_fd.Close()) return Fail(errno);
  if (::rename(m_tempPath.c_str(), m_target.path.c_str()) != 0) return Fail(errno);
  g_hasPendingTemp = 0;
  m_pending = false;
  m_unnamed = false;
  return true;
}

void ReplacementFile::Abort() {
  m_fd.Reset();
  if (m_pending) {
    g_hasPendingTemp = 0;
    ::unlink(m_tempPath.c_str());
  }
  m_pending = false;
  m_unnamed = false;
}

}  // namespace zormin
