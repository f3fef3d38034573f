#pragma once
// The settings file: one line, the folder selected last, in "ZORMIN.INI" in
// the working directory the program was started in.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zormin {

inline constexpr std::string_view kSettingsFileName = "ZORMIN.INI";

class SettingsFile {
 public:
  // In the current working directory. Later changes of the working directory
  // do not move the file. If the working directory cannot be found out,
  // there is no settings file: Read finds nothing and Write does nothing.
  SettingsFile();
  // In `directory`.
  explicit SettingsFile(const std::filesystem::path& directory);

  const std::filesystem::path& path() const { return m_path; }

  // The whole first line (a CR LF line end read as LF and dropped), or an
  // empty folder when the file is empty or its first line cannot be a path
  // (it holds a NUL byte, or is longer than kMaxLine). nullopt when the file
  // cannot be opened or read.
  std::optional<std::string> Read() const;

  // Replaces the file with `folder` and a CR LF line end. The old file is
  // replaced only by a whole new one; a read-only file, or one that cannot be
  // replaced, stays as it was. Failure is silent.
  void Write(std::string_view folder) const;

  static constexpr std::size_t kMaxLine = 64 * 1024;

 private:
  std::filesystem::path m_path;
};

}  // namespace zormin
