#pragma once
// The fixture of the window's tests: a folder "web" to work on and a folder
// "settings" for the settings file, in a temporary folder. The window moves
// the working directory; it is put back afterwards.

#include <filesystem>
#include <string>
#include <string_view>

#include "settings/settings_file.h"
#include "test_util.h"

namespace zormin::testing {

class WindowFolderTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    m_oldCwd = fs::current_path();
    fs::create_directory(dir() / "settings");
    fs::create_directory(dir() / "web");
    web = (dir() / "web").string();
  }
  void TearDown() override {
    fs::current_path(m_oldCwd);
    TempDirTest::TearDown();
  }
  SettingsFile Settings() const { return SettingsFile(dir() / "settings"); }
  void Touch(const std::string& name, std::string_view text = "<P>x</P>\r\n") const {
    WriteFileBytes(dir() / "web" / name, text);
  }
  std::string Read(const std::string& name) const { return ReadFileBytes(dir() / "web" / name); }
  const fs::path& oldCwd() const { return m_oldCwd; }

  std::string web;  // the folder to work on

 private:
  fs::path m_oldCwd;
};

}  // namespace zormin::testing
