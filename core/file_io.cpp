#include "core/file_io.h"

#include <fcntl.h>
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
  if (ec && link.type() != fs::file_type::not_found) return false;
  if (link.type() == fs::file_type::symlink) {
    target.path = fs::canonical(path, ec);  // a dangling link fails here
    if (ec) return false;
  }
  if (::stat(target.path.c_str(), &target.st) == 0) {
    target.exists = true;
  } else if (errno != ENOENT) {
    return false;
  }
  return true;
}

bool ReplacementFile::Create(const ReplaceTarget& target, std::string_view tempName) {
  Abort();
  m_target = target;
  m_tempPath = target.path.parent_path() / fs::path(std::string(tempName));
  const int fd = ::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  m_fd = UniqueFd(fd);
  m_pending = true;
  SetPendingTemp(m_tempPath);
  return true;
}

bool ReplacementFile::Commit() {
  if (!m_pending) return false;
  struct stat own {};
  if (m_target.exists && ::fstat(m_fd.get(), &own) == 0) {
    const struct stat& st = m_target.st;
    // Keep the owner where allowed (an ordinary user cannot give a file away),
    // then the mode, as a change of owner clears the set-id bits. A file system
    // that stores neither (FAT) refuses both; that is no reason to fail.
    const bool ownerDiffers = own.st_uid != st.st_uid || own.st_gid != st.st_gid;
    if (ownerDiffers) {
      if (::fchown(m_fd.get(), st.st_uid, st.st_gid) != 0) {
        (void)::fchown(m_fd.get(), static_cast<uid_t>(-1), st.st_gid);
      }
    }
    if (ownerDiffers || (own.st_mode & 07777) != (st.st_mode & 07777)) (void)::fchmod(m_fd.get(), st.st_mode & 07777);
  }
  const bool ok = m_fd.Close() && ::rename(m_tempPath.c_str(), m_target.path.c_str()) == 0;
  if (!ok) {
    Abort();
    return false;
  }
  g_hasPendingTemp = 0;
  m_pending = false;
  return true;
}

void ReplacementFile::Abort() {
  m_fd.Reset();
  if (m_pending) {
    g_hasPendingTemp = 0;
    ::unlink(m_tempPath.c_str());
  }
  m_pending = false;
}

}  // namespace zormin
