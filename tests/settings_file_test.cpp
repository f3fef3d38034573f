// The settings file: where it lives, what is read back, and that a write
// never damages what is there.

#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <string>

#include "test_util.h"

namespace zormin {
namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public testing::TempDirTest {
 protected:
  fs::path File() const { return dir() / "ZORMIN.INI"; }
};

TEST(SettingsFilePath, FixedInTheWorkingDirectoryAtConstruction) {
  EXPECT_EQ(SettingsFile().path(), fs::current_path() / "ZORMIN.INI");
}

TEST_F(SettingsFileTest, WrittenWithCrLfAndReadBackWhole) {
  const std::string folders[] = {
      "/home/user/web",
      "/srv/100%/%s%d",  // '%' is an ordinary character
      "/" + std::string(300, 'd') + "/\xE6\x97\xA5\xE6\x9C\xAC",  // past 255 bytes, not cut
      "",  // no folder selected: a file holding a line end
  };
  const SettingsFile settings(dir());
  for (const std::string& folder : folders) {
    SCOPED_TRACE(folder);
    settings.Write(folder);
    EXPECT_EQ(testing::ReadFileBytes(File()), folder + "\r\n");
    EXPECT_EQ(settings.Read(), folder);
  }
  // No temporary file left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir()), fs::directory_iterator()), 1);
}

TEST_F(SettingsFileTest, ReadsTheFirstLine) {
  struct Row {
    const char* what;
    std::string content;
    std::string folder;
  };
  const Row rows[] = {
      {"CR LF", "/a/b\r\nsecond\r\n", "/a/b"},
      {"LF", "/a/b\n", "/a/b"},
      {"no line end", "/a/b", "/a/b"},
      {"a CR alone is text", "/a\rb\r\n", "/a\rb"},
      {"empty file", "", ""},
      {"long line", std::string(5000, 'x') + "\r\n", std::string(5000, 'x')},
      {"NUL in the line", std::string("/a\0b\r\n", 6), ""},
  };
  const SettingsFile settings(dir());
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    testing::WriteFileBytes(File(), row.content);
    EXPECT_EQ(settings.Read(), row.folder);
  }
}

TEST_F(SettingsFileTest, MissingOrUnopenableFileReadsAsNothing) {
  EXPECT_EQ(SettingsFile(dir()).Read(), std::nullopt);
  fs::create_directory(File());
  EXPECT_EQ(SettingsFile(dir()).Read(), std::nullopt);
  SettingsFile(dir()).Write("/x");  // a directory is not replaced either
  EXPECT_TRUE(fs::is_directory(File()));
}

TEST_F(SettingsFileTest, ReadOnlyFileStaysAsItWas) {
  testing::WriteFileBytes(File(), "/old\r\n");
  fs::permissions(File(), fs::perms::owner_read);
  SettingsFile(dir()).Write("/new");
  EXPECT_EQ(testing::ReadFileBytes(File()), "/old\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir()), fs::directory_iterator()), 1);
}

// A folder that refuses new files (here a read-only mount, which holds for
// root too): nothing written, no message, the old file intact.
TEST_F(SettingsFileTest, ReadOnlyFolderStaysAsItWas) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root for a read-only bind mount";
  testing::WriteFileBytes(File(), "/old\r\n");
  if (mount(dir().c_str(), dir().c_str(), nullptr, MS_BIND, nullptr) != 0 ||
      mount(nullptr, dir().c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
    umount(dir().c_str());
    GTEST_SKIP() << "cannot make a read-only bind mount here";
  }
  SettingsFile(dir()).Write("/new");
  const std::string after = testing::ReadFileBytes(File());
  umount(dir().c_str());
  EXPECT_EQ(after, "/old\r\n");
}

}  // namespace
}  // namespace zormin
