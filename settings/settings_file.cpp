#include "settings/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/file_io.h"

namespace zormin {

namespace fs = std::filesystem;

SettingsFile::SettingsFile() {
  std::error_code ec;
  const fs::path directory = fs::current_path(ec);
  if (!ec) m_path = directory / kSettingsFileName;
}

SettingsFile::SettingsFile(const fs::path& directory) : m_path(directory / kSettingsFileName) {}

std::optional<std::string> SettingsFile::Read() const {
  if (m_path.empty()) return std::nullopt;
  // Not blocking on a FIFO, and insisting on a regular file, keeps a strange
  // "settings file" from hanging the start.
  UniqueFd fd(::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat st {};
  if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;

  std::string line;
  char buffer[4096];
  for (;;) {
    const long n = ReadFull(fd.get(), buffer, sizeof buffer);
    if (n < 0) return std::nullopt;
    const std::string_view piece(buffer, static_cast<std::size_t>(n));
    const std::size_t end = piece.find('\n');
    line.append(piece.substr(0, end));
    if (end != std::string_view::npos) {
      if (line.ends_with('\r')) line.pop_back();  // CR LF is a line end; a CR alone is text
      break;
    }
    if (n == 0 || line.size() > kMaxLine) break;
  }
  // A cut or broken path would name another folder: better none.
  if (line.size() > kMaxLine || line.find('\0') != std::string::npos) return std::string();
  return line;
}

void SettingsFile::Write(std::string_view folder) const {
  if (m_path.empty()) return;
  ReplaceTarget target;
  if (!ResolveReplaceTarget(m_path, target)) return;
  if (target.exists && (!S_ISREG(target.st.st_mode) || !IsWritableFile(target.path, target.st))) return;
  std::string content(folder);
  content.append("\r\n");
  ReplacementFile file;
  const std::string tempName = std::string(kSettingsFileName) + "." + std::to_string(::getpid()) + ".tmp";
  if (!file.Create(target, tempName)) return;
  if (!WriteFull(file.fd(), content.data(), content.size())) return;  // the destructor removes the temporary file
  (void)file.Commit();
}

}  // namespace zormin
